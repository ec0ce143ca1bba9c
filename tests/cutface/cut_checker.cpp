#include "cut_checker.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

#include "contract/cut_mesh_flags.h"

namespace {

struct P2 {
    double x, y;
};

// The overlay's on-segment test takes a point as on a segment within a sine of
// 0.001 seen from the segment's start (with room for its rounding): a point that
// close to a line is taken into it, and the line or outline bends to it by up to
// this share of the segment's length.
constexpr double kOnLineSine = 0.0011;

struct Frame2 {
    Point3 u, v;
    P2 Map(const Point3& p) const { return P2{double(p % u), double(p % v)}; }
};

Frame2 FrameAcross(const Point3& d) {
    Point3 w = Normalize(d);
    Point3 helper = std::fabs(w.x) < 0.9f ? Point3(1, 0, 0) : Point3(0, 1, 0);
    Frame2 f;
    f.u = Normalize(helper ^ w);
    f.v = Normalize(w ^ f.u);
    return f;
}

double SignedArea(const std::vector<P2>& poly) {
    double a = 0.0;
    for (size_t i = 0; i < poly.size(); ++i) {
        const P2& p = poly[i];
        const P2& q = poly[(i + 1) % poly.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return 0.5 * a;
}

bool Inside(const P2& p, const std::vector<P2>& poly) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        if ((poly[i].y > p.y) != (poly[j].y > p.y) &&
            p.x < poly[i].x + (p.y - poly[i].y) / (poly[j].y - poly[i].y) * (poly[j].x - poly[i].x))
            in = !in;
    }
    return in;
}

double SegmentDistance(const P2& p, const P2& a, const P2& b) {
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t =
        len2 > 0.0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

// A box around a polygon or segment: a point farther from it than d is farther
// than d from everything inside, which spares the exact tests on large cuts.
struct Box2 {
    P2 lo{INFINITY, INFINITY}, hi{-INFINITY, -INFINITY};
    void Add(const P2& p) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
    }
    double Distance(const P2& p) const {
        double dx = std::max({lo.x - p.x, p.x - hi.x, 0.0}),
               dy = std::max({lo.y - p.y, p.y - hi.y, 0.0});
        return std::sqrt(dx * dx + dy * dy);
    }
};

double BoundaryDistance(const P2& p, const std::vector<P2>& poly) {
    double best = INFINITY;
    for (size_t i = 0; i < poly.size(); ++i)
        best = std::min(best, SegmentDistance(p, poly[i], poly[(i + 1) % poly.size()]));
    return best;
}

// Whether face f has area as its single-precision corners stand: the fan's cross
// products summed in double, where the products of float differences are exact, so
// that corners on one line give exactly zero.
bool HasArea(const MNMesh& m, int f) {
    const MNFace& face = m.f[f];
    const Point3& o = m.v[face.vtx[0]].p;
    double sum[3] = {0.0, 0.0, 0.0};
    for (int j = 1; j + 1 < face.deg; ++j) {
        const Point3& p = m.v[face.vtx[j]].p;
        const Point3& q = m.v[face.vtx[j + 1]].p;
        const double a[3] = {double(p.x) - o.x, double(p.y) - o.y, double(p.z) - o.z};
        const double b[3] = {double(q.x) - o.x, double(q.y) - o.y, double(q.z) - o.z};
        sum[0] += a[1] * b[2] - a[2] * b[1];
        sum[1] += a[2] * b[0] - a[0] * b[2];
        sum[2] += a[0] * b[1] - a[1] * b[0];
    }
    return sum[0] != 0.0 || sum[1] != 0.0 || sum[2] != 0.0;
}

std::vector<P2> Polygon(const MNMesh& m, int f, const Frame2& frame) {
    std::vector<P2> poly;
    for (int c : m.f[f].vtx) poly.push_back(frame.Map(m.v[c].p));
    return poly;
}

double AngleAt(const P2& a, const P2& b, const P2& c) {
    double ux = b.x - a.x, uy = b.y - a.y, vx = c.x - a.x, vy = c.y - a.y;
    double cosine = (ux * vx + uy * vy) / std::sqrt((ux * ux + uy * uy) * (vx * vx + vy * vy));
    return std::acos(std::clamp(cosine, -1.0, 1.0)) * 180.0 / M_PI;
}

}  // namespace

