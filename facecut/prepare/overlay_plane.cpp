#include "facecut/prepare/overlay_plane.h"

#include <algorithm>

namespace {

// Beyond this, float differences in the exact tests could overflow.
constexpr double kTameLimit = 1e30;
// The sine threshold of the classification (0.001) with room for its rounding.
constexpr double kSine = 0.0011;

bool Tame(double v) {
    return std::fabs(v) <= kTameLimit;
}

}  // namespace

OverlayPlane PlaneOf(const PolyLine& outline) {
    OverlayPlane plane;
    int n = outline.numPts;
    if (n < 3)
        return plane;
    double nx = 0.0, ny = 0.0, nz = 0.0, cx = 0.0, cy = 0.0, cz = 0.0;
    for (int i = 0; i < n; ++i) {
        const Point3& a = outline[i].p;
        const Point3& b = outline[(i + 1) % n].p;
        nx += (static_cast<double>(a.y) - b.y) * (static_cast<double>(a.z) + b.z);
        ny += (static_cast<double>(a.z) - b.z) * (static_cast<double>(a.x) + b.x);
        nz += (static_cast<double>(a.x) - b.x) * (static_cast<double>(a.y) + b.y);
        cx += a.x;
        cy += a.y;
        cz += a.z;
    }
    double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    // Written so that a NaN leaves the plane unusable.
    if (!(length > 1e-300) || !Tame(length) || !Tame(cx) || !Tame(cy) || !Tame(cz))
        return plane;
    plane.normal[0] = nx / length;
    plane.normal[1] = ny / length;
    plane.normal[2] = nz / length;
    plane.centre[0] = cx / n;
    plane.centre[1] = cy / n;
    plane.centre[2] = cz / n;
    plane.usable = true;
    return plane;
}

double SlackOfRun(const OverlayPlane& plane, const PolyLine& line, int first, int count) {
    int n = line.numPts;
    if (n == 0 || count <= 0)
        return 0.0;
    const double* N = plane.normal;
    const double* c = plane.centre;
    double farthest = 0.0;
    double scale = std::max(std::fabs(c[0]), std::max(std::fabs(c[1]), std::fabs(c[2])));
    int k = first % n;
    for (int i = 0; i < count; ++i) {
        const Point3& q = line[k].p;
        double d = std::fabs(N[0] * (q.x - c[0]) + N[1] * (q.y - c[1]) + N[2] * (q.z - c[2]));
        // Written so that a NaN makes the slack infinite.
        if (!(d <= farthest))
            farthest = Tame(d) ? d : HUGE_VAL;
        scale = std::max(scale, static_cast<double>(std::max(
                                    std::fabs(q.x), std::max(std::fabs(q.y), std::fabs(q.z)))));
        if (++k == n)
            k = 0;
    }
    // Room for the double rounding of the distances just measured.
    return farthest + 1e-12 * scale;
}

void WidenLengths(SegmentLengths& lengths, const Point3& a, const Point3& b) {
    double dx = static_cast<double>(b.x) - a.x;
    double dy = static_cast<double>(b.y) - a.y;
    double dz = static_cast<double>(b.z) - a.z;
    double squared = dx * dx + dy * dy + dz * dz;
    // Written so that a NaN leaves the shortest at NaN, which no test passes.
    if (!(squared >= lengths.shortestSquared))
        lengths.shortestSquared = squared;
    lengths.longestSquared = std::max(lengths.longestSquared, squared);
}

SegmentLengths LengthsOfRun(const PolyLine& line, int first, int count) {
    SegmentLengths lengths;
    int n = line.numPts;
    if (n == 0)
        return lengths;
    int k = first % n;
    for (int i = 0; i < count; ++i) {
        int next = k + 1 == n ? 0 : k + 1;
        WidenLengths(lengths, line[k].p, line[next].p);
        k = next;
    }
    return lengths;
}

