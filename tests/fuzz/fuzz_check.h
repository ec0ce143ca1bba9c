// Checks inside fuzz targets: a failed check prints why and aborts, which libFuzzer
// records as a crash and the corpus replay reports as a failed test.
#pragma once

#include <string>

[[noreturn]] void FuzzFail(const std::string& why);

// Fixed texts come as const char*: a std::string made for every check in a loop over
// thousands of output numbers costs more than the checks.
inline void FuzzRequire(bool ok, const char* why) {
    if (!ok)
        FuzzFail(why);
}

inline void FuzzRequire(bool ok, const std::string& why) {
    if (!ok)
        FuzzFail(why);
}

// A reader's error or warning must be one line that starts with "path: " and says
// something after it.
void RequireOneLineNaming(const std::string& message, const std::string& path);
