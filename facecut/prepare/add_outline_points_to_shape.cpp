#include "facecut/prepare/add_outline_points_to_shape.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facecut/point3d.h"
#include "facecut/prepare/overlay_bounds.h"
#include "facecut/prepare/overlay_plane.h"

namespace {

// One flag per point k: whether segment (k, k + 1) might hold an outline point.
// Runs of segments out of reach of the whole outline are passed over at once.
std::vector<char> SegmentsNearOutline(const PolyLine& line, const OverlayBox& outlineBox,
                                      const OverlayPlane& plane, double outlineSlack,
                                      bool& anyNear) {
    int n = line.numPts;
    int segments = line.IsClosed() ? n : std::max(n - 1, 0);
    std::vector<char> near(static_cast<size_t>(n), 0);
    anyNear = false;
    char reaches[kOverlayRun];
    for (int first = 0; first < segments; first += kOverlayRun) {
        int count = std::min(kOverlayRun, segments - first);
        // Most segments of a long shape have the whole outline before or beyond them.
        bool anyReaches = false;
        for (int k = first; k < first + count; ++k) {
            reaches[k - first] = MayProjectOnto(outlineBox, AxisOf(line[k].p, line[(k + 1) % n].p));
            anyReaches = anyReaches || reaches[k - first];
        }
        if (!anyReaches)
            continue;
        RunBounds run = BoundsOfRun(plane, line, first, count + 1);
        double slack = std::max(outlineSlack, run.slack);
        if (!MayLieInsideOnPlane(plane, slack, outlineBox, run.box, run.lengths))
            continue;
        InsideReach runReach;
        WidenReachOverRun(runReach, line, first, count);
        if (!MayLieInside(outlineBox, run.box, runReach))
            continue;
        for (int k = first; k < first + count; ++k) {
            if (!reaches[k - first])
                continue;
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

// A segment that may hold an outline point, with the bounds that rule out single
// points quickly.
struct NearSegment {
    int k;  // the segment joins point k and the next
    OverlayBox box;
    InsideReach reach;
};

NearSegment NearSegmentAt(const PolyLine& line, int k) {
    NearSegment near{k, BoxOfRun(line, k, 2), InsideReach()};
    WidenReachOverRun(near.reach, line, k, 1);
    return near;
}

void AddOutlinePointsToLine(PolyLine& line, const PolyLine& outline, const OverlayBox& outlineBox,
                            const OverlayPlane& plane, double outlineSlack) {
    bool anyNear = false;
    std::vector<char> nearFlags =
        SegmentsNearOutline(line, outlineBox, plane, outlineSlack, anyNear);
    if (!anyNear)
        return;
    // In ascending order of k, as the walk over the line's segments meets them.
    std::vector<NearSegment> near;
    for (int k = 0; k < line.numPts; ++k)
        if (nearFlags[static_cast<size_t>(k)])
            near.push_back(NearSegmentAt(line, k));
    // A point sits inside one segment of a sane polyline, and inside no two pieces
    // of one split segment. Steep segments break that (the on-line test looks at x
    // and y of 3D directions), and then every outline point could double the
    // polyline. Inserting each outline point once per original segment bounds what
    // sane input can need.
    std::int64_t limit = static_cast<std::int64_t>(outline.numPts) * line.numPts;
    std::int64_t inserted = 0;
    std::vector<OverlayBlock> blocks = BlocksOf(near);
    for (int o = 0; o < outline.numPts; ++o) {
        Point3d p(outline[o].p);
        OverlayBox at = BoxOfPoint(p);
        for (size_t i = 0; i < near.size(); ++i) {
            if (i % kOverlayRun == 0) {
                const OverlayBlock& block = blocks[i / kOverlayRun];
                if (!MayLieInside(at, block.box, block.reach)) {
                    i += kOverlayRun - 1;
                    continue;
                }
            }
            int k = near[i].k;
            int next = (k + 1) % line.numPts;
            if (next < k && !line.IsClosed())
                continue;
            if (!MayLieInside(at, near[i].box, near[i].reach))
                continue;
            if (!p.StrictlyInside(Point3d(line[k].p), Point3d(line[next].p), false, 1e-10))
                continue;
            if (inserted == limit)
                return;
            line.Insert(next, outline[o]);
            ++inserted;
            // Both halves hold an outline point, so both stay near. The segments
            // after the new point move up by one; inserted at the front (the closing
            // segment was split), every segment does, and this one is met again.
            if (next == 0) {
                for (NearSegment& later : near) ++later.k;
                near[i] = NearSegmentAt(line, near[i].k);
                near.insert(near.begin(), NearSegmentAt(line, 0));
            } else {
                for (size_t j = i + 1; j < near.size(); ++j) ++near[j].k;
                near[i] = NearSegmentAt(line, k);
                near.insert(near.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                            NearSegmentAt(line, next));
            }
            blocks = BlocksOf(near);
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