RunBounds BoundsOfRun(const OverlayPlane& plane, const PolyLine& line, int first, int count) {
    RunBounds bounds;
    int n = line.numPts;
    if (n == 0 || count <= 0)
        return bounds;
    const double* N = plane.normal;
    const double* c = plane.centre;
    double farthest = 0.0;
    int k = first % n;
    Point3 lo = line[k].p;
    Point3 hi = lo;
    const Point3* previous = nullptr;
    const float limit = static_cast<float>(kTameLimit);
    bool tame = true;
    double shortest = HUGE_VAL;
    double longest = 0.0;
    bool lengthsTame = true;
    for (int i = 0; i < count; ++i) {
        const Point3& q = line[k].p;
        tame =
            tame && std::fabs(q.x) <= limit && std::fabs(q.y) <= limit && std::fabs(q.z) <= limit;
        lo.x = std::min(lo.x, q.x);
        lo.y = std::min(lo.y, q.y);
        lo.z = std::min(lo.z, q.z);
        hi.x = std::max(hi.x, q.x);
        hi.y = std::max(hi.y, q.y);
        hi.z = std::max(hi.z, q.z);
        double d = std::fabs(N[0] * (q.x - c[0]) + N[1] * (q.y - c[1]) + N[2] * (q.z - c[2]));
        // Written so that a NaN makes the slack infinite.
        if (!(d <= farthest))
            farthest = Tame(d) ? d : HUGE_VAL;
        if (previous) {
            double dx = static_cast<double>(q.x) - previous->x;
            double dy = static_cast<double>(q.y) - previous->y;
            double dz = static_cast<double>(q.z) - previous->z;
            double squared = dx * dx + dy * dy + dz * dz;
            shortest = std::min(shortest, squared);
            longest = std::max(longest, squared);
            // Written so that a NaN is remembered: it leaves the shortest at NaN.
            lengthsTame &= squared == squared;
        }
        previous = &q;
        if (++k == n)
            k = 0;
    }
    bounds.lengths.shortestSquared = lengthsTame ? shortest : NAN;
    bounds.lengths.longestSquared = longest;
    // NaN fails the comparisons, so it marks the box as untame too.
    bounds.box = BoxOfCorners(lo, hi, tame);
    const OverlayBox& box = bounds.box;
    double scale = std::max(std::fabs(c[0]), std::max(std::fabs(c[1]), std::fabs(c[2])));
    for (int i = 0; i < 3; ++i)
        scale = std::max(scale, std::max(std::fabs(box.lo[i]), std::fabs(box.hi[i])));
    // Room for the double rounding of the distances just measured.
    bounds.slack = farthest + 1e-12 * scale;
    return bounds;
}

// With u = b - a and w = P - a, each within 2 slacks of the plane (unit normal N),
// and r = 2 slack / |u|: the in-plane part of u is at least sqrt(1 - r^2) |u| long,
// so the test's |(u x w)_z| <= sine |u| |w| bounds P's in-plane distance from the
// line by ((sine + r) |w| + 2 slack) / (sqrt(1 - r^2) N_z), and its 0 <= t <= 1
// keeps P's in-plane foot on the segment up to e |u| with e = 2 r^2 / (1 - r^2).
// With |w| <= |u| + D, the distance D from P to the segment (which bounds the x-y
// gap) satisfies D (1 - k) <= k |u| + 2 slack / (sqrt(1 - r^2) N_z) + e |u| + 4 slack
// for k = (sine + r) / (sqrt(1 - r^2) N_z).
bool MayLieInsideOnPlane(const OverlayPlane& plane, double slack, const OverlayBox& points,
                         const OverlayBox& segments, const SegmentLengths& lengths) {
    if (!plane.usable || points.empty || segments.empty || !points.tame || !segments.tame ||
        !Tame(slack))
        return true;
    double normalZ = std::fabs(plane.normal[2]);
    double shortest = std::sqrt(lengths.shortestSquared);
    double longest = std::sqrt(lengths.longestSquared);
    double r = 2.0 * slack / shortest;
    // Short segments, or a plane too steep, leave nothing to bound.
    if (!(r <= 0.1))
        return true;
    double across = std::sqrt(1.0 - r * r) * normalZ;
    double k = (kSine + r) / across;
    if (!(k <= 0.5))
        return true;
    double e = 2.0 * r * r / (1.0 - r * r) + 1e-12;
    double reach = (k * longest + 2.0 * slack / across + e * longest + 4.0 * slack) / (1.0 - k);
    double gapX = std::max(points.lo[0] - segments.hi[0], segments.lo[0] - points.hi[0]);
    double gapY = std::max(points.lo[1] - segments.hi[1], segments.lo[1] - points.hi[1]);
    double scale = 0.0;
    for (int i = 0; i < 3; ++i)
        scale = std::max(scale,
                         std::max(std::max(std::fabs(points.lo[i]), std::fabs(points.hi[i])),
                                  std::max(std::fabs(segments.lo[i]), std::fabs(segments.hi[i]))));
    // 1e-9 covers the classification's other on-line test, a distance of 1e-10.
    return !(std::max(gapX, gapY) > 1.01 * reach + 1e-9 + 1e-9 * scale);
}
