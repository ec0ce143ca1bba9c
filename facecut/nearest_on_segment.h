// The point of a segment nearest a given point.
#pragma once

#include "point3.h"

struct NearestOnSegment {
    double t;         // along a->b, clamped to [0, 1]; 0 for a segment without length
    double distance;  // of the given point from it
};

// Across the direction only (x and y), for a point given in double precision.
NearestOnSegment NearestOnSegmentXY(double x, double y, const Point3& a, const Point3& b);

// In 3D.
NearestOnSegment NearestOnSegment3D(const Point3& p, const Point3& a, const Point3& b);
