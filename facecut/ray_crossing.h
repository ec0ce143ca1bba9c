// The one edge test of the even-odd point-in-polygon rule, shared by every place that
// counts crossings so that all of them round alike.
#pragma once

#include "point3.h"

// Whether the ray from p towards +x crosses the edge from a to b: exactly one end lies
// above p (y greater) and the crossing abscissa, in single precision, lies right of p.
inline bool RayCrossesEdge(const Point3& p, const Point3& a, const Point3& b) {
    if ((a.y > p.y) == (b.y > p.y))
        return false;
    float crossing = a.x + (p.y - a.y) / (b.y - a.y) * (b.x - a.x);
    return crossing > p.x;
}
