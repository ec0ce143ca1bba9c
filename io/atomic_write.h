// Replacing a file only with complete content.
#pragma once

#include <string>

// Writes bytes to a temporary file in the folder of path and renames it over
// path once everything is on disk. A symbolic link at path is followed: its
// target is replaced and the link kept. What CheckWritablePath refuses is not
// written. On failure the temporary file is
// removed, an existing file at path stays as it was, and error names the file
// and the cause. SIGINT or SIGTERM during the write remove the temporary file
// before the signal takes its usual course.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

// Whether WriteFileAtomically could create or replace a file at path: false
// with an error naming path when it is a loop of symbolic links, names a folder or
// something other than a regular file (a pipe, device or socket), or the folder it
// would go in does not exist or cannot be written to.
bool CheckWritablePath(const std::string& path, std::string& error);

// The file a chain of symbolic links at path ends at: path itself when it is no link
// (or a loop of them). Files written beside it belong beside that file.
std::string FileBehindLinks(const std::string& path);
