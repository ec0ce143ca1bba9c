// Where the library finds the Slitform plug-in.
#pragma once

#include <string>

namespace slitform {

// Takes the path a caller gave (kept when not empty) and gives the plug-in to
// load: $SLITFORM_PLUGIN_DIR/Slitform.dlm when set, else the build tree's beside
// the file this library lives in, else the one installed with the Python module
// holding it, else the one installed under the configured prefix.
std::string PluginPath(const std::string& given);

}  // namespace slitform
