#include "api/plugin_path.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>

namespace slitform {

std::string PluginPath(const std::string& given) {
    if (!given.empty())
        return given;
    if (const char* dir = std::getenv("SLITFORM_PLUGIN_DIR"))
        return std::string(dir) + "/Slitform.dlm";
    // The file holding this code: the Python module, or a program linking us.
    Dl_info info{};
    std::string here = ".";
    if (dladdr(reinterpret_cast<void*>(&PluginPath), &info) && info.dli_fname) {
        std::string file = info.dli_fname;
        std::string::size_type slash = file.rfind('/');
        if (slash != std::string::npos)
            here = file.substr(0, slash);
    }
    std::string built = here + "/../plugins/Slitform.dlm";
    if (access(built.c_str(), F_OK) == 0)
        return built;
    // The installed shared library, under any prefix.
    std::string besideLibrary = here + "/slitform/plugins/Slitform.dlm";
    if (access(besideLibrary.c_str(), F_OK) == 0)
        return besideLibrary;
#ifdef SLITFORM_PLUGIN_FROM_PYTHON
    std::string besideModule = here + "/" SLITFORM_PLUGIN_FROM_PYTHON;
    if (access(besideModule.c_str(), F_OK) == 0)
        return besideModule;
#endif
    return SLITFORM_INSTALLED_PLUGIN;
}

}  // namespace slitform
