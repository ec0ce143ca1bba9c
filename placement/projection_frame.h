// The principal-axis frame of a point set.
#pragma once

#include "matrix3.h"
#include "point3.h"
#include "tab.h"

// Takes the points (at least one). Gives a right-handed frame: row 0 the major
// axis, row 1 the middle axis, row 2 the minor axis (the normal of the best-fit
// plane), row 3 the centroid. An empty table raises the table's out-of-range error.
Matrix3 ComputeProjectionFrame(const Tab<Point3>& points);
