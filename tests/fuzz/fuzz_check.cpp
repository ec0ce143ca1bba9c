#include "fuzz_check.h"

#include <cstdio>
#include <cstdlib>

void FuzzFail(const std::string& why) {
    std::fprintf(stderr, "fuzz check failed: %s\n", why.c_str());
    std::abort();
}

void RequireOneLineNaming(const std::string& message, const std::string& path) {
    FuzzRequire(message.rfind(path + ": ", 0) == 0,
                "message does not start with the file name: " + message);
    FuzzRequire(message.find_first_of("\r\n") == std::string::npos,
                "message has more than one line: " + message);
    FuzzRequire(message.size() > path.size() + 2, "message says nothing after the file name");
}
