#include "placement/collinear_vertex.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "placement/remove_collinear_vertices.h"

namespace {

int AddFace(MNMesh& mesh, std::vector<int> corners) {
    return mesh.CreateFace(static_cast<int>(corners.size()), corners.data());
}

// One pentagon b, i, a, (1, 1), (-1, 1) with i = vertex 0 at the origin between
// a = (1, 0) and b = (-1, y): vertex 0 has exactly two edges.
MNMesh Pentagon(float y) {
    MNMesh mesh;
    mesh.NewVert(Point3(0.0f, 0.0f, 0.0f));
    mesh.NewVert(Point3(1.0f, 0.0f, 0.0f));
    mesh.NewVert(Point3(1.0f, 1.0f, 0.0f));
    mesh.NewVert(Point3(-1.0f, 1.0f, 0.0f));
    mesh.NewVert(Point3(-1.0f, y, 0.0f));
    AddFace(mesh, {4, 0, 1, 2, 3});
    return mesh;
}

bool Marked(const MNMesh& mesh, int i) {
    return (mesh.v[i].flags & kCollinearMark) != 0;
}

bool MarkedAfterTest(MNMesh mesh, int i, float threshold) {
    MarkCollinearVertex(mesh, i, threshold, kCollinearMark);
    return Marked(mesh, i);
}

// Cells of an nx by ny grid as octagons: every cell side carries a middle vertex,
// which therefore has two edges, between the same two faces (or on the border).
// Middles are pushed sideways by up to wobble.
struct OctagonGrid {
    MNMesh mesh;
    std::vector<int> middles;
};

OctagonGrid MakeOctagonGrid(int nx, int ny, float wobble, std::mt19937& rng) {
    std::uniform_real_distribution<float> offset(-wobble, wobble);
    OctagonGrid grid;
    MNMesh& mesh = grid.mesh;
    std::vector<int> corner((nx + 1) * (ny + 1));
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i)
            corner[j * (nx + 1) + i] = mesh.NewVert(Point3(float(i), float(j), 0.0f));
    auto at = [&](int i, int j) { return corner[j * (nx + 1) + i]; };
    std::vector<int> alongX(nx * (ny + 1));
    std::vector<int> alongY((nx + 1) * ny);
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i < nx; ++i) {
            alongX[j * nx + i] =
                mesh.NewVert(Point3(float(i) + 0.5f, float(j) + offset(rng), 0.0f));
            grid.middles.push_back(alongX[j * nx + i]);
        }
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i <= nx; ++i) {
            alongY[j * (nx + 1) + i] =
                mesh.NewVert(Point3(float(i) + offset(rng), float(j) + 0.5f, 0.0f));
            grid.middles.push_back(alongY[j * (nx + 1) + i]);
        }
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            AddFace(mesh, {at(i, j), alongX[j * nx + i], at(i + 1, j), alongY[j * (nx + 1) + i + 1],
                           at(i + 1, j + 1), alongX[(j + 1) * nx + i], at(i, j + 1),
                           alongY[j * (nx + 1) + i]});
    return grid;
}

// The removal loop as written against the whole-table scan: the reference for the
// lookup that RemoveCollinearVertices uses.
void RemoveCollinearVerticesByScan(MNMesh& mesh, float threshold) {
    for (int j = 0; j < mesh.numv; ++j) {
        if ((mesh.v[j].flags & MN_DEAD) != 0 || (mesh.v[j].flags & MN_SEL) == 0)
            continue;
        MarkCollinearVertex(mesh, j, threshold, kCollinearMark);
        if ((mesh.v[j].flags & kCollinearMark) != 0)
            mesh.RemoveVertex(j);
    }
}

::testing::AssertionResult SameMesh(const MNMesh& x, const MNMesh& y) {
    if (x.numv != y.numv || x.nume != y.nume || x.numf != y.numf)
        return ::testing::AssertionFailure() << "counts differ";
    for (int i = 0; i < x.numv; ++i)
        if (x.v[i].flags != y.v[i].flags || x.v[i].p != y.v[i].p)
            return ::testing::AssertionFailure() << "vertex " << i;
    for (int i = 0; i < x.nume; ++i) {
        const MNEdge& a = x.e[i];
        const MNEdge& b = y.e[i];
        if (a.flags != b.flags || a.v1 != b.v1 || a.v2 != b.v2 || a.f1 != b.f1 || a.f2 != b.f2)
            return ::testing::AssertionFailure() << "edge " << i;
    }
    for (int i = 0; i < x.numf; ++i)
        if (x.f[i].flags != y.f[i].flags || x.f[i].vtx != y.f[i].vtx || x.f[i].edg != y.f[i].edg)
            return ::testing::AssertionFailure() << "face " << i;
    return ::testing::AssertionSuccess();
}

