// Building a poly mesh and the operations that do not merge faces.
#include <gtest/gtest.h>

#include <cmath>

#include "mesh_fixtures.h"

TEST(MNMeshCreateFace, GridSharesEdgesBetweenNeighbours) {
    MNMesh m;
    MakeGrid(m, 2, 2);
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(m.numv, 9);
    EXPECT_EQ(m.numf, 4);
    EXPECT_EQ(m.nume, 12);
    int inner = m.FindEdge(1, 4);
    ASSERT_GE(inner, 0);
    EXPECT_EQ(m.e[inner].f1, 0);  // face 0 walks 1 -> 4
    EXPECT_EQ(m.e[inner].f2, 1);
    EXPECT_EQ(m.e[m.FindEdge(0, 1)].f2, -1);  // border
    const MNFace& f0 = m.f[0];
    for (int j = 0; j < 4; ++j) {
        const MNEdge& ed = m.e[f0.edg[j]];
        EXPECT_EQ(ed.OtherVert(f0.vtx[j]), f0.vtx[(j + 1) % 4]);
    }
}

TEST(MNMeshCreateFace, RefusesBadFacesAndChangesNothing) {
    MNMesh m;
    MakeGrid(m, 1, 1);
    int dead = m.NewVert(Point3(5.0f, 5.0f, 0.0f));
    m.v[dead].SetFlag(MN_DEAD);
    MNMesh before = m;
    EXPECT_EQ(AddFace(m, {0, 1}), -1);  // degree below 3
    EXPECT_EQ(m.CreateFace(3, nullptr), -1);
    EXPECT_EQ(AddFace(m, {0, 1, 17}), -1);  // out of range
    EXPECT_EQ(AddFace(m, {0, 1, -1}), -1);
    EXPECT_EQ(AddFace(m, {0, 1, dead}), -1);  // dead vertex
    EXPECT_EQ(AddFace(m, {0, 1, 3, 1}), -1);  // repeated vertex
    EXPECT_EQ(AddFace(m, {0, 1, 2}), -1);     // edge 0->1 already runs that way
    int far = m.NewVert(Point3(0.5f, -1.0f, 0.0f));
    EXPECT_GE(AddFace(m, {1, 0, far}), 0);  // 1->0 shares the border edge
    EXPECT_TRUE(Consistent(m));
    int other = m.NewVert(Point3(0.5f, -2.0f, 0.0f));
    int edgesBefore = m.nume;
    EXPECT_EQ(AddFace(m, {1, 0, other}), -1);  // edge 0-1 has two faces now
    EXPECT_EQ(m.nume, edgesBefore);
    EXPECT_EQ(before.numf, 1);
    EXPECT_TRUE(Consistent(m));
}

TEST(MNMeshCreateFace, ClosedCubeHasTwoFacesOnEveryEdge) {
    MNMesh m;
    MakeCube(m);
    ASSERT_TRUE(Consistent(m));
    EXPECT_EQ(m.nume, 12);
    for (int i = 0; i < m.nume; ++i) EXPECT_GE(m.e[i].f2, 0);
    for (int i = 0; i < 6; ++i) {
        // Outward: the normal points away from the centre.
        Point3 centre;
        for (int c : m.f[i].vtx) centre += m.P(c) * 0.25f;
        EXPECT_GT(m.GetFaceNormal(i, true) % (centre - Point3(0.5f, 0.5f, 0.5f)), 0.0f);
    }
}

TEST(MNMeshFaceNormal, NewellSumIsTwiceTheArea) {
    MNMesh m;
    for (Point3 p : {Point3(0, 0, 0), Point3(2, 0, 0), Point3(2, 1, 0), Point3(1, 1, 0),
                     Point3(1, 3, 0), Point3(0, 3, 0)})
        m.NewVert(p);
    int lshape = AddFace(m, {0, 1, 2, 3, 4, 5});
    ASSERT_GE(lshape, 0);
    EXPECT_EQ(m.GetFaceNormal(lshape), Point3(0.0f, 0.0f, 8.0f));  // area 4
    EXPECT_EQ(m.GetFaceNormal(lshape, true), Point3(0.0f, 0.0f, 1.0f));
    int a = m.NewVert(Point3(0, 0, 1)), b = m.NewVert(Point3(0, 2, 1)),
        c = m.NewVert(Point3(0, 0, 3));
    int tri = AddFace(m, {a, b, c});
    EXPECT_EQ(m.GetFaceNormal(tri), (m.P(b) - m.P(a)) ^ (m.P(c) - m.P(a)));
    EXPECT_EQ(m.GetFaceNormal(99), Point3(0.0f, 0.0f, 0.0f));
    m.f[tri].SetFlag(MN_DEAD);
    EXPECT_EQ(m.GetFaceNormal(tri), Point3(0.0f, 0.0f, 0.0f));
}

