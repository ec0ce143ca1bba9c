#include "session/plugin_library.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "resources.h"

PluginLibrary::~PluginLibrary() {
    Unload();
}

void* PluginLibrary::Symbol(const char* name) const {
    return handle ? dlsym(handle, name) : nullptr;
}

bool PluginLibrary::Load(const std::string& file, std::string& error) {
    Unload();
    path = file;
    handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = "cannot load plug-in " + file + ": " + (why ? why : "unknown error");
        return false;
    }
    auto version = reinterpret_cast<LibVersionFn>(Symbol("LibVersion"));
    auto numberClasses = reinterpret_cast<LibNumberClassesFn>(Symbol("LibNumberClasses"));
    auto describe = reinterpret_cast<LibDescriptionFn>(Symbol("LibDescription"));
    auto classDesc = reinterpret_cast<LibClassDescFn>(Symbol("LibClassDesc"));
    auto initialize = reinterpret_cast<LibInitializeFn>(Symbol("LibInitialize"));
    shutdown = reinterpret_cast<LibShutdownFn>(Symbol("LibShutdown"));
    const char* missing = !version         ? "LibVersion"
                          : !numberClasses ? "LibNumberClasses"
                          : !describe      ? "LibDescription"
                          : !classDesc     ? "LibClassDesc"
                          : !initialize    ? "LibInitialize"
                          : !shutdown      ? "LibShutdown"
                                           : nullptr;
    if (missing) {
        error = "plug-in " + file + " has no entry point " + missing;
        shutdown = nullptr;
        Unload();
        return false;
    }
    ULONG v = version();
    if (v != HOST_LIBRARY_VERSION) {
        char text[160];
        std::snprintf(text, sizeof text, " was built for host version 0x%08lX, not 0x%08X", v,
                      HOST_LIBRARY_VERSION);
        error = "plug-in " + file + text;
        shutdown = nullptr;
        Unload();
        return false;
    }
    int count = numberClasses();
    const WCHAR* desc = describe();
    description = desc ? desc : L"";
    for (int i = 0; i < count; ++i)
        if (ClassDesc2* cd = classDesc(i))
            classes.push_back(cd);
    if (!initialize()) {
        error = "plug-in " + file + " failed to initialise";
        Unload();
        return false;
    }
    return true;
}

void PluginLibrary::Unload() {
    if (!handle)
        return;
    if (shutdown)
        shutdown();
    ReleaseModuleResources(handle);
    dlclose(handle);
    handle = nullptr;
    shutdown = nullptr;
    classes.clear();
    description.clear();
}

ClassDesc2* PluginLibrary::FindClass(SClass_ID super, Class_ID cid) const {
    for (ClassDesc2* cd : classes)
        if (cd->SuperClassID() == super && cd->ClassID() == cid)
            return cd;
    return nullptr;
}

void* PluginLibrary::CreateInstance(SClass_ID super, Class_ID cid) const {
    ClassDesc2* cd = FindClass(super, cid);
    return cd ? cd->Create(FALSE) : nullptr;
}

std::string DefaultPluginPath() {
    if (const char* dir = std::getenv("SLITFORM_PLUGIN_DIR"))
        return std::string(dir) + "/Slitform.dlm";
    char exe[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string dir = ".";
    if (n > 0) {
        std::string self(exe, static_cast<size_t>(n));
        dir = self.substr(0, self.rfind('/'));
    }
    // The build tree keeps the plug-in beside the programs' folder; an installation
    // keeps it in the library folder.
    std::string built = dir + "/../plugins/Slitform.dlm";
    if (access(built.c_str(), F_OK) == 0)
        return built;
    return dir + "/../" SLITFORM_INSTALLED_PLUGIN_DIR "/Slitform.dlm";
}
