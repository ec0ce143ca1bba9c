// A shape as plain values: the lines that cut, and where they stand.
#pragma once

#include <array>
#include <vector>

#include "slitform/up_axis.h"

namespace slitform {

// A point of a shape, in double precision as shape files give it.
using Point = std::array<double, 3>;

struct ShapeLine {
    std::vector<Point> points;
    bool closed = false;
    // Bezier handles, one in and one out per point; both empty for straight lines.
    std::vector<Point> in, out;
};

struct Shape {
    std::vector<ShapeLine> lines;
    // Points per curved segment when the lines are flattened.
    int steps = 6;
    // False: the automatic fit (centred over the mesh, scaled to 80% of its
    // footprint, flat above it). True: transform places the shape in the mesh's
    // space, as the rows of a 4x3 matrix (x axis, y axis, z axis, translation).
    bool placed = false;
    // The fit's up: with Y the shape's x runs along X and its y along -Z, as a top
    // view of a Y-up scene (glTF's) shows them, and it projects along -Y.
    UpAxis up = UpAxis::Z;
    std::array<double, 12> transform{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
};

}  // namespace slitform
