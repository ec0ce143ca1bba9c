#include "facecut/add_shape_points_to_outline.h"

#include <algorithm>
#include <cstdint>

#include "facecut/overlay_bounds.h"
#include "facecut/overlay_plane.h"
#include "facecut/point3d.h"

namespace {

// A point sits inside one edge of a sane outline, and inside no two pieces of one
// split edge. Steep edges break that (the on-line test looks at x and y of 3D
// directions), and then every shape point could double the outline. Inserting
// each shape point once per original edge bounds what sane input can need.
std::int64_t InsertionLimit(int outlinePoints, const PolyShape& shape) {
    std::int64_t offered = 0;
    for (int i = 0; i < shape.numLines; ++i) offered += shape[i].numPts;
    return offered * outlinePoints;
}

}  // namespace

void AddShapePointsToOutline(PolyLine& outline, const PolyShape& shape) {
    // The outline's box and reach only grow, so points found out of reach would
    // not have been inserted anywhere.
    OverlayBox box = BoxOfLine(outline);
    InsideReach reach;
    WidenReachOverRun(reach, outline, 0, outline.numPts);
    // Like the box and the reach, the slack and the lengths only grow.
    OverlayPlane plane = PlaneOf(outline);
    double outlineSlack = SlackOfRun(plane, outline, 0, outline.numPts);
    SegmentLengths lengths = LengthsOfRun(outline, 0, outline.numPts);
    std::int64_t limit = InsertionLimit(outline.numPts, shape);
    std::int64_t inserted = 0;
    for (int i = 0; i < shape.numLines; ++i) {
        const PolyLine& line = shape[i];
        for (int first = 0; first < line.numPts; first += kOverlayRun) {
            int count = std::min(kOverlayRun, line.numPts - first);
            RunBounds run = BoundsOfRun(plane, line, first, count);
            double runSlack = std::max(outlineSlack, run.slack);
            if (!MayLieInsideOnPlane(plane, runSlack, run.box, box, lengths) || !MayLieInside(run.box, box, reach))
                continue;
            for (int j = first; j < first + count; ++j) {
                const PolyPt& shapePoint = line[j];
                Point3d p(shapePoint.p);
                OverlayBox at = BoxOfPoint(p);
                double pointSlack = std::max(outlineSlack, SlackOfRun(plane, line, j, 1));
                if (!MayLieInsideOnPlane(plane, pointSlack, at, box, lengths) || !MayLieInside(at, box, reach))
                    continue;
                for (int k = 0; k < outline.numPts; ++k) {
                    int next = (k + 1) % outline.numPts;
                    if (next < k && !outline.IsClosed())
                        continue;
                    Point3d a(outline[k].p);
                    Point3d b(outline[next].p);
                    if (p.SegmentPosition(a, b, false, 1e-10) != SEG_POS_INSIDE)
                        continue;
                    if (inserted == limit)
                        return;
                    WidenLengths(lengths, outline[k].p, shapePoint.p);
                    WidenLengths(lengths, shapePoint.p, outline[next].p);
                    outline.Insert(next, shapePoint);
                    ++inserted;
                    AddToBox(box, p);
                    WidenReach(reach, a, p);
                    WidenReach(reach, p, b);
                    outlineSlack = std::max(outlineSlack, pointSlack);
                }
            }
        }
    }
}
