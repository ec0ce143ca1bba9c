// Even-odd point-in-polygon tests on x and y, in single precision.
#pragma once

#include "point3.h"
#include "polyshp.h"

// Takes a point and a polyline, read as closed whatever its flag (the edge from the
// last point back to the first always counts); z is ignored. True when a ray from
// the point towards +x crosses an odd number of its edges. A polyline without
// points contains nothing.
bool PointInPolyline(const Point3& p, const PolyLine& line);

// Takes a point and a shape. True when the point lies inside an odd number of the
// shape's closed polylines; open polylines never count, nested ones cancel in pairs.
bool PointInClosedLines(const Point3& p, const PolyShape& shape);
