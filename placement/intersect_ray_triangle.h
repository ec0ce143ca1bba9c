// Intersection of a line with a triangle.
#pragma once

#include "placement/snap_ray.h"
#include "point3.h"

// Below this |n| (twice the area, absolute) a triangle counts as degenerate.
constexpr float kMinTriangleNormalLength = 0.0001f;
// Below this |n . direction| (n not normalised) the line counts as parallel.
constexpr float kMinNormalAlongRay = 0.0001f;

// Takes the line and the triangle's corners t0, t1, t2. Gives 1 when the line meets
// the triangle, border included, with the meeting point in hit; 0 otherwise (a
// degenerate or parallel triangle leaves hit unwritten, a miss leaves the point on
// the triangle's plane). A value that is not a number gives 0.
int IntersectRayTriangle(const SnapRay& ray, const Point3& t0, const Point3& t1, const Point3& t2,
                         Point3& hit);
