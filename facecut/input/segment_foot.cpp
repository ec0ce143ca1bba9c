#include "facecut/input/segment_foot.h"

#include <cmath>

bool FootInside(const bstPoint& p, const bstPoint& a, const bstPoint& b, double margin,
                SegmentFoot& foot) {
    double ex = b.x - a.x;
    double ey = b.y - a.y;
    double length = std::sqrt(ex * ex + ey * ey);
    if (!(length > 2.0 * margin))
        return false;
    double along = ((p.x - a.x) * ex + (p.y - a.y) * ey) / length;
    if (!(along >= margin && along <= length - margin))
        return false;
    foot.t = along / length;
    foot.x = a.x + ex * foot.t;
    foot.y = a.y + ey * foot.t;
    double dx = p.x - foot.x;
    double dy = p.y - foot.y;
    foot.distance = std::sqrt(dx * dx + dy * dy);
    return true;
}
