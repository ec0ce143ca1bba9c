// Polygons split for triangle-only formats: random star-shaped polygons, tilted in
// space, with extra corners on their edges (as cut points line a face's edge). The
// triangles must cover the polygon exactly, none flat, every outline edge used once
// and every inner edge twice, all turning as the polygon does.
#include "io/polygon_triangles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <utility>

namespace {

Point3 Cross(const Point3& a, const Point3& b) {
    return Point3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

double Dot(const Point3& a, const Point3& b) {
    return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y +
           static_cast<double>(a.z) * b.z;
}

}  // namespace

TEST(PolygonTriangles, CoverThePolygonWithNoFlatTriangleAndNoThirdFaceOnAnEdge) {
    std::mt19937 rng(20261209u);
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng); };
    int nonConvex = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        // A star-shaped outline in the plane, then corners added along some edges.
        const int spokes = 3 + trial % 9;
        const bool convex = trial % 3 == 0;
        std::vector<std::pair<double, double>> flat;
        for (int i = 0; i < spokes; ++i) {
            const double a = 6.283185307179586 * (i + (convex ? 0.0 : real(0.0, 0.6))) / spokes;
            const double r = convex ? 1.0 : real(0.2, 1.0);
            flat.emplace_back(r * std::cos(a), r * std::sin(a));
        }
        std::vector<std::pair<double, double>> outline;
        std::vector<int> edgeStart;  // the outline's corner at the start of each straight edge
        for (int i = 0; i < spokes; ++i) {
            const auto& a = flat[i];
            const auto& b = flat[(i + 1) % spokes];
            edgeStart.push_back(static_cast<int>(outline.size()));
            outline.push_back(a);
            const int extra = trial % 2 == 0 ? static_cast<int>(real(0.0, 4.0)) : 0;
            for (int k = 1; k <= extra; ++k) {
                const double t = static_cast<double>(k) / (extra + 1);
                outline.emplace_back(a.first + t * (b.first - a.first),
                                     a.second + t * (b.second - a.second));
            }
        }
        // Tilted and moved, in single precision as a mesh holds it.
        const Point3 normal = Normalize(
            Point3(static_cast<float>(real(-1, 1)), static_cast<float>(real(-1, 1)), 1.5f));
        const Point3 x = Normalize(Cross(normal, Point3(1, 0, 0)));
        const Point3 y = Cross(normal, x);
        const Point3 origin(static_cast<float>(real(-50, 50)), static_cast<float>(real(-50, 50)),
                            static_cast<float>(real(-50, 50)));
        std::vector<Point3> corners;
        for (const auto& p : outline)
            corners.push_back(origin + x * static_cast<float>(p.first) +
                              y * static_cast<float>(p.second));
        const int n = static_cast<int>(corners.size());

        const std::vector<std::array<int, 3>> triangles = PolygonTriangles(corners);
        ASSERT_EQ(static_cast<int>(triangles.size()), n - 2) << "trial " << trial;
        double area = 0.0, polygon = 0.0;
        std::map<std::pair<int, int>, int> uses;
        // Whether the triangle's corners all lie on one straight edge, ends included.
        auto onOneEdge = [&](const std::array<int, 3>& t) {
            for (int e = 0; e < spokes; ++e) {
                const int first = edgeStart[e];
                const int last = e + 1 < spokes ? edgeStart[e + 1] : n;  // n: corner 0
                int on = 0;
                for (const int c : t) on += (c >= first && c <= last) || (last == n && c == 0);
                if (on == 3)
                    return true;
            }
            return false;
        };
        for (const auto& t : triangles) {
            const Point3 c = Cross(corners[t[1]] - corners[t[0]], corners[t[2]] - corners[t[0]]);
            const double turn = Dot(c, normal);
            EXPECT_GT(turn, 0.0) << "trial " << trial << ": a triangle turned over";
            EXPECT_FALSE(onOneEdge(t)) << "trial " << trial << ": a flat triangle on an edge";
            area += 0.5 * turn;
            for (int k = 0; k < 3; ++k) ++uses[{t[k], t[(k + 1) % 3]}];
        }
        for (int i = 0; i < n; ++i) {
            const auto& a = outline[i];
            const auto& b = outline[(i + 1) % n];
            polygon += 0.5 * (a.first * b.second - b.first * a.second);
            EXPECT_EQ((uses[{i, (i + 1) % n}]), 1) << "trial " << trial << ": outline edge " << i;
        }
        EXPECT_NEAR(area, polygon, 1e-4 * polygon) << "trial " << trial;
        for (const auto& [edge, count] : uses) {
            const bool outlineEdge = edge.second == (edge.first + 1) % n;
            EXPECT_EQ(count, 1) << "trial " << trial << ": an edge used twice one way";
            if (!outlineEdge) {
                EXPECT_EQ(uses.count({edge.second, edge.first}), 1u) << "trial " << trial;
            }
        }
        nonConvex += !convex || n > spokes;
    }
    EXPECT_GT(nonConvex, 1000);
}
