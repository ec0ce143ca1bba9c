#include "plugin/join_cut_outlines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

int Face(MNMesh& mesh, std::vector<int> corners) {
    return mesh.CreateFace(static_cast<int>(corners.size()), corners.data());
}

int BorderEdges(const MNMesh& mesh) {
    int n = 0;
    for (int ed = 0; ed < mesh.nume; ++ed) n += !(mesh.e[ed].flags & MN_DEAD) && mesh.e[ed].f2 < 0;
    return n;
}

int LiveVerts(const MNMesh& mesh) {
    int n = 0;
    for (int vv = 0; vv < mesh.numv; ++vv) n += !(mesh.v[vv].flags & MN_DEAD);
    return n;
}

::testing::AssertionResult Sound(const MNMesh& mesh) {
    std::string why;
    if (mesh.CheckAllData(&why))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << why;
}

Point3 Lerp(const Point3& a, const Point3& b, float t) {
    return a + (b - a) * t;
}

// A new vertex where a cut put it: at t along from -> to, moved off the edge by off.
int CutVert(MNMesh& mesh, CutOutlineVertices& records, int from, int to, float t,
            const Point3& off) {
    const int vv = mesh.NewVert(Lerp(mesh.P(from), mesh.P(to), t) + off);
    records.push_back({vv, from, to, t});
    return vv;
}

// The copies a cut makes of a face's corners, each recorded at the start of the edge
// it begins.
std::vector<int> CornerCopies(MNMesh& mesh, CutOutlineVertices& records,
                              const std::vector<int>& corners, const Point3& off) {
    std::vector<int> copies;
    for (size_t k = 0; k < corners.size(); ++k)
        copies.push_back(
            CutVert(mesh, records, corners[k], corners[(k + 1) % corners.size()], 0.0f, off));
    return copies;
}

}  // namespace

// The unit square as two triangles, both cut: each gives its own copies of the
// corners and its own points on the diagonal they share, two of them 1e-4 apart, one
// on one side only. The copies join, the near pair joins at its mean place on the
// diagonal, and the other side's edge is split at the lone point: the square comes
// back closed along the diagonal, every point of it on the diagonal.
TEST(JoinCutOutlines, TwoCutFacesMeetAlongTheEdgeTheyShared) {
    MNMesh mesh;
    const int c0 = mesh.NewVert(Point3(0, 0, 0)), c1 = mesh.NewVert(Point3(1, 0, 0));
    const int c2 = mesh.NewVert(Point3(0, 1, 0)), c3 = mesh.NewVert(Point3(1, 1, 0));
    const int lower = Face(mesh, {c0, c1, c2}), upper = Face(mesh, {c1, c3, c2});
    mesh.DeleteFace(lower);
    mesh.DeleteFace(upper);

    CutOutlineVertices records;
    const Point3 off(0.0f, 0.0f, 2e-6f);  // copies computed apart differ a little
    // The lower triangle: corners, and a point on the diagonal at 0.3 from c1.
    const std::vector<int> l = CornerCopies(mesh, records, {c0, c1, c2}, off);
    const int lp = CutVert(mesh, records, c1, c2, 0.3f, off);
    Face(mesh, {l[0], l[1], lp});
    Face(mesh, {l[0], lp, l[2]});
    // The upper one, walking the diagonal the other way: points at 0.7 and 0.30007
    // from c1 (1e-4 along the diagonal from the lower triangle's point).
    const std::vector<int> u = CornerCopies(mesh, records, {c1, c3, c2}, -off);
    const int uq = CutVert(mesh, records, c2, c1, 0.3f, -off);
    const int up = CutVert(mesh, records, c2, c1, 0.69993f, -off);
    Face(mesh, {u[0], u[1], up});
    Face(mesh, {up, u[1], uq});
    Face(mesh, {uq, u[1], u[2]});
    ASSERT_EQ(BorderEdges(mesh), 9);

    EXPECT_GT(JoinCutOutlines(mesh, records, 0.001f), 0);
    EXPECT_TRUE(Sound(mesh));
    EXPECT_EQ(BorderEdges(mesh), 4);  // the square's own sides
    EXPECT_EQ(LiveVerts(mesh), 6);
    for (int vv = 0; vv < mesh.numv; ++vv) {
        if (mesh.v[vv].flags & MN_DEAD)
            continue;
        const Point3& p = mesh.P(vv);
        if (p.x > 0.0f && p.x < 1.0f) {
            EXPECT_NEAR(p.x + p.y, 1.0f, 1e-6f) << vv;  // on the diagonal
        } else {
            EXPECT_EQ(p.z, 0.0f) << vv;  // corners where they were
        }
    }
    // The near pair met at its mean place.
    EXPECT_NEAR(mesh.P(lp).x, 1.0f - 0.300035f, 1e-6f);
}