int LiveVertices(const MNMesh& mesh) {
    int live = 0;
    for (int i = 0; i < mesh.numv; ++i) live += (mesh.v[i].flags & MN_DEAD) == 0;
    return live;
}

}  // namespace

TEST(MarkCollinearVertex, ComparesTheSineWithTheThreshold) {
    EXPECT_TRUE(MarkedAfterTest(Pentagon(0.0005f), 0, 0.001f));
    EXPECT_FALSE(MarkedAfterTest(Pentagon(0.002f), 0, 0.001f));
    // Straight on: any positive threshold; a threshold of 0 never marks two edges.
    EXPECT_TRUE(MarkedAfterTest(Pentagon(0.0f), 0, 1e-7f));
    EXPECT_FALSE(MarkedAfterTest(Pentagon(0.0f), 0, 0.0f));
    // Vertex 1 is a right-angle corner: s = 1.
    EXPECT_FALSE(MarkedAfterTest(Pentagon(0.0f), 1, 1.0f));
    EXPECT_TRUE(MarkedAfterTest(Pentagon(0.0f), 1, 1.0001f));
}

TEST(MarkCollinearVertex, EdgesFoldingBackCount) {
    // i, (2, 0), (2, 1), (1, 0): both edges at i run along +x.
    MNMesh mesh;
    mesh.NewVert(Point3(0.0f, 0.0f, 0.0f));
    mesh.NewVert(Point3(2.0f, 0.0f, 0.0f));
    mesh.NewVert(Point3(2.0f, 1.0f, 0.0f));
    mesh.NewVert(Point3(1.0f, 0.0f, 0.0f));
    ASSERT_EQ(AddFace(mesh, {0, 1, 2, 3}), 0);
    EXPECT_TRUE(MarkedAfterTest(mesh, 0, 0.001f));
}

TEST(MarkCollinearVertex, FewerThanTwoLiveEdgesMarkAlways) {
    MNMesh mesh = Pentagon(0.5f);
    const int lone = mesh.NewVert(Point3(5.0f, 5.0f, 5.0f));
    EXPECT_TRUE(MarkedAfterTest(mesh, lone, 0.0f));
    // Vertex 0 at a clear angle, with one of its edges dead: one live edge left.
    EXPECT_FALSE(MarkedAfterTest(mesh, 0, 0.001f));
    const int edge = mesh.FindEdge(0, 1);
    ASSERT_GE(edge, 0);
    mesh.e[edge].flags |= MN_DEAD;
    EXPECT_TRUE(MarkedAfterTest(mesh, 0, 0.0f));
}

TEST(MarkCollinearVertex, ThreeLiveEdgesNeverMark) {
    // Two quads side by side: vertex 1 on the bottom border has three edges, two of
    // them in a straight line. Killing the upright one leaves the straight pair.
    MNMesh mesh;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i) mesh.NewVert(Point3(float(i), float(j), 0.0f));
    AddFace(mesh, {0, 1, 4, 3});
    AddFace(mesh, {1, 2, 5, 4});
    EXPECT_FALSE(MarkedAfterTest(mesh, 1, 2.0f));
    mesh.e[mesh.FindEdge(1, 4)].flags |= MN_DEAD;
    EXPECT_TRUE(MarkedAfterTest(mesh, 1, 0.001f));
}

TEST(MarkCollinearVertex, ZeroLengthAndNotANumberEdgesMark) {
    // A neighbour on top of the vertex normalises to the zero vector: s = 0.
    MNMesh onTop = Pentagon(0.5f);
    onTop.v[4].p = onTop.v[0].p;
    EXPECT_TRUE(MarkedAfterTest(onTop, 0, 0.001f));
    MNMesh broken = Pentagon(0.5f);
    broken.v[1].p.x = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(MarkedAfterTest(broken, 0, 0.001f));
}

TEST(MarkCollinearVertex, OrsTheGivenMarkOnly) {
    MNMesh mesh = Pentagon(0.0f);
    mesh.v[0].flags = MN_SEL | 0x40;
    MarkCollinearVertex(mesh, 0, 0.001f, 0x100);
    EXPECT_EQ(mesh.v[0].flags, static_cast<DWORD>(MN_SEL | 0x40 | 0x100));
    MarkCollinearVertex(mesh, 99, 0.001f, 0x100);
    MarkCollinearVertex(mesh, -1, 0.001f, 0x100);
}

