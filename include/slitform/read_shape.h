// Reading a shape file.
#pragma once

#include <string>

#include "slitform/shape.h"

namespace slitform {

// Takes a .svg or .json path and gives its lines with their Bezier handles,
// placed by the automatic fit; throws Error when it cannot be read or has no point.
Shape ReadShape(const std::string& path);

}  // namespace slitform
