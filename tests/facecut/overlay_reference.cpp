#include "overlay_reference.h"

#include <cstdint>

#include "facecut/point3d.h"
#include "facecut/point_in_polyline.h"
#include "facecut/prepare/segment_spans_outline.h"

void ReferenceAddShapePointsToOutline(PolyLine& outline, const PolyShape& shape) {
    std::int64_t offered = 0;
    for (int i = 0; i < shape.numLines; ++i) offered += shape[i].numPts;
    std::int64_t room = offered * outline.numPts;
    for (int i = 0; i < shape.numLines; ++i) {
        for (int j = 0; j < shape[i].numPts; ++j) {
            Point3d p(shape[i][j].p);
            for (int k = 0; k < outline.numPts; ++k) {
                int next = (k + 1) % outline.numPts;
                if (next < k && !outline.IsClosed())
                    continue;
                // Inside as seen from both ends of the edge.
                if (p.SegmentPosition(Point3d(outline[k].p), Point3d(outline[next].p), false,
                                      1e-10) != 4 ||
                    p.SegmentPosition(Point3d(outline[next].p), Point3d(outline[k].p), false,
                                      1e-10) != 4)
                    continue;
                if (room-- == 0)
                    return;
                outline.Insert(next, shape[i][j]);
            }
        }
    }
}

void ReferenceAddOutlinePointsToShape(PolyShape& shape, const PolyLine& outline) {
    for (int i = 0; i < shape.numLines; ++i) {
        PolyLine& line = shape[i];
        std::int64_t room = static_cast<std::int64_t>(outline.numPts) * line.numPts;
        for (int o = 0; o < outline.numPts && room >= 0; ++o) {
            Point3d p(outline[o].p);
            for (int k = 0; k < line.numPts; ++k) {
                int next = (k + 1) % line.numPts;
                if (next < k && !line.IsClosed())
                    continue;
                if (p.SegmentPosition(Point3d(line[k].p), Point3d(line[next].p), false, 1e-10) != 4)
                    continue;
                if (room-- == 0)
                    break;
                line.Insert(next, outline[o]);
            }
        }
    }
}

bool ReferenceShapeCutsOutline(const PolyLine& outline, const PolyShape& shape) {
    for (int i = 0; i < shape.numLines; ++i) {
        const PolyLine& line = shape[i];
        int n = line.numPts;
        for (int j = 0; j < n; ++j) {
            int next = (j + 1) % n;
            if (!line.IsClosed() && next == 0)
                break;
            Point3 a = line[j].p;
            Point3 b = line[next].p;
            if (PointInPolyline(a, outline))
                return true;
            Point3 d = b - a;
            int m = outline.numPts;
            for (int k = 0; k < m; ++k) {
                Point3 p = outline[k].p;
                Point3 q = outline[(k + 1) % m].p;
                Point3 e = q - p;
                Point3 f = q - a;
                Point3 c = d ^ e;
                if (c.Length() < 0.0001f)
                    continue;
                float sigma = (d ^ f).z / c.z;
                float mu = (f ^ e).z / c.z;
                if (sigma >= 0.0001f && sigma <= 0.9999f && mu >= 0.0001f && mu <= 0.9999f)
                    return true;
            }
            if (SegmentSpansOutline(a, b, outline))
                return true;
        }
    }
    return false;
}
