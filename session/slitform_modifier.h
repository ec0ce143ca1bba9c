// A new Slitform modifier from a loaded plug-in library.
#pragma once

#include "object.h"
#include "session/plugin_library.h"

// nullptr when the library offers no Slitform modifier.
Modifier* NewSlitformModifier(const PluginLibrary& lib);
