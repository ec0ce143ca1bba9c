// Where the library finds the Slitform plug-in.
#pragma once

#include <string>

namespace slitform {

// Takes the path a caller gave (kept when not empty) and gives the plug-in to
// load: $SLITFORM_PLUGIN_DIR/Slitform.dlm when set, else the build tree's beside
// the file this library lives in, else the installed one.
std::string PluginPath(const std::string& given);

}  // namespace slitform
