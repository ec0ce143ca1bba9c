// WeldBorderVerts.
#include <gtest/gtest.h>

#include <cmath>

#include "mesh_fixtures.h"

namespace {

// Two unit quads side by side whose touching corners are separate vertices, gap
// apart in x.
void TwoLooseQuads(MNMesh& m, float gap) {
    for (Point3 p : {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0)})
        m.NewVert(p);
    for (Point3 p :
         {Point3(1 + gap, 0, 0), Point3(2, 0, 0), Point3(2, 1, 0), Point3(1 + gap, 1, 0)})
        m.NewVert(p);
    AddFace(m, {0, 1, 2, 3});
    AddFace(m, {4, 5, 6, 7});
}

void FlagAll(MNMesh& m, DWORD flag) {
    for (int i = 0; i < m.numv; ++i) m.v[i].SetFlag(flag);
}

}  // namespace

TEST(MNMeshWeld, JoinsTouchingCornersAndTheirEdges) {
    MNMesh m;
    TwoLooseQuads(m, 0.0004f);
    FlagAll(m, 0x4000000);
    ASSERT_TRUE(m.WeldBorderVerts(0.001f, 0x4000000));
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(LiveCount(m, MNM_SL_VERTEX), 6);
    EXPECT_EQ(LiveCount(m, MNM_SL_EDGE), 7);
    EXPECT_TRUE(m.v[4].GetFlag(MN_DEAD));
    EXPECT_FLOAT_EQ(m.P(1).x, 1.0002f);  // midpoint
    int shared = m.FindEdge(1, 2);
    ASSERT_GE(shared, 0);
    EXPECT_EQ(m.e[shared].f1, 0);
    EXPECT_EQ(m.e[shared].f2, 1);
    EXPECT_EQ(m.f[1].vtx[0], 1);
    EXPECT_FALSE(m.WeldBorderVerts(0.001f, 0x4000000));  // nothing left to weld
}

TEST(MNMeshWeld, ThresholdFlagAndBadThresholds) {
    MNMesh m;
    TwoLooseQuads(m, 0.5f);
    FlagAll(m, 0x4000000);
    EXPECT_FALSE(m.WeldBorderVerts(0.5f, 0x4000000));  // closer than, not as close as
    EXPECT_FALSE(m.WeldBorderVerts(0.0f, 0x4000000));
    EXPECT_FALSE(m.WeldBorderVerts(-1.0f, 0x4000000));
    EXPECT_FALSE(m.WeldBorderVerts(std::nanf(""), 0x4000000));
    EXPECT_FALSE(m.WeldBorderVerts(0.6f, MN_SEL));  // no vertex carries the flag
    m.v[4].ClearFlag(0x4000000);
    ASSERT_TRUE(m.WeldBorderVerts(0.6f, 0x4000000));  // only the top pair
    EXPECT_FALSE(m.v[4].GetFlag(MN_DEAD));
    EXPECT_TRUE(m.v[7].GetFlag(MN_DEAD));
    EXPECT_TRUE(Consistent(m));
}

TEST(MNMeshWeld, NeverWeldsWithinAFaceOrAcrossAnEdge) {
    MNMesh m;
    for (Point3 p : {Point3(0, 0, 0), Point3(0.0001f, 0, 0), Point3(0, 1, 0)}) m.NewVert(p);
    AddFace(m, {0, 1, 2});
    FlagAll(m, 0x4000000);
    EXPECT_FALSE(m.WeldBorderVerts(0.01f, 0x4000000));
    EXPECT_TRUE(Consistent(m));
}

TEST(MNMeshWeld, InteriorVerticesAreNotBorderVertices) {
    MNMesh m;
    MakeGrid(m, 2, 2);
    int loose = m.NewVert(Point3(1.0f, 1.0f, 0.0001f));
    int a = m.NewVert(Point3(5, 5, 0)), b = m.NewVert(Point3(6, 5, 0));
    AddFace(m, {loose, a, b});
    FlagAll(m, 0x4000000);
    EXPECT_FALSE(m.WeldBorderVerts(0.01f, 0x4000000));  // vertex 4 is interior
}

