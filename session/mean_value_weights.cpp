#include "session/mean_value_weights.h"

#include <cmath>
#include <cstddef>

namespace {

struct Vec {
    double x = 0.0, y = 0.0, z = 0.0;
};

Vec Of(const Point3& p) {
    return Vec{p.x, p.y, p.z};
}
Vec Sub(const Vec& a, const Vec& b) {
    return Vec{a.x - b.x, a.y - b.y, a.z - b.z};
}
double Dot(const Vec& a, const Vec& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Cross(const Vec& a, const Vec& b) {
    return Vec{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Scaled(const Vec& a, double s) {
    return Vec{a.x * s, a.y * s, a.z * s};
}

std::vector<double> Nearest(const std::vector<Point3>& corners, const Point3& point) {
    std::vector<double> w(corners.size(), 0.0);
    std::size_t best = 0;
    for (std::size_t i = 1; i < corners.size(); ++i)
        if ((corners[i] - point).LengthSquared() < (corners[best] - point).LengthSquared())
            best = i;
    if (!w.empty())
        w[best] = 1.0;
    return w;
}

}  // namespace

std::vector<double> MeanValueWeights(const std::vector<Point3>& corners, const Point3& point) {
    const std::size_t n = corners.size();
    Vec normal;
    double extent = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        Vec a = Of(corners[i]), b = Of(corners[(i + 1) % n]);
        normal.x += (a.y - b.y) * (a.z + b.z);
        normal.y += (a.z - b.z) * (a.x + b.x);
        normal.z += (a.x - b.x) * (a.y + b.y);
        extent = std::fmax(extent, std::sqrt(Dot(Sub(a, b), Sub(a, b))));
    }
    double length = std::sqrt(Dot(normal, normal));
    if (n < 3 || length <= 1e-12 * extent * extent)
        return Nearest(corners, point);
    normal = Scaled(normal, 1.0 / length);
    // A frame in the plane: s[i] is corner i as seen from the point, flattened.
    Vec u = std::fabs(normal.x) < 0.9 ? Vec{1.0, 0.0, 0.0} : Vec{0.0, 1.0, 0.0};
    u = Sub(u, Scaled(normal, Dot(u, normal)));
    u = Scaled(u, 1.0 / std::sqrt(Dot(u, u)));
    Vec v = Cross(normal, u);
    std::vector<double> sx(n), sy(n), r(n);
    const double tiny = 1e-9 * extent;
    for (std::size_t i = 0; i < n; ++i) {
        Vec d = Sub(Of(corners[i]), Of(point));
        sx[i] = Dot(d, u);
        sy[i] = Dot(d, v);
        r[i] = std::hypot(sx[i], sy[i]);
        if (r[i] <= tiny) {
            std::vector<double> w(n, 0.0);
            w[i] = 1.0;
            return w;
        }
    }
    std::vector<double> w(n, 0.0);
    std::vector<double> area(n), dot(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t j = (i + 1) % n;
        area[i] = sx[i] * sy[j] - sy[i] * sx[j];
        dot[i] = sx[i] * sx[j] + sy[i] * sy[j];
        // On the edge itself: linear between its ends.
        if (std::fabs(area[i]) <= tiny * (r[i] + r[j]) && dot[i] < 0.0) {
            w[i] = r[j] / (r[i] + r[j]);
            w[j] = r[i] / (r[i] + r[j]);
            return w;
        }
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t prev = (i + n - 1) % n, next = (i + 1) % n;
        if (area[prev] != 0.0)
            w[i] += (r[prev] - dot[prev] / r[i]) / area[prev];
        if (area[i] != 0.0)
            w[i] += (r[next] - dot[i] / r[i]) / area[i];
        sum += w[i];
    }
    if (sum == 0.0 || !std::isfinite(sum))
        return Nearest(corners, point);
    for (double& weight : w) weight /= sum;
    return w;
}
