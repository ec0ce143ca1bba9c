// Windows-style paths on this machine. A drive letter names a directory given by
// an environment variable: "D:\dir\file" is "$SLITFORM_DRIVE_D/dir/file". A drive
// whose variable is unset or empty does not exist, as on a machine without it.
#pragma once

#include <string>

// Takes a path as the plug-in spells it. Gives in localPath the path to open here
// and true; false when the path names a drive that does not exist, or a network
// or current-drive path that has no drive (nothing may then be opened). A path
// without a drive keeps its text, backslashes turned into slashes.
bool TranslateWindowsPath(const std::string& windowsPath, std::string& localPath);