TEST(MNMeshWeld, NearestPairFirst) {
    MNMesh m;
    // b - c (0.0007) is nearer than a - b (0.0009); their midpoint is then too far
    // from a.
    int a = m.NewVert(Point3(0.0f, 0, 0)), b = m.NewVert(Point3(0.0009f, 0, 0)),
        c = m.NewVert(Point3(0.0016f, 0, 0));
    int k = 0;
    for (int vv : {a, b, c}) {
        int p = m.NewVert(Point3(float(k), 5.0f, 0.0f)),
            q = m.NewVert(Point3(float(k) + 0.5f, 5.0f, 0.0f));
        AddFace(m, {vv, p, q});
        k += 2;
    }
    for (int vv : {a, b, c}) m.v[vv].SetFlag(0x4000000);
    ASSERT_TRUE(m.WeldBorderVerts(0.001f, 0x4000000));
    EXPECT_FALSE(m.v[a].GetFlag(MN_DEAD));
    EXPECT_FALSE(m.v[b].GetFlag(MN_DEAD));
    EXPECT_TRUE(m.v[c].GetFlag(MN_DEAD));
    EXPECT_FLOAT_EQ(m.P(b).x, 0.00125f);
    EXPECT_EQ(m.P(a).x, 0.0f);
    EXPECT_TRUE(Consistent(m));
}

TEST(MNMeshWeld, SixLooseSidesCloseIntoACube) {
    MNMesh cube;
    MakeCube(cube);
    MNMesh m;
    for (int fi = 0; fi < cube.numf; ++fi) {
        std::vector<int> corners;
        for (int c : cube.f[fi].vtx) corners.push_back(m.NewVert(cube.P(c)));
        AddFace(m, corners);
    }
    FlagAll(m, 0x4000000);
    ASSERT_TRUE(m.WeldBorderVerts(0.01f, 0x4000000));
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(LiveCount(m, MNM_SL_VERTEX), 8);
    EXPECT_EQ(LiveCount(m, MNM_SL_EDGE), 12);
    for (int i = 0; i < m.nume; ++i) {
        if (!m.e[i].GetFlag(MN_DEAD)) {
            EXPECT_GE(m.e[i].f2, 0) << i;
        }
    }
}

// One pair welded on request: the second vertex goes, the first moves to the place
// given (or the midpoint), and the edges that now meet join; pairs that would break
// the mesh are refused and leave it as it was.
TEST(MNMeshWeld, APairWeldsWhereItIsToldOrIsRefused) {
    MNMesh m;
    TwoLooseQuads(m, 0.5f);
    const Point3 at(1.2f, 0.0f, 0.0f);
    ASSERT_TRUE(m.WeldBorderVerts(1, 4, &at));
    EXPECT_TRUE(m.v[4].GetFlag(MN_DEAD));
    EXPECT_EQ(m.P(1), at);
    ASSERT_TRUE(m.WeldBorderVerts(2, 7, nullptr));
    EXPECT_FLOAT_EQ(m.P(2).x, 1.25f);
    int shared = m.FindEdge(1, 2);
    ASSERT_GE(shared, 0);
    EXPECT_EQ(m.e[shared].f2, 1);
    EXPECT_TRUE(Consistent(m));

    EXPECT_FALSE(m.WeldBorderVerts(0, 3, nullptr));   // corners of one face
    EXPECT_FALSE(m.WeldBorderVerts(0, 0, nullptr));   // itself
    EXPECT_FALSE(m.WeldBorderVerts(0, 4, nullptr));   // gone
    EXPECT_FALSE(m.WeldBorderVerts(0, 99, nullptr));  // unknown
    EXPECT_EQ(LiveCount(m, MNM_SL_VERTEX), 6);

    MNMesh grid;
    MakeGrid(grid, 2, 2);
    EXPECT_FALSE(grid.WeldBorderVerts(4, 0, nullptr));  // the middle vertex is inside
    EXPECT_TRUE(Consistent(grid));
}
