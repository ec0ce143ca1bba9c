// Conservative bounds that let the overlay operations skip points and segments
// that provably cannot change their results.
//
// Each test answers "may": false only when the exact test is certain to fail,
// its rounding included. Anything not a number, infinite or beyond 1e30 in
// magnitude makes the answer true, so that the exact test decides.
#pragma once

#include <algorithm>
#include <vector>

#include "facecut/point3d.h"
#include "point3.h"
#include "polyshp.h"

// Points are bounded in runs of this many segments.
constexpr int kOverlayRun = 16;

// An axis-aligned box of points.
struct OverlayBox {
    double lo[3] = {0.0, 0.0, 0.0};
    double hi[3] = {0.0, 0.0, 0.0};
    bool empty = true;
    bool tame = true;  // every coordinate added so far is finite and at most 1e30
};

void AddToBox(OverlayBox& box, const Point3d& p);
OverlayBox BoxOfPoint(const Point3d& p);
OverlayBox BoxOfLine(const PolyLine& line);
// The box of count points of line from first on, wrapping past the last point.
OverlayBox BoxOfRun(const PolyLine& line, int first, int count);
// The box from the corners a walk over single-precision points found; tame says
// whether every coordinate walked was at most 1e30 in magnitude.
OverlayBox BoxOfCorners(const Point3& lo, const Point3& hi, bool tame);

// How far across x and y a point may lie from a segment and still be placed
// strictly inside it by Point3d::SegmentPosition (tolerance 1e-10): at most
// k0 + k1 * dz, where dz bounds the point's depth distance from the segment.
// The sine test reaches farther the steeper the segment is along z; a segment
// that runs almost along z leaves the reach unbounded.
struct InsideReach {
    double k0 = 0.0;
    double k1 = 0.0;
    bool bounded = true;
};

// Widens reach to cover the segment a->b, given as the classification sees it
// (z set to 0 for the flat form).
void WidenReach(InsideReach& reach, const Point3d& a, const Point3d& b);
// Widens reach to cover count segments of line from first on (segment k joins
// point k and the next, wrapping past the last point).
void WidenReachOverRun(InsideReach& reach, const PolyLine& line, int first, int count);

// The x-y distance from the box of a segment that reach covers beyond which no
// point can be placed inside it: for points at most depth away from it in z and
// coordinates at most scale in magnitude. Infinite when the reach is unbounded.
double ReachDistance(const InsideReach& reach, double depth, double scale);

// False only when no point in points can be placed strictly inside any segment
// whose ends lie in segments and which reach covers.
bool MayLieInside(const OverlayBox& points, const OverlayBox& segments, const InsideReach& reach);

// A segment a->b as the inside test measures a point's position along it:
// t = (p - a) . along, with along = (b - a) / |b - a|^2, in 3D.
struct SegmentAxis {
    double start[3] = {0.0, 0.0, 0.0};
    double along[3] = {0.0, 0.0, 0.0};
    double inverseLength = 0.0;  // at least 1 / |b - a|
    bool measurable = false;     // false for segments too short or too long to bound
};

SegmentAxis AxisOf(const Point3& a, const Point3& b);

// False only when every point in points lies so far before the segment's start or
// beyond its end that Point3d::StrictlyInside (not flat) rules it out.
bool MayProjectOnto(const OverlayBox& points, const SegmentAxis& axis);

// Items with a box and a reach (segments that may take a point inside them),
// bounded in blocks of kOverlayRun in their order: a point out of reach of a
// block's box with the block's widest reach is out of reach of each of its items
// (the reach grows with the depth and the size the box covers).
struct OverlayBlock {
    OverlayBox box;
    InsideReach reach;
};

// Widens into to cover box.
void IncludeBox(OverlayBox& into, const OverlayBox& box);

template <class Item>
std::vector<OverlayBlock> BlocksOf(const std::vector<Item>& items) {
    std::vector<OverlayBlock> blocks((items.size() + kOverlayRun - 1) / kOverlayRun);
    for (size_t i = 0; i < items.size(); ++i) {
        OverlayBlock& block = blocks[i / kOverlayRun];
        IncludeBox(block.box, items[i].box);
        block.reach.k0 = std::max(block.reach.k0, items[i].reach.k0);
        block.reach.k1 = std::max(block.reach.k1, items[i].reach.k1);
        block.reach.bounded = block.reach.bounded && items[i].reach.bounded;
    }
    return blocks;
}

// False only when PointInPolyline is false for every point in points and every
// polyline whose points all lie in box.
bool MayBeInsidePolyline(const OverlayBox& points, const OverlayBox& box);

// False only when the crossing test of ShapeCutsOutline fails for the shape
// segment a->b against every edge whose ends lie in box.
bool MayCrossEdgesIn(const Point3& a, const Point3& b, const OverlayBox& box);

// An outline edge's line as the crossing test of ShapeCutsOutline sees it: the
// edge's end q and its direction e = q - p.
struct EdgeLine {
    double qx = 0.0;
    double qy = 0.0;
    double ex = 0.0;
    double ey = 0.0;
    double length = 0.0;  // of (ex, ey)
    bool tame = true;
};

std::vector<EdgeLine> EdgeLinesOf(const PolyLine& outline);

// False only when the crossing test of ShapeCutsOutline fails for every shape
// segment with both ends in run against every edge of the outline.
bool MayCrossOutline(const OverlayBox& run, const std::vector<EdgeLine>& edges);