TEST(MNMeshFlipNormal, ReversesCornersKeepingTheFirst) {
    MNMesh m;
    MakeGrid(m, 2, 1);
    MNMesh original = m;
    m.FlipNormal(0);
    EXPECT_EQ(m.f[0].vtx, (std::vector<int>{0, 3, 4, 1}));
    EXPECT_EQ(m.GetFaceNormal(0, true), Point3(0.0f, 0.0f, -1.0f));
    EXPECT_TRUE(Consistent(m));
    // Both faces now walk the shared edge 4 -> 1; flipping face 1 as well makes them
    // opposite again, with f1 walking v1 -> v2.
    m.FlipNormal(1);
    EXPECT_TRUE(Consistent(m));
    int shared = m.FindEdge(1, 4);
    EXPECT_EQ(m.e[shared].f1, 1);  // face 1 now walks 1 -> 4
    m.FlipNormal(0);
    m.FlipNormal(1);
    EXPECT_EQ(m.f[0].vtx, original.f[0].vtx);
    EXPECT_EQ(m.f[1].edg, original.f[1].edg);
    EXPECT_TRUE(Consistent(m));
    m.FlipNormal(-3);  // ignored
    m.FlipNormal(40);
}

TEST(MNMeshDeleteFlaggedFaces, KillsWhatOnlyTheFacesUsed) {
    MNMesh m;
    MakeGrid(m, 2, 2);
    m.f[0].SetFlag(0x2000000);
    m.DeleteFlaggedFaces(0x2000000);
    EXPECT_TRUE(Consistent(m));
    EXPECT_TRUE(m.f[0].GetFlag(MN_DEAD));
    EXPECT_TRUE(m.v[0].GetFlag(MN_DEAD));  // corner used only by face 0
    EXPECT_FALSE(m.v[4].GetFlag(MN_DEAD));
    EXPECT_EQ(LiveCount(m, MNM_SL_EDGE), 10);
    // The edge face 0 shared with face 1 is now face 1's border, walked its way.
    int shared = m.FindEdge(1, 4);
    EXPECT_EQ(m.e[shared].f1, 1);
    EXPECT_EQ(m.e[shared].f2, -1);
    EXPECT_EQ(m.numf, 4);  // nothing renumbered

    for (int i = 0; i < m.numf; ++i) m.f[i].SetFlag(0x80000000);
    m.DeleteFlaggedFaces(0x80000000);
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(LiveCount(m, MNM_SL_VERTEX), 0);
    EXPECT_EQ(LiveCount(m, MNM_SL_EDGE), 0);
}

// DeleteFace removes one face exactly as flagging it alone and deleting the flagged
// faces does; a dead or unknown face is ignored.
TEST(MNMeshDeleteFace, IsDeletingThatFaceAloneByItsFlag) {
    for (int face = 0; face < 4; ++face) {
        MNMesh byFlag, direct;
        MakeGrid(byFlag, 2, 2);
        MakeGrid(direct, 2, 2);
        byFlag.f[face].SetFlag(0x2000000);
        direct.f[face].SetFlag(0x2000000);
        long long before = HostDeletedFaceCount();
        byFlag.DeleteFlaggedFaces(0x2000000);
        direct.DeleteFace(face);
        EXPECT_EQ(HostDeletedFaceCount() - before, 2);
        EXPECT_TRUE(Consistent(direct));
        for (int v = 0; v < direct.numv; ++v) EXPECT_EQ(direct.v[v].flags, byFlag.v[v].flags) << v;
        for (int e = 0; e < direct.nume; ++e) {
            EXPECT_EQ(direct.e[e].flags, byFlag.e[e].flags) << e;
            EXPECT_EQ(direct.e[e].v1, byFlag.e[e].v1) << e;
            EXPECT_EQ(direct.e[e].f1, byFlag.e[e].f1) << e;
            EXPECT_EQ(direct.e[e].f2, byFlag.e[e].f2) << e;
        }
        for (int f = 0; f < direct.numf; ++f) EXPECT_EQ(direct.f[f].flags, byFlag.f[f].flags) << f;
        direct.DeleteFace(face);
        direct.DeleteFace(-1);
        direct.DeleteFace(direct.numf);
        EXPECT_TRUE(Consistent(direct));
    }
}

