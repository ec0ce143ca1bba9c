#include "facecut/add_outline_points_to_shape.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facecut/overlay_bounds.h"
#include "facecut/overlay_plane.h"
#include "facecut/point3d.h"

namespace {

// One flag per point k: whether segment (k, k + 1) might hold an outline point.
// Runs of segments out of reach of the whole outline are passed over at once.
std::vector<char> SegmentsNearOutline(const PolyLine& line, const OverlayBox& outlineBox,
                                      const OverlayPlane& plane, double outlineSlack, bool& anyNear) {
    int n = line.numPts;
    int segments = line.IsClosed() ? n : std::max(n - 1, 0);
    std::vector<char> near(static_cast<size_t>(n), 0);
    anyNear = false;
    for (int first = 0; first < segments; first += kOverlayRun) {
        int count = std::min(kOverlayRun, segments - first);
        RunBounds run = BoundsOfRun(plane, line, first, count + 1);
        double slack = std::max(outlineSlack, run.slack);
        if (!MayLieInsideOnPlane(plane, slack, outlineBox, run.box, run.lengths))
            continue;
        InsideReach runReach;
        WidenReachOverRun(runReach, line, first, count);
        if (!MayLieInside(outlineBox, run.box, runReach))
            continue;
        for (int k = first; k < first + count; ++k) {
            OverlayBox box = BoxOfRun(line, k, 2);
            if (!MayLieInsideOnPlane(plane, slack, outlineBox, box, LengthsOfRun(line, k, 1)))
                continue;
            InsideReach reach;
            WidenReachOverRun(reach, line, k, 1);
            if (MayLieInside(outlineBox, box, reach)) {
                near[static_cast<size_t>(k)] = 1;
                anyNear = true;
            }
        }
    }
    return near;
}

void AddOutlinePointsToLine(PolyLine& line, const PolyLine& outline, const OverlayBox& outlineBox,
                            const OverlayPlane& plane, double outlineSlack) {
    bool anyNear = false;
    std::vector<char> near = SegmentsNearOutline(line, outlineBox, plane, outlineSlack, anyNear);
    if (!anyNear)
        return;
    // A point sits inside one segment of a sane polyline, and inside no two pieces
    // of one split segment. Steep segments break that (the on-line test looks at x
    // and y of 3D directions), and then every outline point could double the
    // polyline. Inserting each outline point once per original segment bounds what
    // sane input can need.
    std::int64_t limit = static_cast<std::int64_t>(outline.numPts) * line.numPts;
    std::int64_t inserted = 0;
    for (int o = 0; o < outline.numPts; ++o) {
        Point3d p(outline[o].p);
        for (int k = 0; k < line.numPts; ++k) {
            if (!near[static_cast<size_t>(k)])
                continue;
            int next = (k + 1) % line.numPts;
            if (next < k && !line.IsClosed())
                continue;
            if (p.SegmentPosition(Point3d(line[k].p), Point3d(line[next].p), false, 1e-10) !=
                SEG_POS_INSIDE)
                continue;
            if (inserted == limit)
                return;
            line.Insert(next, outline[o]);
            ++inserted;
            // Both halves hold an outline point, so both stay near; the flags move
            // with the points.
            near.insert(near.begin() + next, 1);
        }
    }
}

}  // namespace

void AddOutlinePointsToShape(PolyShape& shape, const PolyLine& outline) {
    OverlayBox outlineBox = BoxOfLine(outline);
    OverlayPlane plane = PlaneOf(outline);
    double outlineSlack = SlackOfRun(plane, outline, 0, outline.numPts);
    for (int i = 0; i < shape.numLines; ++i)
        AddOutlinePointsToLine(shape[i], outline, outlineBox, plane, outlineSlack);
}
