#include "facecut/prepare/far_shape_index.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// Beyond this, float differences in the exact tests could overflow.
constexpr double kTameLimit = 1e30;
// Relative error of the first phase's single-precision projection and frame
// transform: about seventeen units of 2^-24, several times what the few operations
// on each coordinate can lose.
constexpr double kFloatRoom = 1e-6;
// The sine threshold of the on-segment test (0.001) with room for its rounding.
constexpr double kSine = 0.0011;
// Relative error of a single-precision 2D cross product of differences.
constexpr double kCrossRoom = 5e-7;
// The crossing test's smallest cross product (single precision, absolute).
constexpr double kSmallestCross = 1e-4;
// Cells per axis, at most.
constexpr int kMostCells = 512;
// Grid entries allowed: this many per segment, and this many more.
constexpr std::uint64_t kEntriesPerSegment = 8;
constexpr std::uint64_t kEntriesBeyondSegments = std::uint64_t(1) << 20;

double Dot(const double* a, const Point3& p) {
    return a[0] * p.x + a[1] * p.y + a[2] * p.z;
}

double Magnitude(const Point3& p) {
    return std::sqrt(static_cast<double>(p.x) * p.x + static_cast<double>(p.y) * p.y +
                     static_cast<double>(p.z) * p.z);
}

// Whether the segment from a to b, whose box meets the box from lo to hi, still
// passes beside it: the box lies wholly on one side of the segment's line. A long
// slanted segment has a large box that many faces meet while it stays far from
// them. The comparison leaves room for its own rounding, so a box it cannot tell
// apart counts as met.
bool PassesBeside(const double* a, const double* b, const double* lo, const double* hi) {
    double nu = a[1] - b[1], nv = b[0] - a[0];
    double cu = 0.5 * (lo[0] + hi[0]), cv = 0.5 * (lo[1] + hi[1]);
    double halfU = 0.5 * (hi[0] - lo[0]), halfV = 0.5 * (hi[1] - lo[1]);
    double offset = std::fabs(nu * (cu - a[0]) + nv * (cv - a[1]));
    double extent = halfU * std::fabs(nu) + halfV * std::fabs(nv);
    double scale =
        (std::fabs(cu) + std::fabs(cv) + std::fabs(a[0]) + std::fabs(a[1]) + halfU + halfV) *
        (std::fabs(nu) + std::fabs(nv));
    return offset > extent * (1.0 + 1e-9) + 1e-12 * scale;
}

}  // namespace

