// What each of the modifier's parameters does, in words for the command line and
// the window's tooltips.
#pragma once

#include <string>

// The sentence for the parameter with this internal name, with the meaning of
// each value where the values are choices; empty for a name it does not know.
std::string ParameterHelp(const std::string& name);
