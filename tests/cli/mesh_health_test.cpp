// The health of a mesh: border edges, non-manifold edges and pieces.
#include "session/mesh_health.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <numeric>
#include <random>
#include <set>

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

// Random meshes whose vertices often share a place, against counts made the plain way:
// a map of sides by vertex and by place, and pieces by repeated joining.
TEST(MeshHealth, AgreesWithPlainCountsOnRandomMeshes) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 200; ++trial) {
        MNMesh mesh;
        const int places = 4 + static_cast<int>(rng() % 12), vertices = places + rng() % 8;
        for (int v = 0; v < vertices; ++v) {
            int p = v < places ? v : static_cast<int>(rng() % places);
            mesh.NewVert(Point3(float(p % 3), float(p / 3), p == 1 ? -0.0f : 0.0f));
        }
        for (int f = 0; f < 12; ++f) {
            int tri[3] = {static_cast<int>(rng() % vertices), static_cast<int>(rng() % vertices),
                          static_cast<int>(rng() % vertices)};
            int made = mesh.CreateFace(3, tri);
            if (made >= 0 && rng() % 5 == 0)
                mesh.f[made].SetFlag(MN_DEAD);
        }
        std::map<std::pair<int, int>, int> byVertex, byPlace;
        std::vector<int> piece(static_cast<std::size_t>(vertices));
        std::iota(piece.begin(), piece.end(), 0);
        auto placeOf = [&](int v) {
            for (int u = 0; u < v; ++u)
                if (std::memcmp(&mesh.v[u].p, &mesh.v[v].p, sizeof(Point3)) == 0)
                    return u;
            return v;
        };
        for (int f = 0; f < mesh.numf; ++f) {
            const MNFace& face = mesh.f[f];
            if (face.GetFlag(MN_DEAD))
                continue;
            for (int i = 0; i < face.deg; ++i) {
                int a = face.vtx[i], b = face.vtx[(i + 1) % face.deg];
                ++byVertex[std::minmax(a, b)];
                ++byPlace[std::minmax(placeOf(a), placeOf(b))];
                for (int from = piece[b], to = piece[a], v = 0; v < vertices; ++v)
                    if (piece[v] == from)
                        piece[v] = to;
            }
        }
        int border = 0, nonManifold = 0;
        for (const auto& side : byVertex) border += side.second == 1;
        for (const auto& side : byPlace) nonManifold += side.second > 2;
        std::set<int> pieces;
        for (int f = 0; f < mesh.numf; ++f)
            if (!mesh.f[f].GetFlag(MN_DEAD))
                pieces.insert(piece[mesh.f[f].vtx[0]]);
        MeshHealth health = MeasureMeshHealth(mesh);
        EXPECT_EQ(health.borderEdges, border) << "trial " << trial;
        EXPECT_EQ(health.nonManifoldEdges, nonManifold) << "trial " << trial;
        EXPECT_EQ(health.components, static_cast<int>(pieces.size())) << "trial " << trial;
    }
}
