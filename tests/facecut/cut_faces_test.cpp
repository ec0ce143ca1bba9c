// The cut of many faces reports its progress as the faces it has done, cut or not.
#include "facecut/cut_faces.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "shape_builders.h"

namespace {

// An n x n grid of unit quads at z = 0.
MNMesh Grid(int n) {
    MNMesh mesh;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
            mesh.NewVert(Point3(static_cast<float>(x), static_cast<float>(y), 0.0f));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int v[4] = {y * (n + 1) + x, y * (n + 1) + x + 1, (y + 1) * (n + 1) + x + 1,
                        (y + 1) * (n + 1) + x};
            mesh.CreateFace(4, v);
        }
    return mesh;
}

}  // namespace

TEST(CutFaces, CountsEveryFaceDoneNotOnlyThoseItCuts) {
    const PolyShape shape = MakeShape({MakeSquare(10.5f, 10.5f, 20.5f, 20.5f, 1.0f)});
    for (bool through : {true, false})
        for (int threads : {1, 2}) {
            // More faces than one window of the first phase takes.
            MNMesh mesh = Grid(100);
            std::vector<int> faces;
            for (int f = 0; f < mesh.numf; ++f) faces.push_back(f);
            std::atomic<long long> visited{0};
            CutSettings settings = Along(Point3(0.0f, 0.0f, -1.0f), through);
            settings.removeUnused = true;
            settings.weld = 0.01f;
            settings.threads = threads;
            CutFaces(mesh, faces, shape, settings, &visited);
            int replaced = 0;
            for (int f : faces) replaced += mesh.f[f].GetFlag(MN_DEAD) ? 1 : 0;
            EXPECT_EQ(visited.load(), static_cast<long long>(faces.size())) << through << threads;
            // The square's outline crosses 40 cells.
            EXPECT_EQ(replaced, 40) << through << threads;
        }
}
