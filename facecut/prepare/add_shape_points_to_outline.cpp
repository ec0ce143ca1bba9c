#include "facecut/prepare/add_shape_points_to_outline.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facecut/point3d.h"
#include "facecut/prepare/overlay_bounds.h"
#include "facecut/prepare/overlay_plane.h"

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

// Up to this many edges, runs are first tried along each edge.
constexpr size_t kFewEdges = 8;

// An outline edge (from point k to the next) with the bounds that rule out single
// points quickly, and runs of points that lie before or beyond it.
struct EdgeBounds {
    OverlayBox box;
    InsideReach reach;
    SegmentAxis axis;
};

EdgeBounds EdgeBoundsAt(const PolyLine& outline, int k) {
    EdgeBounds edge{BoxOfRun(outline, k, 2), InsideReach(),
                    AxisOf(outline[k].p, outline[(k + 1) % outline.numPts].p)};
    WidenReachOverRun(edge.reach, outline, k, 1);
    return edge;
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
    std::vector<EdgeBounds> edges;
    for (int k = 0; k < outline.numPts; ++k) edges.push_back(EdgeBoundsAt(outline, k));
    // On an outline the shape has filled, a point is first tried against blocks of edges.
    std::vector<OverlayBlock> blocks = BlocksOf(edges);
    std::int64_t limit = InsertionLimit(outline.numPts, shape);
    std::int64_t inserted = 0;
    for (int i = 0; i < shape.numLines; ++i) {
        const PolyLine& line = shape[i];
        for (int first = 0; first < line.numPts; first += kOverlayRun) {
            int count = std::min(kOverlayRun, line.numPts - first);
            RunBounds run = BoundsOfRun(plane, line, first, count);
            auto beforeOrBeyondEveryEdge = [&edges, &run] {
                return std::none_of(edges.begin(), edges.end(), [&run](const EdgeBounds& edge) {
                    return MayProjectOnto(run.box, edge.axis);
                });
            };
            // A look along each edge costs less than the whole outline's bounds on a
            // face of a few corners, and more on an outline the shape has filled.
            bool fewEdges = edges.size() <= kFewEdges;
            if (fewEdges && beforeOrBeyondEveryEdge())
                continue;
            double runSlack = std::max(outlineSlack, run.slack);
            if (!MayLieInsideOnPlane(plane, runSlack, run.box, box, lengths) ||
                !MayLieInside(run.box, box, reach))
                continue;
            if (!fewEdges && beforeOrBeyondEveryEdge())
                continue;
            for (int j = first; j < first + count; ++j) {
                const PolyPt& shapePoint = line[j];
                Point3d p(shapePoint.p);
                OverlayBox at = BoxOfPoint(p);
                double pointSlack = std::max(outlineSlack, SlackOfRun(plane, line, j, 1));
                if (!MayLieInsideOnPlane(plane, pointSlack, at, box, lengths) ||
                    !MayLieInside(at, box, reach))
                    continue;
                for (size_t e = 0; e < edges.size(); ++e) {
                    if (edges.size() > kFewEdges && e % kOverlayRun == 0) {
                        const OverlayBlock& block = blocks[e / kOverlayRun];
                        if (!MayLieInside(at, block.box, block.reach)) {
                            e += kOverlayRun - 1;
                            continue;
                        }
                    }
                    int k = static_cast<int>(e);
                    int next = (k + 1) % outline.numPts;
                    if (next < k && !outline.IsClosed())
                        continue;
                    if (!MayLieInside(at, edges[e].box, edges[e].reach))
                        continue;
                    Point3d a(outline[k].p);
                    Point3d b(outline[next].p);
                    // Inside as seen from both ends. The sine tolerance is an angle at
                    // the first: seen from far away, a point well off the edge near its
                    // other end counts as on it, and so does the next point of a dense
                    // line beside the one just taken in, until the outline has followed
                    // the line into the face.
                    if (!p.StrictlyInside(a, b, false, 1e-10) ||
                        !p.StrictlyInside(b, a, false, 1e-10))
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
                    // The edge's two pieces; inserted at the front (the closing edge
                    // was split), the pieces are the last edge and the first, and the
                    // walk meets the last again.
                    if (next == 0) {
                        edges.insert(edges.begin(), EdgeBoundsAt(outline, 0));
                        edges.back() = EdgeBoundsAt(outline, outline.numPts - 1);
                    } else {
                        edges[e] = EdgeBoundsAt(outline, k);
                        edges.insert(edges.begin() + static_cast<std::ptrdiff_t>(e) + 1,
                                     EdgeBoundsAt(outline, next));
                    }
                    blocks = BlocksOf(edges);
                }
            }
        }
    }
}
