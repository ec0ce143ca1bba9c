// Replacing a file only with complete content.
#pragma once

#include <string>

// Writes bytes to a temporary file in the folder of path and renames it over
// path once everything is on disk. On failure the temporary file is removed, an
// existing file at path stays as it was, and error names the file and the cause.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error);
