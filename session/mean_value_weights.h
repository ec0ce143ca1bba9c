// Mean-value coordinates of a point in a polygon, for carrying attributes from a
// face to the points that lie on it.
#pragma once

#include <vector>

#include "point3.h"

// The weights (summing to 1) of the polygon's corners at point, both taken in
// the polygon's plane (Newell's normal): mean-value coordinates, which hold for
// any simple polygon, reproduce linear functions and are linear along each edge,
// so that neighbouring faces agree on their shared edge. A point on a corner gets
// that corner alone; a degenerate polygon gives its nearest corner.
std::vector<double> MeanValueWeights(const std::vector<Point3>& corners, const Point3& point);
