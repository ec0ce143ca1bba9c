#include "facecut/nearest_on_segment.h"

#include <algorithm>
#include <cmath>

NearestOnSegment NearestOnSegmentXY(double x, double y, const Point3& a, const Point3& b) {
    double ex = static_cast<double>(b.x) - a.x, ey = static_cast<double>(b.y) - a.y;
    double px = x - a.x, py = y - a.y;
    double squared = ex * ex + ey * ey;
    double t = squared > 0.0 ? std::min(1.0, std::max(0.0, (px * ex + py * ey) / squared)) : 0.0;
    return {t, std::hypot(px - t * ex, py - t * ey)};
}

NearestOnSegment NearestOnSegment3D(const Point3& p, const Point3& a, const Point3& b) {
    double e[3], q[3];
    double squared = 0.0, along = 0.0;
    for (int k = 0; k < 3; ++k) {
        e[k] = static_cast<double>(b[k]) - a[k];
        q[k] = static_cast<double>(p[k]) - a[k];
        squared += e[k] * e[k];
        along += q[k] * e[k];
    }
    double t = squared > 0.0 ? std::min(1.0, std::max(0.0, along / squared)) : 0.0;
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) sum += (q[k] - t * e[k]) * (q[k] - t * e[k]);
    return {t, std::sqrt(sum)};
}