FarShapeIndex::FarShapeIndex(const PolyShape& shape, const Point3& dir) {
    double d[3] = {dir.x, dir.y, dir.z};
    double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (!(length > 0.5) || !(length < 2.0))
        return;
    for (double& c : d) c /= length;
    for (int i = 0; i < 3; ++i) direction[i] = d[i];
    // Two unit axes across the direction.
    double seed[3] = {0.0, 0.0, 0.0};
    seed[std::fabs(d[0]) <= std::fabs(d[1]) && std::fabs(d[0]) <= std::fabs(d[2]) ? 0
         : std::fabs(d[1]) <= std::fabs(d[2])                                     ? 1
                                                                                  : 2] = 1.0;
    double u[3] = {seed[1] * d[2] - seed[2] * d[1], seed[2] * d[0] - seed[0] * d[2],
                   seed[0] * d[1] - seed[1] * d[0]};
    double un = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    for (int i = 0; i < 3; ++i) axisU[i] = u[i] / un;
    axisV[0] = d[1] * axisU[2] - d[2] * axisU[1];
    axisV[1] = d[2] * axisU[0] - d[0] * axisU[2];
    axisV[2] = d[0] * axisU[1] - d[1] * axisU[0];

    PolyShape across;
    for (int l = 0; l < shape.numLines; ++l) {
        const PolyLine& line = shape[l];
        PolyLine& flat = across.NewLine();
        for (int j = 0; j < line.numPts; ++j) {
            const Point3& p = line[j].p;
            double m = Magnitude(p);
            if (!(m <= kTameLimit))
                return;
            farthest = std::max(farthest, m);
            flat.Append(PolyPt(Point3(static_cast<float>(Dot(axisU, p)),
                                      static_cast<float>(Dot(axisV, p)), 0.0f)));
        }
        if (line.IsClosed())
            flat.Close();
        int n = line.numPts;
        // Every segment the first phase walks: a closed polyline's last point starts
        // one too; a single point stands for a segment of no length.
        int count = line.IsClosed() ? n : std::max(n - 1, n == 1 ? 1 : 0);
        for (int k = 0; k < count; ++k) {
            const Point3& a = line[k].p;
            const Point3& b = line[(k + 1) % n].p;
            double au = Dot(axisU, a), av = Dot(axisV, a), bu = Dot(axisU, b), bv = Dot(axisV, b);
            segments.push_back({{std::min(au, bu), std::min(av, bv)},
                                {std::max(au, bu), std::max(av, bv)},
                                {au, av},
                                {bu, bv}});
            double span = std::hypot(bu - au, bv - av);
            longest = std::max(longest, span);
            if (!(a == b))
                bySpan.push_back({span, a, b});
        }
    }
    std::sort(bySpan.begin(), bySpan.end(),
              [](const ShortSegment& x, const ShortSegment& y) { return x.length < y.length; });
    // Entry numbers are ints; no shape that fits in memory comes near.
    if (segments.size() > static_cast<size_t>(INT_MAX) / kEntriesPerSegment)
        return;
    parity.emplace(across);
    usable = true;
    if (segments.empty())
        return;

    lowest[0] = lowest[1] = HUGE_VAL;
    double highest[2] = {-HUGE_VAL, -HUGE_VAL};
    for (const Segment& s : segments)
        for (int a = 0; a < 2; ++a) {
            lowest[a] = std::min(lowest[a], s.lo[a]);
            highest[a] = std::max(highest[a], s.hi[a]);
        }
    double extent = std::max(highest[0] - lowest[0], highest[1] - lowest[1]);
    double perSegment = extent / std::sqrt(static_cast<double>(segments.size()));
    cellSize = std::max({extent / kMostCells, perSegment, 1e-30});
    auto eachCell = [&](const Segment& s, auto&& take) {
        int x0, x1, y0, y1;
        CellRange(s.lo[0], s.hi[0], 0, x0, x1);
        CellRange(s.lo[1], s.hi[1], 1, y0, y1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) take(static_cast<size_t>(y) * cells[0] + x);
    };
    // Long segments in many cells each: coarser cells until the entries fit the budget
    // (one cell holds every segment once). Queries test each listed segment exactly,
    // so the grid changes only their speed.
    const std::uint64_t budget = std::min<std::uint64_t>(
        kEntriesPerSegment * segments.size() + kEntriesBeyondSegments, INT_MAX);
    for (;;) {
        for (int a = 0; a < 2; ++a)
            cells[a] =
                std::min(kMostCells, static_cast<int>((highest[a] - lowest[a]) / cellSize) + 1);
        std::uint64_t entries = 0;
        for (const Segment& s : segments) {
            int x0, x1, y0, y1;
            CellRange(s.lo[0], s.hi[0], 0, x0, x1);
            CellRange(s.lo[1], s.hi[1], 1, y0, y1);
            entries +=
                static_cast<std::uint64_t>(x1 - x0 + 1) * static_cast<std::uint64_t>(y1 - y0 + 1);
        }
        if (entries <= budget || (cells[0] == 1 && cells[1] == 1))
            break;
        cellSize *= 2.0;
    }
    cellStart.assign(static_cast<size_t>(cells[0]) * cells[1] + 1, 0);
    for (const Segment& s : segments) eachCell(s, [&](size_t c) { ++cellStart[c + 1]; });
    for (size_t c = 1; c < cellStart.size(); ++c) cellStart[c] += cellStart[c - 1];
    cellSegments.assign(static_cast<size_t>(cellStart.back()), 0);
    std::vector<int> filled(cellStart.begin(), cellStart.end() - 1);
    for (size_t i = 0; i < segments.size(); ++i)
        eachCell(segments[i], [&](size_t c) {
            cellSegments[static_cast<size_t>(filled[c]++)] = static_cast<int>(i);
        });
}

