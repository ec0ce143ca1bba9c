#include "placement/intersect_ray_triangle.h"

#include <cmath>

int IntersectRayTriangle(const SnapRay& ray, const Point3& t0, const Point3& t1, const Point3& t2,
                         Point3& hit) {
    const Point3 e1 = t1 - t0;
    const Point3 e2 = t2 - t0;
    const Point3 n = e1 ^ e2;
    if (IsDegenerateTriangle(e1, e2, n))
        return 0;

    const Point3& p = ray.origin;
    const Point3& d = ray.direction;
    if (RunsAlongPlane(n, d))
        return 0;
    const float den = n % d;

    const float t = ((p - t0) % (-n)) / den;
    hit = Point3(p.x + t * d.x, p.y + t * d.y, p.z + t * d.z);

    const Point3 w = hit - t0;
    const float aa = e1 % e1;
    const float ab = e1 % e2;
    const float bb = e2 % e2;
    const float wa = w % e1;
    const float wb = w % e2;
    const float r = 1.0f / (ab * ab - bb * aa);
    // Written so that a value that is not a number fails. The slack lets a line through
    // a shared corner or edge hit, which rounding could otherwise push off every
    // triangle around it, down through a closed surface.
    const float u = (wb * ab - wa * bb) * r;
    if (!(u >= -kBarycentricSlack && u <= 1.0f + kBarycentricSlack))
        return 0;
    const float v = (wa * ab - wb * aa) * r;
    if (!(v >= -kBarycentricSlack && u + v <= 1.0f + kBarycentricSlack))
        return 0;
    return 1;
}
