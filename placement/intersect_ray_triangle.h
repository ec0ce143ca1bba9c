// Intersection of a line with a triangle.
#pragma once

#include <cmath>

#include "placement/snap_ray.h"
#include "point3.h"

// Below this |n| (twice the area, absolute) a triangle may count as degenerate...
constexpr float kMinTriangleNormalLength = 0.0001f;
// ...when |n| is also below this share of |e1| |e2| (the sine of the corner angle):
// a small triangle of fine shape is hit whatever the scene's units.
constexpr float kMinCornerSine = 0.001f;
// Below this |n . direction| (n not normalised) the line may count as parallel...
constexpr float kMinNormalAlongRay = 0.0001f;
// ...when it is also below this share of |n| (about 0.0057 degrees).
constexpr float kMinDirectionSine = 0.0001f;

// How far outside its border, in barycentric units, a line still meets a triangle.
constexpr float kBarycentricSlack = 1e-5f;

// Whether the triangle with edges e1, e2 from its first corner and normal n = e1 ^ e2
// is too degenerate to be hit. A value that is not a number counts as degenerate.
inline bool IsDegenerateTriangle(const Point3& e1, const Point3& e2, const Point3& n) {
    const float length = Length(n);
    return !(length >= kMinTriangleNormalLength ||
             length >= kMinCornerSine * (Length(e1) * Length(e2)));
}

// Whether the line along direction runs within the plane of normal n, so near that it
// is not tested. A value that is not a number counts as parallel.
inline bool RunsAlongPlane(const Point3& n, const Point3& direction) {
    const float along = std::fabs(n % direction);
    return !(along >= kMinNormalAlongRay || along >= kMinDirectionSine * Length(n));
}

// Takes the line and the triangle's corners t0, t1, t2. Gives 1 when the line meets
// the triangle, border included (with kBarycentricSlack), with the meeting point in hit; 0
// otherwise (a degenerate or parallel triangle leaves hit unwritten, a miss leaves the point on the
// triangle's plane). A value that is not a number gives 0.
int IntersectRayTriangle(const SnapRay& ray, const Point3& t0, const Point3& t1, const Point3& t2,
                         Point3& hit);
