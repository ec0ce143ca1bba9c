// OutToTri: the triangle-mesh form.
#include <gtest/gtest.h>

#include <cmath>

#include "mesh.h"
#include "mesh_fixtures.h"

namespace {

float SignedArea(const Mesh& t, int i) {
    const Face& fc = t.faces[i];
    Point3 n = (t.verts[fc.v[1]] - t.verts[fc.v[0]]) ^ (t.verts[fc.v[2]] - t.verts[fc.v[0]]);
    return 0.5f * n.z;
}

}  // namespace

TEST(MNMeshOutToTri, QuadsInFaceOrder) {
    MNMesh m;
    MakeGrid(m, 2, 1);
    m.f[0].smGroup = 4;
    Mesh t;
    m.OutToTri(t);
    ASSERT_EQ(t.getNumFaces(), 4);
    EXPECT_EQ(t.getNumVerts(), 6);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(SignedArea(t, i), 0.5f);
    EXPECT_EQ(t.faces[0].smGroup, 4u);
    EXPECT_EQ(t.faces[2].smGroup, 0u);
    for (int i = 0; i < 2; ++i)
        for (DWORD c : t.faces[i].v) EXPECT_LE(t.verts[c].x, 1.0f);  // face 0 first
}

TEST(MNMeshOutToTri, ConcaveNGonsTriangulateInside) {
    MNMesh m;
    // An L whose reflex corner (1, 1) comes first, and a comb with three notches.
    for (Point3 p : {Point3(1, 1, 0), Point3(1, 3, 0), Point3(0, 3, 0), Point3(0, 0, 0),
                     Point3(2, 0, 0), Point3(2, 1, 0)})
        m.NewVert(p);
    AddFace(m, {0, 1, 2, 3, 4, 5});
    std::vector<int> comb;
    for (Point3 p : {Point3(10, 0, 0), Point3(16, 0, 0), Point3(16, 3, 0), Point3(15, 3, 0),
                     Point3(15, 1, 0), Point3(13, 1, 0), Point3(13, 3, 0), Point3(12, 3, 0),
                     Point3(12, 1, 0), Point3(11, 1, 0), Point3(11, 3, 0), Point3(10, 3, 0)})
        comb.push_back(m.NewVert(p));
    AddFace(m, comb);
    Mesh t;
    m.OutToTri(t);
    ASSERT_EQ(t.getNumFaces(), 4 + 10);
    float lArea = 0.0f, combArea = 0.0f;
    for (int i = 0; i < t.getNumFaces(); ++i) {
        float a = SignedArea(t, i);
        EXPECT_GE(a, 0.0f) << i;  // no triangle folds over
        (i < 4 ? lArea : combArea) += a;
    }
    EXPECT_FLOAT_EQ(lArea, 4.0f);
    EXPECT_FLOAT_EQ(combArea, 12.0f);  // a 6 x 1 base and three 1 x 2 teeth
}

TEST(MNMeshOutToTri, TiltedAndReversedFacesKeepTheirOrientation) {
    MNMesh m;
    for (Point3 p : {Point3(0, 0, 0), Point3(0, 0, 2), Point3(0, 1, 2), Point3(0, 1, 1),
                     Point3(0, 2, 1), Point3(0, 2, 0)})
        m.NewVert(p);
    AddFace(m, {0, 1, 2, 3, 4, 5});  // an L in the yz plane facing -x
    Mesh t;
    m.OutToTri(t);
    ASSERT_EQ(t.getNumFaces(), 4);
    for (int i = 0; i < 4; ++i) {
        const Face& fc = t.faces[i];
        Point3 n = (t.verts[fc.v[1]] - t.verts[fc.v[0]]) ^ (t.verts[fc.v[2]] - t.verts[fc.v[0]]);
        EXPECT_LT(n.x, 0.0f);
    }
}

TEST(MNMeshOutToTri, SkipsDeadComponentsAndSurvivesNaN) {
    MNMesh m;
    MakeGrid(m, 3, 1);
    m.f[0].SetFlag(0x2000000);
    m.DeleteFlaggedFaces(0x2000000);
    m.P(6) = Point3(std::nanf(""), 0.0f, 0.0f);
    Mesh t;
    m.OutToTri(t);
    EXPECT_EQ(t.getNumVerts(), 6);
    ASSERT_EQ(t.getNumFaces(), 4);
    for (int i = 0; i < t.getNumFaces(); ++i)
        for (DWORD c : t.faces[i].v) EXPECT_LT(c, 6u);
}
