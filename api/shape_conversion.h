// Between the library's plain shape and the host's Bezier shape.
#pragma once

#include "matrix3.h"
#include "slitform/shape.h"
#include "splshape.h"

namespace slitform {

// Takes a plain shape and gives its splines with its steps; throws Error for a
// coordinate that is not finite, handles that do not match the points, a line
// with fewer than 2 points, steps out of 0 to 100, or no point at all.
BezierShape ToBezierShape(const Shape& shape);

// The splines of a Bezier shape as plain lines, with handles, placed by the fit.
Shape FromBezierShape(const BezierShape& shape);

// Takes a shape's transform and gives it as the host's matrix; throws Error for a
// number that is not finite.
Matrix3 ToMatrix(const Shape& shape);

}  // namespace slitform
