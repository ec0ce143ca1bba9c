// Loads a plug-in library and calls its entry points as the host does:
// LibVersion, LibNumberClasses, LibDescription, LibClassDesc(i), LibInitialize;
// LibShutdown before unloading.
#pragma once

#include <string>
#include <vector>

#include "plugin_api.h"

class PluginLibrary {
public:
    PluginLibrary() = default;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;
    // Shuts the library down and unloads it; objects it created must be gone.
    ~PluginLibrary();

    // False, with a message naming the file and what is missing, when the file
    // cannot be loaded, lacks an entry point, was built for another host version,
    // or does not initialise.
    bool Load(const std::string& path, std::string& error);
    void Unload();

    const std::string& Path() const { return path; }
    HMODULE Handle() const { return handle; }
    const std::wstring& Description() const { return description; }
    int NumClasses() const { return static_cast<int>(classes.size()); }
    ClassDesc2* GetClassDesc(int i) const { return classes[i]; }
    // The class descriptor with this identity, or nullptr.
    ClassDesc2* FindClass(SClass_ID super, Class_ID cid) const;
    // A new instance of the class, or nullptr.
    void* CreateInstance(SClass_ID super, Class_ID cid) const;
    // An exported symbol of the library, or nullptr.
    void* Symbol(const char* name) const;

private:
    std::string path;
    HMODULE handle = nullptr;
    LibShutdownFn shutdown = nullptr;
    std::wstring description;
    std::vector<ClassDesc2*> classes;
};

// Where the plug-in library is looked for: $SLITFORM_PLUGIN_DIR, else the plugins
// folder beside the folder of the running program (the build tree), else the
// installed plug-in folder relative to the program (lib/slitform/plugins).
std::string DefaultPluginPath();