TEST(MNMeshPropegate, AllAnyVacuousTruthAndDeadComponents) {
    MNMesh m;
    MakeGrid(m, 2, 1);  // vertices 0..5, edges 0-1 1-4 4-3 3-0 1-2 2-5 5-4
    int lonely = m.NewVert(Point3(9.0f, 9.0f, 0.0f));
    m.e[m.FindEdge(1, 4)].SetFlag(MN_SEL);
    m.e[m.FindEdge(0, 1)].SetFlag(MN_SEL);
    m.e[m.FindEdge(1, 2)].SetFlag(MN_SEL);
    int positive =
        m.PropegateComponentFlags(MNM_SL_VERTEX, MN_SEL, MNM_SL_EDGE, MN_SEL, true, true);
    EXPECT_EQ(positive, 3);
    EXPECT_TRUE(m.v[1].GetFlag(MN_SEL));  // every edge of vertex 1 is selected
    EXPECT_FALSE(m.v[4].GetFlag(MN_SEL));
    EXPECT_TRUE(m.v[lonely].GetFlag(MN_SEL));  // no edge at all: every one of none
    m.v[lonely].ClearFlag(MN_SEL);
    m.v[1].ClearFlag(MN_SEL);

    m.PropegateComponentFlags(MNM_SL_VERTEX, MN_SEL, MNM_SL_EDGE, MN_SEL, false, true);
    for (int vv : {0, 1, 2, 4}) EXPECT_TRUE(m.v[vv].GetFlag(MN_SEL)) << vv;
    EXPECT_FALSE(m.v[3].GetFlag(MN_SEL));
    EXPECT_FALSE(m.v[lonely].GetFlag(MN_SEL));

    m.PropegateComponentFlags(MNM_SL_VERTEX, MN_SEL, MNM_SL_VERTEX, MN_SEL, false, false);
    for (int vv = 0; vv < m.numv; ++vv) EXPECT_FALSE(m.v[vv].GetFlag(MN_SEL));

    m.f[1].SetFlag(0x80000000);
    m.f[0].SetFlag(MN_DEAD | 0x80000000);
    EXPECT_EQ(m.PropegateComponentFlags(MNM_SL_FACE, MN_SEL, MNM_SL_FACE, 0x80000000), 1);
    EXPECT_TRUE(m.f[1].GetFlag(MN_SEL));
    EXPECT_FALSE(m.f[0].GetFlag(MN_SEL));
    m.PropegateComponentFlags(MNM_SL_VERTEX, MN_SEL, MNM_SL_FACE, MN_SEL);
    EXPECT_TRUE(m.v[2].GetFlag(MN_SEL));
    EXPECT_FALSE(m.v[0].GetFlag(MN_SEL));  // only the dead face uses it
    EXPECT_EQ(m.PropegateComponentFlags(7, MN_SEL, MNM_SL_FACE, MN_SEL), 0);
}

TEST(MNMeshCollapse, DropsDeadComponentsAndRenumbers) {
    MNMesh m;
    MakeGrid(m, 3, 1);
    m.f[1].SetFlag(0x2000000);
    m.DeleteFlaggedFaces(0x2000000);
    m.CollapseDeadStructs();
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(m.numf, 2);
    EXPECT_EQ(m.numv, 8);
    EXPECT_EQ(m.nume, 8);
    EXPECT_EQ(m.P(m.f[1].vtx[0]), Point3(2.0f, 0.0f, 0.0f));
}

TEST(MNMeshBadInput, NonFinitePositionsAndBadIndices) {
    MNMesh m;
    MakeGrid(m, 1, 1);
    m.P(2) = Point3(std::nanf(""), INFINITY, 0.0f);
    EXPECT_TRUE(std::isnan(m.GetFaceNormal(0, true).z));
    EXPECT_FALSE(m.RemoveEdge(-1));
    EXPECT_FALSE(m.RemoveEdge(1000));
    EXPECT_FALSE(m.RemoveVertex(-1));
    EXPECT_FALSE(m.RemoveVertex(1000));
    m.DeleteFlaggedFaces(0);
    EXPECT_TRUE(Consistent(m));
    Point3 lo, hi;
    EXPECT_TRUE(m.GetBoundingBox(lo, hi));
    MNMesh empty;
    EXPECT_FALSE(empty.GetBoundingBox(lo, hi));
    EXPECT_FALSE(empty.WeldBorderVerts(1.0f, MN_SEL));
}
