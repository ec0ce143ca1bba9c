// Loads the Slitform plug-in as the host does and prints what it offers: its
// description, its modifier class and the parameters with defaults and ranges.
//   plugin_info [PLUGIN_FILE]
#include "app/cli/plugin_info.h"

#include <iostream>
#include <string>

#include "session/plugin_library.h"

int main(int argc, char** argv) {
    std::string path = argc > 1 ? argv[1] : DefaultPluginPath();
    PluginLibrary lib;
    std::string error;
    if (!lib.Load(path, error)) {
        std::cerr << "plugin_info: " << error << "\n";
        return 1;
    }
    PrintPluginInfo(lib, std::cout);
    return 0;
}
