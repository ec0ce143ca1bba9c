// A node's placement as a user gives it: translation, rotation in degrees about
// x, y and z (in that order), uniform scale, or a whole matrix (which wins over
// the others). The command line's transform options and the window's placement
// panel both speak it.
#pragma once

#include <optional>

#include "matrix3.h"

struct NodeTransform {
    bool given = false;
    Point3 translate;
    Point3 rotateDegrees;
    float scale = 1.0f;
    std::optional<Matrix3> matrix;
    // Scale, then the rotations about x, y and z, then the translation.
    Matrix3 ToMatrix() const;
};
