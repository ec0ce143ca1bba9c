// Shapes between Python values and the library's plain shape.
#pragma once

#include <pybind11/pybind11.h>

#include "slitform/shape.h"

namespace slitform {

// Takes a path (str or os.PathLike: an SVG or JSON shape file) or a sequence of
// lines, each a (k, 3) array (closed), a (points, closed) pair or a dict with
// "points", optional "closed" (default True) and optional "in" and "out" handle
// arrays; throws Error for anything else.
Shape ShapeFromPython(const pybind11::handle& shape);

// The shape's lines as a list of such dicts.
pybind11::list ShapeToPython(const Shape& shape);

}  // namespace slitform