void FarShapeIndex::CellRange(double lo, double hi, int axis, int& first, int& last) const {
    double a = std::floor((lo - lowest[axis]) / cellSize);
    double b = std::floor((hi - lowest[axis]) / cellSize);
    first = static_cast<int>(std::min(std::max(a, 0.0), static_cast<double>(cells[axis] - 1)));
    last = static_cast<int>(std::min(std::max(b, 0.0), static_cast<double>(cells[axis] - 1)));
}

bool FarShapeIndex::Misses(const std::vector<Point3>& corners, const Point3& origin,
                           const Point3& normal, float across,
                           const ShortSegmentTest& mayHoldCorner, bool& inside) const {
    if (!usable || corners.size() < 3)
        return false;
    double slope = std::fabs(static_cast<double>(across));
    double normalZ = slope * (1.0 - 1e-5) - 1e-7;
    if (!(normalZ >= 0.01))
        return false;
    double n[3] = {normal.x, normal.y, normal.z};
    double nl = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(nl > 0.5) || !(nl < 2.0))
        return false;
    for (double& c : n) c /= nl;

    // The face across the direction, its bend out of its plane and its edges.
    double lo[2] = {HUGE_VAL, HUGE_VAL}, hi[2] = {-HUGE_VAL, -HUGE_VAL}, centre[2] = {0.0, 0.0};
    double bend = 0.0, edgeShortest = HUGE_VAL, edgeLongest = 0.0, largest = Magnitude(origin);
    size_t count = corners.size();
    for (size_t i = 0; i < count; ++i) {
        const Point3& c = corners[i];
        const Point3& next = corners[(i + 1) % count];
        double m = Magnitude(c);
        if (!(m <= kTameLimit))
            return false;
        largest = std::max(largest, m);
        double cu = Dot(axisU, c), cv = Dot(axisV, c);
        lo[0] = std::min(lo[0], cu);
        hi[0] = std::max(hi[0], cu);
        lo[1] = std::min(lo[1], cv);
        hi[1] = std::max(hi[1], cv);
        centre[0] += cu;
        centre[1] += cv;
        bend = std::max(bend, std::fabs(n[0] * (c.x - origin.x) + n[1] * (c.y - origin.y) +
                                        n[2] * (c.z - origin.z)));
        double edge = Magnitude(next - c);
        edgeShortest = std::min(edgeShortest, edge);
        edgeLongest = std::max(edgeLongest, edge);
    }
    centre[0] /= static_cast<double>(count);
    centre[1] /= static_cast<double>(count);

    // How far a computed frame point may lie from the exact one, and from the face's
    // plane there. The shape's points are projected first, which a face's own corners
    // are not: those take only the frame transform's rounding.
    double magnitude = std::max(largest, farthest);
    double projection = (magnitude + Magnitude(origin)) * 1.0001 / slope;
    double room = kFloatRoom * (magnitude + projection + Magnitude(origin)) + 1e-30;
    double slack = bend * 1.001 + room;
    double cornerRoom = kFloatRoom * (largest + Magnitude(origin)) + 1e-30;
    double cornerSlack = bend * 1.001 + cornerRoom;

    // The reach of the on-segment test for points in one plane (see the overlay's
    // plane bound), taken apart for the two kinds of segment: the face's edges, whose
    // ends are corners, and the shape's segments as projected. Shape segments so
    // short that rounding may turn them out of the plane are asked about directly;
    // the face's edges must be long enough.
    double longShape = longest / normalZ + 2.0 * room;
    double longEdge = edgeLongest + 2.0 * cornerRoom;
    double longEnough = 20.0 * slack + 2.0 * room;
    double shortestEdge = edgeShortest - 2.0 * cornerRoom;
    if (!(shortestEdge >= 20.0 * cornerSlack))
        return false;
    size_t shortCount = 0;
    while (shortCount < bySpan.size() &&
           !(bySpan[shortCount].length * (1.0 - 1e-6) - 2.0 * room >= longEnough))
        ++shortCount;
    // A short segment is also kept from the crossing test, which needs a cross product
    // of 1e-4 with an edge.
    if (shortCount > 0 &&
        !(1.01 * ((longEnough + 4.0 * room) / normalZ + 2.0 * room) * (edgeLongest + 2.0 * room) <
          0.9 * kSmallestCross))
        return false;
    // A shape point against an edge: the edge tilts out of the plane by its corners'
    // slack; the point and the edge's start lie within 2 slacks of each other's depth.
    // A corner against a shape segment: the segment tilts by the shape's slack.
    auto reachOver = [&](double r, double longestOfKind, double& k) {
        double acrossPlane = std::sqrt(1.0 - r * r) * normalZ;
        k = (kSine + r) / acrossPlane;
        double e = 2.0 * r * r / (1.0 - r * r) + 1e-12;
        return 1.01 *
               (k * longestOfKind + 2.0 * slack / acrossPlane + e * longestOfKind + 4.0 * slack) /
               (1.0 - k);
    };
    double rEdge = 2.0 * cornerSlack / shortestEdge;
    // Only the long segments meet the bound; without one, nothing tilts.
    double rShape = 0.0;
    if (shortCount < bySpan.size())
        rShape = 2.0 * slack / (bySpan[shortCount].length * (1.0 - 1e-6) - 2.0 * room);
    double kEdge = 1.0, kShape = 1.0;
    double reach =
        std::max(reachOver(rEdge, longEdge, kEdge), reachOver(rShape, longShape, kShape));
    if (!(kEdge <= 0.5) || !(kShape <= 0.5))
        return false;

    // The crossing test divides by the z part c of a cross product D x E, of a shape
    // segment and an edge, that it only knows to be at least 1e-4 long; each tilts
    // out of the plane by its own slack. Its products are rounded by at most
    // kCrossRoom times the product of their vectors' lengths, so a crossing it
    // declares has parameters off the lines' true meeting point by at most
    // A <= kCrossRoom |E| (|D| + |F|) / c along the segment and B <= kCrossRoom |D|
    // (|E| + |F|) / c along the edge, with F from the segment's start to the edge's
    // end and |F| <= (1 + A) |D| + (1 + B) |E|. With rho = kCrossRoom |D| |E| / c this puts
    // the segment and the edge within A |D| + B |E| <= 3 rho (|D| + |E|) (1 + 2 rho) /
    // (1 - 2 rho) of each other.
    double smallest =
        kSmallestCross * (normalZ - rEdge - rShape) - kCrossRoom * longShape * longEdge;
    // (Short segments never reach the crossing test's division, see above.)
    if (!(smallest > 0.0))
        return false;
    double rho = kCrossRoom * longShape * longEdge / smallest;
    if (!(rho <= 0.25))
        return false;
    double crossing =
        1.01 * 3.0 * rho * (longShape + longEdge) * (1.0 + 2.0 * rho) / (1.0 - 2.0 * rho);

    double margin =
        1.01 * (std::max(reach, crossing) + 2.0 * room) / (1.0 - kFloatRoom / normalZ) + 1e-9;
    if (!(margin <= kTameLimit))
        return false;
    double qlo[2] = {lo[0] - margin, lo[1] - margin}, qhi[2] = {hi[0] + margin, hi[1] + margin};
    if (!segments.empty()) {
        int x0, x1, y0, y1;
        CellRange(qlo[0], qhi[0], 0, x0, x1);
        CellRange(qlo[1], qhi[1], 1, y0, y1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                size_t c = static_cast<size_t>(y) * cells[0] + x;
                for (int i = cellStart[c]; i < cellStart[c + 1]; ++i) {
                    const Segment& s =
                        segments[static_cast<size_t>(cellSegments[static_cast<size_t>(i)])];
                    if (s.lo[0] <= qhi[0] && s.hi[0] >= qlo[0] && s.lo[1] <= qhi[1] &&
                        s.hi[1] >= qlo[1] && !PassesBeside(s.a, s.b, qlo, qhi))
                        return false;
                }
            }
    }
    for (size_t i = 0; i < shortCount; ++i)
        if (mayHoldCorner(bySpan[i].a, bySpan[i].b))
            return false;
    inside = parity->Contains(
        Point3(static_cast<float>(centre[0]), static_cast<float>(centre[1]), 0.0f));
    return true;
}