// A face left whole beside a cut one keeps its corners; its edge gains the cut's
// point on it, and the cut's copies of the corners become the corners themselves.
TEST(JoinCutOutlines, AFaceLeftWholeGainsThePointsOfTheCutBesideIt) {
    MNMesh mesh;
    const int c0 = mesh.NewVert(Point3(0, 0, 0)), c1 = mesh.NewVert(Point3(1, 0, 0));
    const int c2 = mesh.NewVert(Point3(0, 1, 0)), c3 = mesh.NewVert(Point3(1, 1, 0));
    const int lower = Face(mesh, {c0, c1, c2});
    const int upper = Face(mesh, {c1, c3, c2});
    mesh.DeleteFace(lower);
    CutOutlineVertices records;
    const Point3 off(0.0f, 0.0f, 0.0f);
    const std::vector<int> l = CornerCopies(mesh, records, {c0, c1, c2}, off);
    const int lp = CutVert(mesh, records, c1, c2, 0.25f, off);
    Face(mesh, {l[0], l[1], lp});
    Face(mesh, {l[0], lp, l[2]});

    JoinCutOutlines(mesh, records, 0.001f);
    EXPECT_TRUE(Sound(mesh));
    EXPECT_EQ(BorderEdges(mesh), 4);
    EXPECT_EQ(mesh.f[upper].deg, 4);
    EXPECT_FALSE(mesh.v[c1].flags & MN_DEAD);
    EXPECT_FALSE(mesh.v[c2].flags & MN_DEAD);
    EXPECT_TRUE(mesh.v[l[1]].flags & MN_DEAD);
    EXPECT_TRUE(mesh.v[l[2]].flags & MN_DEAD);
    EXPECT_FALSE(mesh.v[lp].flags & MN_DEAD);
}

// Two thin triangles of a fan, as around the pole of a sphere, both cut: points of
// the two outer edges lie 0.0005 apart, closer than the reach of 0.001, but on
// different edges of the mesh, so they stay where they are; the points of the edge
// the triangles share join across it.
TEST(JoinCutOutlines, PointsOfNeighbouringEdgesStayApartHoweverClose) {
    MNMesh mesh;
    const int pole = mesh.NewVert(Point3(0, 0, 0));
    const int r0 = mesh.NewVert(Point3(1, -0.01f, 0)), r1 = mesh.NewVert(Point3(1, 0, 0));
    const int r2 = mesh.NewVert(Point3(1, 0.01f, 0));
    const int right = Face(mesh, {pole, r0, r1}), left = Face(mesh, {pole, r1, r2});
    mesh.DeleteFace(right);
    mesh.DeleteFace(left);
    CutOutlineVertices records;
    const Point3 off(0.0f, 0.0f, 0.0f);
    // Right triangle: a point on its outer edge at 0.025, and on the shared edge at 0.2.
    const std::vector<int> a = CornerCopies(mesh, records, {pole, r0, r1}, off);
    const int aq = CutVert(mesh, records, pole, r0, 0.025f, off);
    const int as = CutVert(mesh, records, r1, pole, 0.8f, off);
    Face(mesh, {a[0], aq, as});
    Face(mesh, {aq, a[1], a[2], as});
    // Left triangle: on the shared edge at 0.025 and 0.6, on its outer edge at 0.025.
    const std::vector<int> b = CornerCopies(mesh, records, {pole, r1, r2}, off);
    const int bs = CutVert(mesh, records, pole, r1, 0.025f, off);
    const int bt = CutVert(mesh, records, pole, r1, 0.6f, off);
    const int bq = CutVert(mesh, records, r2, pole, 0.975f, off);
    Face(mesh, {b[0], bs, bq});
    Face(mesh, {bs, bt, b[2], bq});
    Face(mesh, {bt, b[1], b[2]});
    const Point3 atRight = mesh.P(aq), atLeft = mesh.P(bq);
    ASSERT_LT(Length(atRight - atLeft), 0.001f);

    JoinCutOutlines(mesh, records, 0.001f);
    EXPECT_TRUE(Sound(mesh));
    EXPECT_EQ(BorderEdges(mesh), 6);  // the fan's own outline, with the two points on it
    EXPECT_FALSE(mesh.v[aq].flags & MN_DEAD);
    EXPECT_FALSE(mesh.v[bq].flags & MN_DEAD);
    EXPECT_LT(Length(mesh.P(aq) - atRight), 1e-7f);
    EXPECT_LT(Length(mesh.P(bq) - atLeft), 1e-7f);
    EXPECT_EQ(LiveVerts(mesh), 9);
}

