// The health of a mesh: border edges, non-manifold edges and pieces.
#include "session/mesh_health.h"

#include <gtest/gtest.h>

namespace {

int Quad(MNMesh& m, int a, int b, int c, int d) {
    int v[4] = {a, b, c, d};
    return m.CreateFace(4, v);
}

}  // namespace

TEST(MeshHealth, ClosedOpenSplitAndNonManifoldMeshes) {
    MNMesh cube;
    for (int k = 0; k < 8; ++k)
        cube.NewVert(Point3(float(k & 1), float((k >> 1) & 1), float(k >> 2)));
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& f : faces) Quad(cube, f[0], f[1], f[2], f[3]);
    MeshHealth closed = MeasureMeshHealth(cube);
    EXPECT_EQ(closed.borderEdges, 0);
    EXPECT_EQ(closed.nonManifoldEdges, 0);
    EXPECT_EQ(closed.components, 1);

    cube.f[1].SetFlag(MN_DEAD);  // a dead face counts for nothing: the top is open
    EXPECT_EQ(MeasureMeshHealth(cube).borderEdges, 4);

    MNMesh apart;
    for (int k = 0; k < 8; ++k) apart.NewVert(Point3(float(k), 0, float(k % 2)));
    Quad(apart, 0, 1, 2, 3);
    Quad(apart, 4, 5, 6, 7);
    MeshHealth split = MeasureMeshHealth(apart);
    EXPECT_EQ(split.components, 2);
    EXPECT_EQ(split.borderEdges, 8);

    // Three triangles on one edge: the poly mesh holds the third on copies of the
    // edge's vertices, as a reader gives it.
    MNMesh fin;
    for (Point3 p : {Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(0, -1, 0),
                     Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 0, 1)})
        fin.NewVert(p);
    int tris[3][3] = {{0, 1, 2}, {1, 0, 3}, {4, 5, 6}};
    for (auto& t : tris) ASSERT_GE(fin.CreateFace(3, t), 0);
    MeshHealth fan = MeasureMeshHealth(fin);
    EXPECT_EQ(fan.nonManifoldEdges, 1);
    EXPECT_EQ(fan.components, 2);  // the copies are not shared
}
