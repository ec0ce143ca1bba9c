#include "facecut/point_in_polyline.h"

namespace {

int CrossingCount(const Point3& p, const PolyLine& line) {
    int count = 0;
    int n = line.numPts;
    for (int i = 0; i < n; ++i) {
        const Point3& pi = line[i].p;
        const Point3& pj = line[(i + 1) % n].p;
        if ((pi.y > p.y) == (pj.y > p.y))
            continue;
        float crossing = pi.x + (p.y - pi.y) / (pj.y - pi.y) * (pj.x - pi.x);
        if (crossing > p.x)
            ++count;
    }
    return count;
}

}  // namespace

bool PointInPolyline(const Point3& p, const PolyLine& line) {
    return CrossingCount(p, line) % 2 == 1;
}

bool PointInClosedLines(const Point3& p, const PolyShape& shape) {
    bool inside = false;
    for (int i = 0; i < shape.numLines; ++i) {
        if (!shape[i].IsClosed())
            continue;
        if (CrossingCount(p, shape[i]) % 2 == 1)
            inside = !inside;
    }
    return inside;
}