// Records of vertices that are gone, or of corners outside the mesh, are passed over.
TEST(JoinCutOutlines, PassesOverRecordsOfVerticesThatAreGone) {
    MNMesh mesh;
    const int c0 = mesh.NewVert(Point3(0, 0, 0)), c1 = mesh.NewVert(Point3(1, 0, 0));
    const int c2 = mesh.NewVert(Point3(0, 1, 0));
    Face(mesh, {c0, c1, c2});
    CutOutlineVertices records = {
        {c0, c0, c1, 0.0}, {99, c0, c1, 0.5}, {c2, 7, 99, 0.5}, {-1, c0, c1, 0.5}};
    EXPECT_EQ(JoinCutOutlines(mesh, records, 0.001f), 0);
    EXPECT_TRUE(Sound(mesh));
    EXPECT_EQ(BorderEdges(mesh), 3);
}

// An edge longer than the largest float: the places along it cannot be computed, so
// its points stay where the cut put them, and nothing becomes infinite.
TEST(JoinCutOutlines, AnEdgeLongerThanTheLargestFloatLeavesItsPointsFinite) {
    MNMesh mesh;
    const int c0 = mesh.NewVert(Point3(-3e38f, 0, 0)), c1 = mesh.NewVert(Point3(3e38f, 0, 0));
    const int c2 = mesh.NewVert(Point3(0, 3e38f, 0));
    const int whole = Face(mesh, {c0, c1, c2});
    mesh.DeleteFace(whole);
    CutOutlineVertices records;
    const int l0 = mesh.NewVert(Point3(-3e38f, 0, 0)), l1 = mesh.NewVert(Point3(3e38f, 0, 0));
    const int l2 = mesh.NewVert(Point3(0, 3e38f, 0));
    const int p = mesh.NewVert(Point3(1e38f, 0, 0)), q = mesh.NewVert(Point3(1.0001e38f, 0, 0));
    records = {{l0, c0, c1, 0.0},
               {l1, c1, c2, 0.0},
               {l2, c2, c0, 0.0},
               {p, c0, c1, 2.0 / 3.0},
               {q, c0, c1, 2.00005 / 3.0}};
    Face(mesh, {l0, p, l2});
    Face(mesh, {p, q, l2});
    Face(mesh, {q, l1, l2});
    JoinCutOutlines(mesh, records, 1e36f);
    EXPECT_TRUE(Sound(mesh));
    for (int vv = 0; vv < mesh.numv; ++vv) {
        if (mesh.v[vv].flags & MN_DEAD)
            continue;
        EXPECT_TRUE(std::isfinite(mesh.P(vv).x) && std::isfinite(mesh.P(vv).y)) << vv;
    }
}
