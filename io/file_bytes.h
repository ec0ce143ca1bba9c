// Reading a whole file into memory, with errors that name the file.
#pragma once

#include <string>

// Reads the file at path into bytes. False, with a one-line error naming the
// file, when it does not exist, is a folder, is not a regular file (a FIFO or
// device is refused at once, never waited on), cannot be read or is larger than
// 2 GiB (mesh indices are 32-bit).
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);

// The file name's extension after the last dot, in lower case; empty if none.
std::string LowerCaseExtension(const std::string& path);
