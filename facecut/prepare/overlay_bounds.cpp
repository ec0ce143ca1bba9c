#include "facecut/prepare/overlay_bounds.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Beyond this, float differences in the exact tests could overflow.
constexpr double kTameLimit = 1e30;
// The sine threshold of the classification (0.001) with room for its rounding.
constexpr double kSine = 0.0011;
// Segments whose larger x or y extent is below this share of the sum of their
// extents are too steep to bound.
constexpr double kSteep = 0.003;
// Relative room for double rounding in the classification (about 1e-15 each).
constexpr double kRelative = 1e-6;
// Room for the float rounding of ShapeCutsOutline: its cross products err by
// at most about 4 units of 2^-24 of their operands.
constexpr double kFloatRoom = 1e-6;

bool IsTame(double v) {
    return std::fabs(v) <= kTameLimit;
}

bool IsTame(const Point3& p) {
    return IsTame(p.x) && IsTame(p.y) && IsTame(p.z);
}

bool Usable(const OverlayBox& box) {
    return !box.empty && box.tame;
}

double LargestMagnitude(const OverlayBox& box) {
    double m = 0.0;
    for (int i = 0; i < 3; ++i)
        m = std::max(m, std::max(std::fabs(box.lo[i]), std::fabs(box.hi[i])));
    return m;
}

// The larger distance, in x plus in y, from (x, y) to the box's sides: at least
// the distance to any point of the box.
double FarthestInBox(double x, double y, const OverlayBox& box) {
    return std::max(std::fabs(x - box.lo[0]), std::fabs(x - box.hi[0])) +
           std::max(std::fabs(y - box.lo[1]), std::fabs(y - box.hi[1]));
}

double Extent(const OverlayBox& box) {
    return (box.hi[0] - box.lo[0]) + (box.hi[1] - box.lo[1]);
}

// Whether the four x-y corners of box lie on one side of the line through
// (ox, oy) along (dx, dy), each farther than threshold (in units of |d|).
bool BoxOnOneSide(const OverlayBox& box, double ox, double oy, double dx, double dy,
                  double threshold) {
    int above = 0;
    int below = 0;
    for (int corner = 0; corner < 4; ++corner) {
        double cx = (corner & 1) ? box.hi[0] : box.lo[0];
        double cy = (corner & 2) ? box.hi[1] : box.lo[1];
        double side = dx * (cy - oy) - dy * (cx - ox);
        if (side > threshold)
            ++above;
        if (side < -threshold)
            ++below;
    }
    return above == 4 || below == 4;
}

}  // namespace

void AddToBox(OverlayBox& box, const Point3d& p) {
    double c[3] = {p.x, p.y, p.z};
    for (int i = 0; i < 3; ++i) {
        // Written so that a NaN also marks the box as untame.
        if (!IsTame(c[i]))
            box.tame = false;
        if (box.empty) {
            box.lo[i] = c[i];
            box.hi[i] = c[i];
        } else {
            box.lo[i] = std::min(box.lo[i], c[i]);
            box.hi[i] = std::max(box.hi[i], c[i]);
        }
    }
    box.empty = false;
}

OverlayBox BoxOfPoint(const Point3d& p) {
    OverlayBox box;
    AddToBox(box, p);
    return box;
}

OverlayBox BoxOfLine(const PolyLine& line) {
    return BoxOfRun(line, 0, line.numPts);
}

OverlayBox BoxOfRun(const PolyLine& line, int first, int count) {
    int n = line.numPts;
    if (n == 0 || count <= 0)
        return OverlayBox();
    int k = first % n;
    Point3 lo = line[k].p;
    Point3 hi = lo;
    // NaN fails the comparison, so it marks the box as untame too.
    const float limit = static_cast<float>(kTameLimit);
    bool tame = true;
    for (int i = 0; i < count; ++i) {
        const Point3& p = line[k].p;
        lo.x = std::min(lo.x, p.x);
        lo.y = std::min(lo.y, p.y);
        lo.z = std::min(lo.z, p.z);
        hi.x = std::max(hi.x, p.x);
        hi.y = std::max(hi.y, p.y);
        hi.z = std::max(hi.z, p.z);
        tame =
            tame && std::fabs(p.x) <= limit && std::fabs(p.y) <= limit && std::fabs(p.z) <= limit;
        if (++k == n)
            k = 0;
    }
    return BoxOfCorners(lo, hi, tame);
}

