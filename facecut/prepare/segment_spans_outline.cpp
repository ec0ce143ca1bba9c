#include "facecut/prepare/segment_spans_outline.h"

#include "facecut/point3d.h"
#include "facecut/point_in_polyline.h"

namespace {

// Whether p lies at an outline point in x and y: an outline corner, or a point the
// overlay inserted into the outline.
bool IsOutlinePoint(const Point3& p, const PolyLine& outline) {
    for (int k = 0; k < outline.numPts; ++k) {
        double dx = static_cast<double>(p.x) - outline[k].p.x;
        double dy = static_cast<double>(p.y) - outline[k].p.y;
        if (dx * dx + dy * dy < 1e-20)
            return true;
    }
    return false;
}

}  // namespace

bool SegmentSpansOutline(const Point3& a, const Point3& b, const PolyLine& outline) {
    if (!IsOutlinePoint(a, outline) || !IsOutlinePoint(b, outline))
        return false;
    Point3 mid = (a + b) * 0.5f;
    if (!PointInPolyline(mid, outline))
        return false;
    Point3d m(mid);
    int n = outline.numPts;
    for (int k = 0; k < n; ++k) {
        int code =
            m.SegmentPosition(Point3d(outline[k].p), Point3d(outline[(k + 1) % n].p), true, 1e-10);
        if (code == SEG_POS_INSIDE || code == SEG_POS_AT_START || code == SEG_POS_AT_END)
            return false;
    }
    return true;
}
