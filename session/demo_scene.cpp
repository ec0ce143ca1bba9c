#include "session/demo_scene.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

PolyObject* MakeRoundedBox(const Point3& size, float radius, int segments) {
    PolyObject* obj = new PolyObject();
    MNMesh& m = obj->mm;
    int n = std::max(segments, 1);
    Point3 half = size * 0.5f;
    std::map<std::tuple<int, int, int>, int> lattice;
    auto vertex = [&](int i, int j, int k) {
        auto key = std::make_tuple(i, j, k);
        auto it = lattice.find(key);
        if (it != lattice.end())
            return it->second;
        // A point of the cube's surface, pushed out from the shrunk box by radius.
        Point3 c(half.x * (2.0f * i / n - 1.0f), half.y * (2.0f * j / n - 1.0f),
                 half.z * (2.0f * k / n - 1.0f));
        Point3 inner;
        for (int a = 0; a < 3; ++a) {
            float limit = std::max(half[a] - radius, 0.0f);
            inner[a] = std::clamp(c[a], -limit, limit);
        }
        Point3 p = inner + Normalize(c - inner) * radius;
        int index = m.NewVert(p);
        lattice.emplace(key, index);
        return index;
    };
    // Each side: a lattice corner and two steps whose cross product points out.
    struct Side {
        int origin[3];
        int u[3];
        int v[3];
    };
    const Side sides[6] = {
        {{0, 0, n}, {1, 0, 0}, {0, 1, 0}},   // +z
        {{0, n, 0}, {1, 0, 0}, {0, -1, 0}},  // -z
        {{n, 0, 0}, {0, 1, 0}, {0, 0, 1}},   // +x
        {{0, n, 0}, {0, -1, 0}, {0, 0, 1}},  // -x
        {{n, n, 0}, {-1, 0, 0}, {0, 0, 1}},  // +y
        {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}},   // -y
    };
    for (const Side& s : sides)
        for (int b = 0; b < n; ++b)
            for (int a = 0; a < n; ++a) {
                int corner[4];
                const int steps[4][2] = {{a, b}, {a + 1, b}, {a + 1, b + 1}, {a, b + 1}};
                for (int c = 0; c < 4; ++c) {
                    int p[3];
                    for (int k = 0; k < 3; ++k)
                        p[k] = s.origin[k] + steps[c][0] * s.u[k] + steps[c][1] * s.v[k];
                    corner[c] = vertex(p[0], p[1], p[2]);
                }
                m.CreateFace(4, corner);
            }
    return obj;
}

SplineShape* MakeStar(int points, float outer, float inner) {
    SplineShape* shape = new SplineShape();
    Spline3D star;
    int count = std::max(points, 2) * 2;
    for (int i = 0; i < count; ++i) {
        float angle = 3.14159265f * 0.5f + 3.14159265f * i / (count / 2);
        float r = (i % 2 == 0) ? outer : inner;
        Point3 p(r * std::cos(angle), r * std::sin(angle), 0.0f);
        star.AddKnot(SplineKnot(p, p, p));
    }
    star.closed = true;
    shape->shape.splines.push_back(star);
    return shape;
}
