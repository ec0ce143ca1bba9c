// A bound for the overlay's on-segment test that holds when the outline and the
// shape lie in one plane, as a shape projected onto the face does: there a point
// is placed inside a segment only within a short x-y reach of it, however steep
// the plane, while the depth-based reach of InsideReach grows with the plane's
// slope times the distance.
#pragma once

#include <cmath>

#include "facecut/prepare/overlay_bounds.h"
#include "polyshp.h"

// The outline's plane: Newell's unit normal through the outline's mean point.
struct OverlayPlane {
    double normal[3] = {0.0, 0.0, 0.0};
    double centre[3] = {0.0, 0.0, 0.0};
    bool usable = false;  // false when the outline has no area or is not tame
};

OverlayPlane PlaneOf(const PolyLine& outline);

// How far count points of line from first on (wrapping past the last point) may
// lie from the plane, double rounding included. Infinite for anything not a
// number or beyond 1e30.
double SlackOfRun(const OverlayPlane& plane, const PolyLine& line, int first, int count);

// The squared 3D lengths of count segments of line from first on (segment k joins
// point k and the next, wrapping past the last point), shortest and longest.
struct SegmentLengths {
    double shortestSquared = HUGE_VAL;
    double longestSquared = 0.0;
};
SegmentLengths LengthsOfRun(const PolyLine& line, int first, int count);
// Widens lengths to cover the segment from a to b.
void WidenLengths(SegmentLengths& lengths, const Point3& a, const Point3& b);

// The box of count points of line from first on (as BoxOfRun gives it), how far
// they may lie from the plane (as SlackOfRun gives it) and the lengths of the
// count - 1 segments between them, in one pass.
struct RunBounds {
    OverlayBox box;
    double slack = 0.0;
    SegmentLengths lengths;
};
RunBounds BoundsOfRun(const OverlayPlane& plane, const PolyLine& line, int first, int count);

// False only when no point in points can be placed strictly inside any segment
// whose ends lie in segments and whose lengths lengths bounds, when every one of
// those points and ends lies within slack of the plane.
bool MayLieInsideOnPlane(const OverlayPlane& plane, double slack, const OverlayBox& points,
                         const OverlayBox& segments, const SegmentLengths& lengths);
