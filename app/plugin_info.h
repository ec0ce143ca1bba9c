// What a loaded plug-in offers, as text: its description, classes and
// parameters with defaults and ranges.
#pragma once

#include <iosfwd>

#include "app/plugin_loader.h"

void PrintPluginInfo(const PluginLibrary& lib, std::ostream& out);
