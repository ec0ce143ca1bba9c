// The update check's record of the plug-in: what it is called, which version is
// installed, and whether to check by itself.
#pragma once

#include <string>

struct PluginInfo {
    // User agent of the requests, tag looked up in the server's answer, stem of
    // the release archive's name, title of every message box.
    std::string name = "Slitform";
    std::string extension = "dlm";
    // The host release the library is built for; part of the settings key.
    std::string hostYear = "2020";
    // The installed version, "major.minor.build.revision"; set at library
    // initialisation, empty until then (and without a version resource).
    std::string version;
    bool autoCheck = true;  // check when the About rollout first opens
    // A check has completed in this run, or the one under way is automatic:
    // while set, a check that finds no newer version says nothing.
    bool checkDone = false;
};

// The one record, built when the library is loaded, before the class descriptor.
extern PluginInfo pluginInfo;
