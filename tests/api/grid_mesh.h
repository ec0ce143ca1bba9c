// A flat grid of quads in z = 0, the mesh the interface tests cut.
#pragma once

#include "slitform/mesh.h"
#include "slitform/shape.h"

// n x n quads of size 1 from (0, 0), counter-clockwise seen from +z.
inline slitform::Mesh GridMesh(int n) {
    slitform::Mesh mesh;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) mesh.positions.push_back({float(x), float(y), 0.0f});
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int a = y * (n + 1) + x;
            mesh.AddFace({a, a + 1, a + n + 2, a + n + 1});
        }
    return mesh;
}

// A closed square of side 2 about (cx, cy) at height z.
inline slitform::ShapeLine Square(double cx, double cy, double z) {
    slitform::ShapeLine line;
    line.closed = true;
    line.points = {
        {cx - 1, cy - 1, z}, {cx + 1, cy - 1, z}, {cx + 1, cy + 1, z}, {cx - 1, cy + 1, z}};
    return line;
}
