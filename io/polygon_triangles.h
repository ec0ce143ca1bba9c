// Splitting a polygon into triangles for formats that hold only triangles.
#pragma once

#include <array>
#include <vector>

#include "point3.h"

// Takes a polygon's corners in order (3 or more, as a face of a poly mesh has them) and
// gives triangles as corner numbers, turning as the polygon does and covering it. A
// convex polygon is fanned from its first corner; any other polygon, including one
// with corners on a straight line (cut points along an edge), is given the constrained
// Delaunay triangulation of its outline in its own plane, so that no triangle has zero
// area and no edge is used by a third triangle. A polygon that crosses itself in its
// plane, or lies on a line, is fanned as before.
std::vector<std::array<int, 3>> PolygonTriangles(const std::vector<Point3>& corners);