TEST(RemoveCollinearVertices, RemovesOnlyLiveCandidates) {
    std::mt19937 rng(5);
    OctagonGrid grid = MakeOctagonGrid(3, 2, 0.0f, rng);
    MNMesh& mesh = grid.mesh;
    const int kept = grid.middles[0];
    const int dead = grid.middles[1];
    for (int middle : grid.middles) mesh.v[middle].flags |= MN_SEL;
    mesh.v[kept].flags &= ~static_cast<DWORD>(MN_SEL);
    mesh.v[dead].flags |= MN_DEAD;
    RemoveCollinearVertices(mesh, 0.001f);
    for (int middle : grid.middles) {
        if (middle == kept || middle == dead)
            continue;
        EXPECT_TRUE((mesh.v[middle].flags & MN_DEAD) != 0) << middle;
    }
    EXPECT_EQ(mesh.v[kept].flags & (MN_DEAD | kCollinearMark), 0u);
    EXPECT_EQ(mesh.v[dead].flags & kCollinearMark, 0u);
    // Revive the vertex faked dead so that the mesh is whole again. The grid corners
    // (four edges inside, three on the border) were not candidates.
    mesh.v[dead].flags &= ~static_cast<DWORD>(MN_DEAD);
    EXPECT_EQ(LiveVertices(mesh), 12 + 2);
    std::string why;
    EXPECT_TRUE(mesh.CheckAllData(&why)) << why;
}

TEST(RemoveCollinearVertices, EarlierRemovalsChangeLaterTests) {
    // m1 (vertex 1) sits on a bend of 0.008 between a far vertex A and m2 (vertex 2);
    // m2 on a bend of 0.008 between m1 and B. With threshold 0.01 m1 goes first;
    // m2's edge then reaches A, its bend grows to about 0.015 and m2 stays.
    MNMesh mesh;
    const float far = 10.0f;
    const Point3 m1(-1.0f, 0.008f, 0.0f);
    mesh.NewVert(m1 + Point3(-far * std::cos(0.016f), far * std::sin(0.016f), 0.0f));  // A
    mesh.NewVert(m1);
    mesh.NewVert(Point3(0.0f, 0.0f, 0.0f));  // m2
    mesh.NewVert(Point3(1.0f, 0.0f, 0.0f));  // B
    mesh.NewVert(Point3(0.0f, 5.0f, 0.0f));
    ASSERT_EQ(AddFace(mesh, {0, 4, 3, 2, 1}), 0);
    MNMesh reversedOrder = mesh;
    mesh.v[1].flags |= MN_SEL;
    mesh.v[2].flags |= MN_SEL;
    RemoveCollinearVertices(mesh, 0.01f);
    EXPECT_TRUE((mesh.v[1].flags & MN_DEAD) != 0);
    EXPECT_EQ(mesh.v[2].flags & (MN_DEAD | kCollinearMark), 0u);
    EXPECT_EQ(mesh.f[0].deg, 4);

    // Tested alone, m2 would go.
    reversedOrder.v[2].flags |= MN_SEL;
    RemoveCollinearVertices(reversedOrder, 0.01f);
    EXPECT_TRUE((reversedOrder.v[2].flags & MN_DEAD) != 0);
}

TEST(RemoveCollinearVertices, PremarkedCandidateIsRemovedWhateverItsEdges) {
    MNMesh mesh;
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i) mesh.NewVert(Point3(float(i), float(j), 0.0f));
    AddFace(mesh, {0, 1, 4, 3});
    AddFace(mesh, {1, 2, 5, 4});
    mesh.v[1].flags |= MN_SEL | kCollinearMark;
    RemoveCollinearVertices(mesh, 0.001f);
    EXPECT_TRUE((mesh.v[1].flags & MN_DEAD) != 0);
    std::string why;
    EXPECT_TRUE(mesh.CheckAllData(&why)) << why;
}

TEST(RemoveCollinearVertices, LookupMatchesTheWholeTableScan) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 4; ++round) {
        OctagonGrid grid = MakeOctagonGrid(14, 11, 0.004f, rng);
        MNMesh& mesh = grid.mesh;
        std::uniform_int_distribution<int> pick(0, 9);
        for (int i = 0; i < mesh.numv; ++i) {
            const int roll = pick(rng);
            if (roll < 7)
                mesh.v[i].flags |= MN_SEL;
            if (roll == 0)
                mesh.v[i].flags |= kCollinearMark;
        }
        // Merged faces leave dead edges in the table.
        for (int k = 0; k < 15; ++k)
            mesh.RemoveEdge(std::uniform_int_distribution<int>(0, mesh.nume - 1)(rng));
        MNMesh reference = mesh;
        const float threshold = 0.002f * static_cast<float>(round + 1);
        RemoveCollinearVertices(mesh, threshold);
        RemoveCollinearVerticesByScan(reference, threshold);
        EXPECT_TRUE(SameMesh(mesh, reference)) << "round " << round;
        const int removed =
            LiveVertices(MakeOctagonGrid(14, 11, 0.0f, rng).mesh) - LiveVertices(mesh);
        EXPECT_GT(removed, 50);
        EXPECT_LT(removed, static_cast<int>(grid.middles.size()));
        std::string why;
        EXPECT_TRUE(mesh.CheckAllData(&why)) << why;
    }
}