int CheckCut(const MNMesh& before, const MNMesh& after, int face, const PolyShape& shape,
             const CutExpectation& x) {
    std::string why;
    EXPECT_TRUE(after.CheckAllData(&why)) << why;
    std::vector<int> added;
    for (int f = before.numf; f < after.numf; ++f)
        if (!after.f[f].GetFlag(MN_DEAD))
            added.push_back(f);
    if (added.empty())
        return 0;
    EXPECT_TRUE(after.f[face].GetFlag(MN_DEAD)) << "a replaced face must go";

    Frame2 frame = FrameAcross(x.direction);
    std::vector<P2> old = Polygon(before, face, frame);
    double oldArea = SignedArea(old);
    double size = 0.0;
    for (const P2& p : old)
        size = std::max(size, std::max(std::fabs(p.x - old[0].x), std::fabs(p.y - old[0].y)));
    double tol = 1e-4 * std::max(size, 1e-6);

    // Tiling: the same area, each new face oriented like the old one, and every
    // sample point of the old face inside exactly one new face.
    std::vector<std::vector<P2>> polys;
    std::vector<Box2> boxes;
    double sum = 0.0;
    for (int f : added) {
        polys.push_back(Polygon(after, f, frame));
        boxes.emplace_back();
        for (const P2& p : polys.back()) boxes.back().Add(p);
        double a = SignedArea(polys.back());
        sum += a;
        EXPECT_GT(a * oldArea, -1e-12 * size * size) << "face " << f << " is reversed";
        EXPECT_TRUE(HasArea(after, f)) << "face " << f << " has no area";
    }
    // A shape point within the weld tolerance of a corner moves it to their
    // midpoint: allow the area that shift can sweep.
    double perimeter = 0.0;
    for (size_t i = 0; i < old.size(); ++i) {
        const P2& p = old[i];
        const P2& q = old[(i + 1) % old.size()];
        perimeter += std::hypot(q.x - p.x, q.y - p.y);
    }
    // New points are kept in single precision: one on an edge may sit a rounding
    // step off it, which on a sliver is a fair part of the area.
    double magnitude = 0.0;
    for (const P2& p : old)
        magnitude = std::max(magnitude, std::max(std::fabs(p.x), std::fabs(p.y)));
    double rounding = FLT_EPSILON * magnitude * perimeter;
    // A shape point within the on-segment angle of an edge bends the outline to it.
    double bent = 0.0, longestEdge = 0.0;
    for (size_t i = 0; i < old.size(); ++i) {
        const P2& p = old[i];
        const P2& q = old[(i + 1) % old.size()];
        double length = std::hypot(q.x - p.x, q.y - p.y);
        bent += 0.5 * kOnLineSine * length * length;
        longestEdge = std::max(longestEdge, length);
    }
    EXPECT_NEAR(sum, oldArea,
                1e-5 * std::fabs(oldArea) + 1e-9 + 0.5 * x.weld * perimeter + rounding + bent)
        << "new faces do not cover the face";
    std::mt19937 rng(face * 7919u + 17u);
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    for (const P2& p : old) {
        lo[0] = std::min(lo[0], p.x);
        hi[0] = std::max(hi[0], p.x);
        lo[1] = std::min(lo[1], p.y);
        hi[1] = std::max(hi[1], p.y);
    }
    std::uniform_real_distribution<double> ux(lo[0], hi[0]), uy(lo[1], hi[1]);
    // The weld merges an outline point with the points beside it at their running
    // midpoint, and snaps its x to a neighbour's: the new faces may leave a band
    // that wide along the old outline, which the mesh's weld of the same threshold
    // closes; and a shape point within the on-segment angle of an edge bends the
    // outline to it. The samples keep out of both.
    const double band = 10 * tol + 2.0 * x.weld + kOnLineSine * longestEdge;
    for (int sample = 0, tries = 0; sample < 200 && tries < 4000; ++tries) {
        P2 p{ux(rng), uy(rng)};
        if (!Inside(p, old) || BoundaryDistance(p, old) < band)
            continue;
        bool nearEdge = false;
        int covering = 0;
        for (size_t k = 0; k < polys.size(); ++k) {
            if (boxes[k].Distance(p) >= 10 * tol)
                continue;
            if (BoundaryDistance(p, polys[k]) < 10 * tol)
                nearEdge = true;
            if (Inside(p, polys[k]))
                ++covering;
        }
        if (nearEdge)
            continue;
        ++sample;
        EXPECT_EQ(covering, 1) << "point (" << p.x << ", " << p.y << ") is covered " << covering
                               << " times";
    }

    // New vertices stay in a planar face's plane.
    if (x.inPlane) {
        Point3 n = before.GetFaceNormal(face, true);
        Point3 o = before.v[before.f[face].vtx[0]].p;
        for (int vv = before.numv; vv < after.numv; ++vv) {
            if (!after.v[vv].GetFlag(MN_DEAD)) {
                EXPECT_LE(std::fabs((after.v[vv].p - o) % n), 1e-4 * std::max(size, 1.0))
                    << "vertex " << vv;
            }
        }
    }

    // Selected edges: exactly the shape's lines inside the face. The weld moves
    // points: to running midpoints, and along x in runs of points closer than its
    // tolerance, so allow a few tolerances.
    double lineTol = 10 * tol + 4.0 * x.weld;
    std::vector<std::pair<P2, P2>> cutEdges, shapeSegments;
    // How far the line may bend off each shape segment.
    std::vector<double> bend;
    std::vector<Box2> cutEdgeBoxes;
    for (int f : added)
        for (int ed : after.f[f].edg)
            if (after.e[ed].GetFlag(MN_SEL)) {
                cutEdges.push_back(
                    {frame.Map(after.v[after.e[ed].v1].p), frame.Map(after.v[after.e[ed].v2].p)});
                cutEdgeBoxes.emplace_back();
                cutEdgeBoxes.back().Add(cutEdges.back().first);
                cutEdgeBoxes.back().Add(cutEdges.back().second);
            }
    for (int i = 0; i < shape.numLines; ++i) {
        const PolyLine& line = shape.lines[i];
        int segments = line.IsClosed() ? line.numPts : line.numPts - 1;
        for (int j = 0; j < segments; ++j) {
            const Point3& a = line.pts[j].p;
            const Point3& b = line.pts[(j + 1) % line.numPts].p;
            shapeSegments.push_back({frame.Map(a), frame.Map(b)});
            bend.push_back(kOnLineSine * Length(b - a));
        }
    }
    for (const auto& [a, b] : cutEdges) {
        P2 mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
        double best = INFINITY;
        for (size_t k = 0; k < shapeSegments.size(); ++k)
            best = std::min(
                best,
                SegmentDistance(mid, shapeSegments[k].first, shapeSegments[k].second) - bend[k]);
        EXPECT_LT(best, lineTol) << "a selected edge lies off the shape";
    }
    if (x.shapeSelected)
        for (size_t j = 0; j < shapeSegments.size(); ++j) {
            const auto& [s, t] = shapeSegments[j];
            // A segment seen end-on, or between two equal points, is a point: no
            // edge can run along it. One no longer than the weld's tolerance (and
            // its rounding) may be welded into a point.
            if (s.x == t.x && s.y == t.y)
                continue;
            if (x.weld > 0.0f && std::hypot(t.x - s.x, t.y - s.y) <= x.weld + 10 * tol)
                continue;
            const double allowed = lineTol + bend[j];
            for (int k = 1; k < 50; ++k) {
                P2 p{s.x + (t.x - s.x) * k / 50.0, s.y + (t.y - s.y) * k / 50.0};
                if (!Inside(p, old) || BoundaryDistance(p, old) < allowed)
                    continue;
                double best = INFINITY;
                for (size_t e = 0; e < cutEdges.size(); ++e)
                    if (cutEdgeBoxes[e].Distance(p) < best)
                        best = std::min(best,
                                        SegmentDistance(p, cutEdges[e].first, cutEdges[e].second));
                EXPECT_LT(best, allowed)
                    << "the shape at (" << p.x << ", " << p.y << ") is not a selected edge";
            }
        }

    // Angles, where the triangles are kept: a small angle must be one the input
    // forces, between two constrained edges.
    if (x.triangles && x.minAngle > 0.0f)
        for (int f : added) {
            const MNFace& tri = after.f[f];
            EXPECT_EQ(tri.deg, 3);
            if (tri.deg != 3)
                continue;
            for (int k = 0; k < 3; ++k) {
                P2 a = frame.Map(after.v[tri.vtx[k]].p),
                   b = frame.Map(after.v[tri.vtx[(k + 1) % 3]].p),
                   c = frame.Map(after.v[tri.vtx[(k + 2) % 3]].p);
                double angle = AngleAt(a, b, c);
                if (angle >= x.minAngle - 0.5)
                    continue;
                DWORD constrained = cutflags::kCutLineEdge | cutflags::kOutlineEdge;
                bool forced = (after.e[tri.edg[k]].flags & constrained) &&
                              (after.e[tri.edg[(k + 2) % 3]].flags & constrained);
                EXPECT_TRUE(forced) << "face " << f << " has an angle of " << angle << " degrees";
            }
        }
    return static_cast<int>(added.size());
}
