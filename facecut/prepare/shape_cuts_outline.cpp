#include "facecut/prepare/shape_cuts_outline.h"

#include <algorithm>
#include <vector>

#include "facecut/point_in_polyline.h"
#include "facecut/prepare/overlay_bounds.h"
#include "facecut/prepare/segment_spans_outline.h"

namespace {

// Up to this many outline edges, a run of segments is first tried against each edge.
constexpr size_t kFewEdges = 8;

bool SegmentCrossesOutline(const Point3& a, const Point3& b, const PolyLine& outline) {
    Point3 d = b - a;
    int m = outline.numPts;
    for (int k = 0; k < m; ++k) {
        const Point3& p = outline[k].p;
        const Point3& q = outline[(k + 1) % m].p;
        Point3 e = q - p;
        Point3 f = q - a;
        Point3 c = d ^ e;
        if (c.Length() < 0.0001f)
            continue;
        // sigma runs along the edge from q back to p, mu along the segment from a.
        float sigma = (d ^ f).z / c.z;
        float mu = (f ^ e).z / c.z;
        if (sigma >= 0.0001f && sigma <= 0.9999f && mu >= 0.0001f && mu <= 0.9999f)
            return true;
    }
    return false;
}

}  // namespace

bool ShapeCutsOutline(const PolyLine& outline, const PolyShape& shape) {
    OverlayBox outlineBox = BoxOfLine(outline);
    std::vector<EdgeLine> edges = EdgeLinesOf(outline);
    for (int i = 0; i < shape.numLines; ++i) {
        const PolyLine& line = shape[i];
        int n = line.numPts;
        // The last point of an open polyline starts no segment and is not tested.
        int segments = line.IsClosed() ? n : std::max(n - 1, 0);
        // Whether segment j may start inside the outline or cross one of its edges.
        auto segmentMayCut = [&](int j) {
            const Point3& a = line[j].p;
            return MayBeInsidePolyline(BoxOfPoint(Point3d(a)), outlineBox) ||
                   MayCrossEdgesIn(a, line[(j + 1) % n].p, outlineBox);
        };
        for (int first = 0; first < segments; first += kOverlayRun) {
            int count = std::min(kOverlayRun, segments - first);
            OverlayBox run = BoxOfRun(line, first, count + 1);
            if (!MayBeInsidePolyline(run, outlineBox)) {
                // Against an outline the shape has filled with points, the segments'
                // own bounds cost less than a look along every edge.
                if (edges.size() > kFewEdges) {
                    bool any = false;
                    for (int j = first; j < first + count && !any; ++j) any = segmentMayCut(j);
                    if (!any)
                        continue;
                }
                if (!MayCrossOutline(run, edges))
                    continue;
            }
            for (int j = first; j < first + count; ++j) {
                const Point3& a = line[j].p;
                const Point3& b = line[(j + 1) % n].p;
                if (!segmentMayCut(j))
                    continue;
                if (PointInPolyline(a, outline))
                    return true;
                if (SegmentCrossesOutline(a, b, outline))
                    return true;
                if (SegmentSpansOutline(a, b, outline))
                    return true;
            }
        }
    }
    return false;
}
