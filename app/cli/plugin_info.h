// What a loaded plug-in offers, as text: its description, classes and
// parameters with defaults, ranges and what each does.
#pragma once

#include <iosfwd>

#include "session/plugin_library.h"

void PrintPluginInfo(const PluginLibrary& lib, std::ostream& out);
