#include "windows_path.h"

#include <cctype>
#include <cstdlib>

namespace {

std::string WithSlashes(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

bool TranslateWindowsPath(const std::string& windowsPath, std::string& localPath) {
    bool hasDrive = windowsPath.size() >= 2 && windowsPath[1] == ':' &&
                    std::isalpha(static_cast<unsigned char>(windowsPath[0]));
    if (!hasDrive) {
        // "\\server\share" and "\dir" are relative to no drive this machine has.
        if (!windowsPath.empty() && IsSeparator(windowsPath[0]))
            return false;
        localPath = WithSlashes(windowsPath);
        return true;
    }
    char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
    std::string variable = std::string("SLITFORM_DRIVE_") + drive;
    const char* root = std::getenv(variable.c_str());
    if (root == nullptr || root[0] == '\0')
        return false;
    // "D:file" and "D:\file" both lie in the drive's directory.
    std::string rest = windowsPath.substr(2);
    while (!rest.empty() && IsSeparator(rest[0])) rest.erase(0, 1);
    localPath = root;
    if (!rest.empty()) {
        if (localPath.back() != '/')
            localPath += '/';
        localPath += WithSlashes(rest);
    }
    return true;
}