OverlayBox BoxOfCorners(const Point3& lo, const Point3& hi, bool tame) {
    OverlayBox box;
    box.lo[0] = lo.x;
    box.lo[1] = lo.y;
    box.lo[2] = lo.z;
    box.hi[0] = hi.x;
    box.hi[1] = hi.y;
    box.hi[2] = hi.z;
    box.empty = false;
    box.tame = tame;
    return box;
}

namespace {

// What one segment adds to a reach: the terms whose maxima (and the minimum
// denominator) bound the reach of every segment taken in.
struct ReachTerms {
    double lengthSquared = 0.0;
    double depthTerm = 0.0;
    double denominator = HUGE_VAL;
    bool bounded = true;
};

void TakeSegment(ReachTerms& terms, const Point3d& a, const Point3d& b) {
    double ax = std::fabs(b.x - a.x);
    double ay = std::fabs(b.y - a.y);
    double az = std::fabs(b.z - a.z);
    // Bounds of the x-y length and of the length, free of square roots.
    double across = std::max(ax, ay);
    double length = ax + ay + az;
    // The classification calls such a segment degenerate (or the point one of its
    // ends): nothing lies strictly inside it.
    if (length < 1e-10)
        return;
    if (!(across > kSteep * length)) {
        terms.bounded = false;
        return;
    }
    terms.lengthSquared = std::max(terms.lengthSquared, length * length);
    terms.depthTerm = std::max(terms.depthTerm, az + kSine * length);
    terms.denominator = std::min(terms.denominator, across - kSine * length);
}

// A point P placed inside has its foot F on the segment and r = P - F
// perpendicular to it. Then |r_xy| |b_xy| <= |r_z| |b_z| + |sine| |b| |P - a|, and
// |P - a| <= |b| + |r_xy| + |r_z|; solving for |r_xy| gives the reach.
void Widen(InsideReach& reach, const ReachTerms& terms) {
    if (!terms.bounded) {
        reach.bounded = false;
        return;
    }
    if (terms.lengthSquared == 0.0)
        return;
    reach.k0 = std::max(reach.k0, kSine * terms.lengthSquared / terms.denominator);
    reach.k1 = std::max(reach.k1, terms.depthTerm / terms.denominator);
}

}  // namespace

void WidenReach(InsideReach& reach, const Point3d& a, const Point3d& b) {
    ReachTerms terms;
    TakeSegment(terms, a, b);
    Widen(reach, terms);
}

void WidenReachOverRun(InsideReach& reach, const PolyLine& line, int first, int count) {
    int n = line.numPts;
    if (n == 0)
        return;
    ReachTerms terms;
    int k = first % n;
    for (int i = 0; i < count; ++i) {
        int next = k + 1 == n ? 0 : k + 1;
        TakeSegment(terms, Point3d(line[k].p), Point3d(line[next].p));
        k = next;
    }
    Widen(reach, terms);
}

double ReachDistance(const InsideReach& reach, double depth, double scale) {
    if (!reach.bounded)
        return HUGE_VAL;
    // 1e-9 covers the classification's other on-line test, a distance of 1e-10.
    return 1.01 * (reach.k0 + reach.k1 * depth) + kRelative * scale + 1e-9;
}

bool MayLieInside(const OverlayBox& points, const OverlayBox& segments, const InsideReach& reach) {
    if (!Usable(points) || !Usable(segments) || !reach.bounded)
        return true;
    double gapX = std::max(points.lo[0] - segments.hi[0], segments.lo[0] - points.hi[0]);
    double gapY = std::max(points.lo[1] - segments.hi[1], segments.lo[1] - points.hi[1]);
    double gap = std::max(gapX, gapY);
    double depth = std::max(std::fabs(points.hi[2] - segments.lo[2]),
                            std::fabs(segments.hi[2] - points.lo[2]));
    double scale = std::max(LargestMagnitude(points), LargestMagnitude(segments));
    return !(gap > ReachDistance(reach, depth, scale));
}

void IncludeBox(OverlayBox& into, const OverlayBox& box) {
    if (box.empty)
        return;
    into.tame = into.tame && box.tame;
    for (int i = 0; i < 3; ++i) {
        into.lo[i] = into.empty ? box.lo[i] : std::min(into.lo[i], box.lo[i]);
        into.hi[i] = into.empty ? box.hi[i] : std::max(into.hi[i], box.hi[i]);
    }
    into.empty = false;
}

