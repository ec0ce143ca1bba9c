// File paths from Python: str, bytes or os.PathLike, passed on byte for byte.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace slitform {

// Takes a path object and gives its bytes as the file system sees them (os.fsencode);
// throws Error (bad input) naming what for an object that is no path or a path that
// holds a NUL character, which would cut it short.
std::string PathFromPython(const pybind11::handle& path, const char* what);

}  // namespace slitform
