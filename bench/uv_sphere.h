// The benchmarks' mesh: a UV sphere of a given size.
#pragma once

#include <algorithm>
#include <cmath>

#include "polyobj.h"

// A UV sphere of radius 1 with about `faces` quads (triangles at the poles).
inline PolyObject* UvSphere(int faces) {
    int rings = std::max(4, static_cast<int>(std::sqrt(faces / 2.0)));
    int segments = 2 * rings;
    PolyObject* obj = new PolyObject();
    MNMesh& m = obj->mm;
    int top = m.NewVert(Point3(0, 0, 1));
    for (int r = 1; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            float theta = 3.14159265f * r / rings, phi = 2.0f * 3.14159265f * s / segments;
            m.NewVert(Point3(std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                             std::cos(theta)));
        }
    int bottom = m.NewVert(Point3(0, 0, -1));
    auto at = [&](int r, int s) { return 1 + (r - 1) * segments + (s % segments); };
    for (int s = 0; s < segments; ++s) {
        int cap[3] = {top, at(1, s), at(1, s + 1)};
        m.CreateFace(3, cap);
    }
    for (int r = 1; r < rings - 1; ++r)
        for (int s = 0; s < segments; ++s) {
            int quad[4] = {at(r, s), at(r + 1, s), at(r + 1, s + 1), at(r, s + 1)};
            m.CreateFace(4, quad);
        }
    for (int s = 0; s < segments; ++s) {
        int cap[3] = {bottom, at(rings - 1, s + 1), at(rings - 1, s)};
        m.CreateFace(3, cap);
    }
    return obj;
}