SegmentAxis AxisOf(const Point3& a, const Point3& b) {
    SegmentAxis axis;
    double d[3] = {static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y,
                   static_cast<double>(b.z) - a.z};
    double squared = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    axis.start[0] = a.x;
    axis.start[1] = a.y;
    axis.start[2] = a.z;
    double inverse = 1.0 / squared;
    for (int i = 0; i < 3; ++i) axis.along[i] = d[i] * inverse;
    // At least 1 / |b - a|, without a square root.
    axis.inverseLength =
        std::fabs(axis.along[0]) + std::fabs(axis.along[1]) + std::fabs(axis.along[2]);
    // Short of this the position's rounding is not worth bounding.
    axis.measurable = IsTame(a) && IsTame(b) && squared > 1e-200 && squared < 1e200;
    return axis;
}

bool MayProjectOnto(const OverlayBox& points, const SegmentAxis& axis) {
    if (points.empty || !points.tame || !axis.measurable)
        return true;
    double low = 0.0, high = 0.0, distance = 0.0;
    for (int i = 0; i < 3; ++i) {
        double from = points.lo[i] - axis.start[i], to = points.hi[i] - axis.start[i];
        double w = axis.along[i];
        low += w * (w >= 0.0 ? from : to);
        high += w * (w >= 0.0 ? to : from);
        distance += std::max(std::fabs(from), std::fabs(to));
    }
    // The inside test keeps positions within 1e-9 of [0, 1]; the double rounding of
    // its position and of this one is about 1e-15 of these terms.
    double room = 1e-9 + 1e-9 * (std::fabs(low) + std::fabs(high) + distance * axis.inverseLength);
    // Written so that a NaN keeps the points.
    return !(high < -room || low > 1.0 + room);
}

bool MayBeInsidePolyline(const OverlayBox& points, const OverlayBox& box) {
    if (!Usable(points) || !Usable(box))
        return true;
    // Level with or beyond the extreme y, no edge straddles a point's y: exact.
    if (points.lo[1] > box.hi[1] || points.hi[1] < box.lo[1])
        return false;
    // A crossing abscissa stays within the edge's x range up to float rounding.
    // Right of every edge, none counts; left of every edge, all straddling edges
    // count, and a closed walk straddles an even number of times.
    double room = kFloatRoom * (std::fabs(box.lo[0]) + std::fabs(box.hi[0])) + 1e-30;
    return !(points.lo[0] > box.hi[0] + room || points.hi[0] < box.lo[0] - room);
}

bool MayCrossEdgesIn(const Point3& a, const Point3& b, const OverlayBox& box) {
    if (!Usable(box) || !IsTame(a) || !IsTame(b))
        return true;
    // The direction exactly as the crossing test computes it.
    Point3 d = b - a;
    double dx = d.x;
    double dy = d.y;
    double length = std::sqrt(dx * dx + dy * dy);
    // With every edge end on one side of the segment's line, farther than the
    // rounding of the test's cross products (relative to the distances from a and
    // the edge lengths), the fraction along the edge cannot fall inside (0, 1).
    double margin = kFloatRoom * (FarthestInBox(a.x, a.y, box) + Extent(box));
    return !BoxOnOneSide(box, a.x, a.y, dx, dy, length * margin);
}

std::vector<EdgeLine> EdgeLinesOf(const PolyLine& outline) {
    std::vector<EdgeLine> edges;
    int m = outline.numPts;
    edges.reserve(static_cast<size_t>(m));
    for (int k = 0; k < m; ++k) {
        const Point3& p = outline[k].p;
        const Point3& q = outline[(k + 1) % m].p;
        EdgeLine edge;
        edge.tame = IsTame(p) && IsTame(q);
        // The edge exactly as the crossing test computes it.
        Point3 e = q - p;
        edge.qx = q.x;
        edge.qy = q.y;
        edge.ex = e.x;
        edge.ey = e.y;
        edge.length = std::sqrt(edge.ex * edge.ex + edge.ey * edge.ey);
        edges.push_back(edge);
    }
    return edges;
}

bool MayCrossOutline(const OverlayBox& run, const std::vector<EdgeLine>& edges) {
    if (!Usable(run))
        return true;
    for (const EdgeLine& edge : edges) {
        if (!edge.tame)
            return true;
        // With both ends of a segment on one side of the edge's line, farther than
        // the rounding of the test's cross products, the fraction along the
        // segment cannot fall inside (0, 1).
        double margin = kFloatRoom * (FarthestInBox(edge.qx, edge.qy, run) + Extent(run));
        if (!BoxOnOneSide(run, edge.qx, edge.qy, edge.ex, edge.ey, edge.length * margin))
            return true;
    }
    return false;
}
