#include "io/polygon_triangles.h"

#include <algorithm>
#include <cmath>

#include "triangle.h"
#include "write_output.h"

namespace {

// Half a unit in the last place of a float, relative.
constexpr double kFloatEpsilon = 5.96e-8;

std::vector<std::array<int, 3>> Fan(int count) {
    std::vector<std::array<int, 3>> triangles;
    for (int k = 1; k + 1 < count; ++k) triangles.push_back({0, k, k + 1});
    return triangles;
}

}  // namespace

std::vector<std::array<int, 3>> PolygonTriangles(const std::vector<Point3>& corners) {
    const int count = static_cast<int>(corners.size());
    if (count <= 3)
        return Fan(count);
    // Newell's normal, then two axes across it that turn with it.
    double n[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < count; ++i) {
        const Point3& a = corners[i];
        const Point3& b = corners[(i + 1) % count];
        n[0] += (static_cast<double>(a.y) - b.y) * (static_cast<double>(a.z) + b.z);
        n[1] += (static_cast<double>(a.z) - b.z) * (static_cast<double>(a.x) + b.x);
        n[2] += (static_cast<double>(a.x) - b.x) * (static_cast<double>(a.y) + b.y);
    }
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0.0))
        return Fan(count);
    for (double& c : n) c /= length;
    const double seed[3] = {std::fabs(n[0]) < 0.9 ? 1.0 : 0.0, std::fabs(n[0]) < 0.9 ? 0.0 : 1.0,
                            0.0};
    double u[3] = {seed[1] * n[2] - seed[2] * n[1], seed[2] * n[0] - seed[0] * n[2],
                   seed[0] * n[1] - seed[1] * n[0]};
    const double ul = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
    for (double& c : u) c /= ul;
    const double v[3] = {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2],
                         n[0] * u[1] - n[1] * u[0]};
    std::vector<double> points(2 * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const Point3& p = corners[i];
        points[2 * i] = u[0] * p.x + u[1] * p.y + u[2] * p.z;
        points[2 * i + 1] = v[0] * p.x + v[1] * p.y + v[2] * p.z;
    }
    // Strictly convex: every turn to the left by more than single-precision corners'
    // rounding can fake (a corner on a straight edge must not pass).
    double largest = 0.0;
    for (const Point3& p : corners)
        largest =
            std::max({largest, std::fabs(static_cast<double>(p.x)),
                      std::fabs(static_cast<double>(p.y)), std::fabs(static_cast<double>(p.z))});
    const double noise = 8.0 * kFloatEpsilon * largest;
    bool convex = true;
    for (int i = 0; i < count && convex; ++i) {
        const double* a = &points[2 * i];
        const double* b = &points[2 * ((i + 1) % count)];
        const double* c = &points[2 * ((i + 2) % count)];
        const double ex = b[0] - a[0], ey = b[1] - a[1], fx = c[0] - b[0], fy = c[1] - b[1];
        convex = ex * fy - ey * fx > noise * (std::hypot(ex, ey) + std::hypot(fx, fy));
    }
    if (convex)
        return Fan(count);

    std::vector<int> segments(2 * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        segments[2 * i] = i;
        segments[2 * i + 1] = (i + 1) % count;
    }
    triangulateio in{}, out{};
    in.pointlist = points.data();
    in.numberofpoints = count;
    in.segmentlist = segments.data();
    in.numberofsegments = count;
    char switches[] = "zpQ";
    triangulate(switches, &in, &out, nullptr);
    std::vector<std::array<int, 3>> triangles;
    // New points (where the outline crosses itself) have no corner to stand on.
    const bool usable = triangulate_last_error() == TRIANGULATE_OK && out.numberofpoints == count &&
                        out.numberoftriangles == count - 2;
    for (int t = 0; usable && t < out.numberoftriangles; ++t)
        triangles.push_back(
            {out.trianglelist[3 * t], out.trianglelist[3 * t + 1], out.trianglelist[3 * t + 2]});
    tri::release_output(out);
    return usable ? triangles : Fan(count);
}
