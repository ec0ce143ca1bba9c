#include "facecut/point_in_polyline.h"

#include "facecut/ray_crossing.h"

namespace {

int CrossingCount(const Point3& p, const PolyLine& line) {
    int count = 0;
    int n = line.numPts;
    for (int i = 0; i < n; ++i) {
        if (RayCrossesEdge(p, line[i].p, line[(i + 1) % n].p))
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
