// RemoveEdge and RemoveVertex: joining faces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "mesh_fixtures.h"

TEST(MNMeshRemoveEdge, JoinsTwoQuadsIntoAHexagon) {
    MNMesh m;
    MakeGrid(m, 2, 1);
    int shared = m.FindEdge(1, 4);
    ASSERT_TRUE(m.RemoveEdge(shared));
    EXPECT_TRUE(Consistent(m));
    EXPECT_TRUE(m.e[shared].GetFlag(MN_DEAD));
    EXPECT_TRUE(m.f[1].GetFlag(MN_DEAD));
    EXPECT_EQ(m.f[0].deg, 6);
    EXPECT_EQ(m.GetFaceNormal(0), Point3(0.0f, 0.0f, 4.0f));
    EXPECT_EQ(LiveCount(m, MNM_SL_VERTEX), 6);
}

TEST(MNMeshRemoveEdge, LeavesBorderDeadAndBadEdgesAlone) {
    MNMesh m;
    MakeGrid(m, 2, 1);
    MNMesh before = m;
    EXPECT_FALSE(m.RemoveEdge(m.FindEdge(0, 1)));  // border
    int shared = m.FindEdge(1, 4);
    m.e[shared].SetFlag(MN_DEAD);
    EXPECT_FALSE(m.RemoveEdge(shared));
    m.e[shared].ClearFlag(MN_DEAD);
    m.FlipNormal(0);  // both faces now walk the shared edge the same way
    EXPECT_FALSE(m.RemoveEdge(shared));
    EXPECT_TRUE(Consistent(m));
}

TEST(MNMeshRemoveEdge, StripsTheSpurLeftByTwoSharedEdges) {
    // Two faces of a square share the bent path 0 - 4 - 2.
    MNMesh m;
    for (Point3 p :
         {Point3(0, 0, 0), Point3(2, 0, 0), Point3(2, 2, 0), Point3(0, 2, 0), Point3(1, 1, 0)})
        m.NewVert(p);
    ASSERT_EQ(AddFace(m, {0, 1, 2, 4}), 0);
    ASSERT_EQ(AddFace(m, {0, 4, 2, 3}), 1);
    int e04 = m.FindEdge(0, 4), e42 = m.FindEdge(4, 2);
    ASSERT_TRUE(m.RemoveEdge(e04));
    EXPECT_TRUE(Consistent(m));
    EXPECT_TRUE(m.e[e42].GetFlag(MN_DEAD));
    EXPECT_TRUE(m.v[4].GetFlag(MN_DEAD));
    EXPECT_EQ(m.f[0].deg, 4);
    EXPECT_EQ(m.GetFaceNormal(0), Point3(0.0f, 0.0f, 8.0f));
}

TEST(MNMeshRemoveEdge, RefusesToCutARingIntoAFaceWithAHole) {
    // Four quads round a square hole.
    MNMesh m;
    for (Point3 p : {Point3(0, 0, 0), Point3(4, 0, 0), Point3(4, 4, 0), Point3(0, 4, 0),
                     Point3(1, 1, 0), Point3(3, 1, 0), Point3(3, 3, 0), Point3(1, 3, 0)})
        m.NewVert(p);
    AddFace(m, {0, 1, 5, 4});
    AddFace(m, {1, 2, 6, 5});
    AddFace(m, {2, 3, 7, 6});
    AddFace(m, {3, 0, 4, 7});
    ASSERT_TRUE(Consistent(m));
    EXPECT_TRUE(m.RemoveEdge(m.FindEdge(1, 5)));
    EXPECT_TRUE(m.RemoveEdge(m.FindEdge(2, 6)));
    EXPECT_TRUE(Consistent(m));
    MNMesh before = m;
    EXPECT_FALSE(m.RemoveEdge(m.FindEdge(3, 7)));
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(m.f[0].vtx, before.f[0].vtx);
    EXPECT_EQ(LiveCount(m, MNM_SL_FACE), 2);
}

namespace {

// The join as RemoveEdge defines it, on plain lists: a's corners from the edge's far
// end round, then b's corners between, with the edges between them; then, while a
// spur (an edge twice in a row) is left, the first one from the start goes and the
// polygon starts where it was; refused when fewer than three corners are left or a
// corner or edge repeats.
bool ReferenceJoin(const MNFace& a, int i, const MNFace& b, int j, std::vector<int>& corners,
                   std::vector<int>& edges) {
    corners.clear();
    edges.clear();
    for (int k = 1; k <= a.deg; ++k) corners.push_back(a.vtx[(i + k) % a.deg]);
    for (int k = 2; k < b.deg; ++k) corners.push_back(b.vtx[(j + k) % b.deg]);
    for (int k = 1; k < a.deg; ++k) edges.push_back(a.edg[(i + k) % a.deg]);
    for (int k = 1; k < b.deg; ++k) edges.push_back(b.edg[(j + k) % b.deg]);
    for (bool found = true; found && corners.size() >= 3;) {
        found = false;
        int n = static_cast<int>(corners.size());
        for (int k = 0; k < n && !found; ++k) {
            if (edges[k] != edges[(k + 1) % n])
                continue;
            std::rotate(corners.begin(), corners.begin() + k, corners.end());
            std::rotate(edges.begin(), edges.begin() + k, edges.end());
            corners.erase(corners.begin() + 1, corners.begin() + 3);
            edges.erase(edges.begin(), edges.begin() + 2);
            found = true;
        }
    }
    auto distinct = [](std::vector<int> ids) {
        std::sort(ids.begin(), ids.end());
        return std::adjacent_find(ids.begin(), ids.end()) == ids.end();
    };
    return corners.size() >= 3 && distinct(corners) && distinct(edges);
}

}  // namespace

TEST(MNMeshRemoveEdge, JoinsLikeTheReferenceInAnyOrder) {
    // Triangulated grids whose edges go in random orders: polygons grow, meet along
    // long shared paths (spurs) and touch at corners (refused pinches).
    int joined = 0, refused = 0, spurs = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        MNMesh m;
        const int n = 10;
        for (int y = 0; y <= n; ++y)
            for (int x = 0; x <= n; ++x) m.NewVert(Point3(float(x), float(y), 0.0f));
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                int v = y * (n + 1) + x, right = v + 1, up = v + n + 1, diagonal = v + n + 2;
                if (random() % 2) {
                    AddFace(m, {v, right, diagonal});
                    AddFace(m, {v, diagonal, up});
                } else {
                    AddFace(m, {v, right, up});
                    AddFace(m, {right, diagonal, up});
                }
            }
        std::vector<int> order(static_cast<size_t>(m.nume));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        for (int ed : order) {
            const MNEdge& edge = m.e[ed];
            if (edge.GetFlag(MN_DEAD) || edge.f2 < 0)
                continue;
            int fa = edge.f1, fb = edge.f2;
            std::vector<int> corners, edges;
            bool expected = ReferenceJoin(m.f[fa], m.f[fa].EdgeIndex(ed), m.f[fb],
                                          m.f[fb].EdgeIndex(ed), corners, edges);
            int degrees = m.f[fa].deg + m.f[fb].deg;
            ASSERT_EQ(m.RemoveEdge(ed), expected) << "seed " << seed << " edge " << ed;
            if (!expected) {
                ++refused;
                continue;
            }
            ++joined;
            spurs += (degrees - 2 - static_cast<int>(corners.size())) / 2;
            ASSERT_EQ(m.f[fa].vtx, corners) << "seed " << seed << " edge " << ed;
            ASSERT_EQ(m.f[fa].edg, edges) << "seed " << seed << " edge " << ed;
            ASSERT_TRUE(m.f[fb].GetFlag(MN_DEAD));
            ASSERT_TRUE(Consistent(m));
        }
    }
    // Every kind of join was met.
    EXPECT_GT(joined, 500);
    EXPECT_GT(refused, 50);
    EXPECT_GT(spurs, 50);
}

TEST(MNMeshRemoveVertex, DropsAVertexInTheMiddleOfARun) {
    MNMesh m;
    for (Point3 p : {Point3(0, 0, 0), Point3(1, 0, 0), Point3(2, 0, 0), Point3(0, 1, 0),
                     Point3(1, 1, 0), Point3(2, 1, 0), Point3(1, 0.5f, 0)})
        m.NewVert(p);
    AddFace(m, {0, 1, 6, 4, 3});
    AddFace(m, {1, 2, 5, 4, 6});
    m.e[m.FindEdge(1, 6)].SetFlag(MN_SEL);
    ASSERT_TRUE(m.RemoveVertex(6));
    EXPECT_TRUE(Consistent(m));
    EXPECT_TRUE(m.v[6].GetFlag(MN_DEAD));
    EXPECT_EQ(m.f[0].vtx, (std::vector<int>{0, 1, 4, 3}));
    EXPECT_EQ(m.f[1].vtx, (std::vector<int>{1, 2, 5, 4}));
    int joined = m.FindEdge(1, 4);
    ASSERT_GE(joined, 0);
    EXPECT_TRUE(m.e[joined].GetFlag(MN_SEL));  // the run keeps its flags
    EXPECT_EQ(LiveCount(m, MNM_SL_EDGE), 7);
}

TEST(MNMeshRemoveVertex, BorderRunCornerZeroAndTriangles) {
    MNMesh m;
    for (Point3 p :
         {Point3(1, 0, 0), Point3(2, 0, 0), Point3(2, 1, 0), Point3(0, 1, 0), Point3(0, 0, 0)})
        m.NewVert(p);
    AddFace(m, {0, 1, 2, 3, 4});  // vertex 0 lies on the straight border 4 - 0 - 1
    ASSERT_TRUE(m.RemoveVertex(0));
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(m.f[0].vtx, (std::vector<int>{1, 2, 3, 4}));
    // Down to a triangle, then no further.
    ASSERT_TRUE(m.RemoveVertex(1));
    EXPECT_EQ(m.f[0].deg, 3);
    EXPECT_FALSE(m.RemoveVertex(2));
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(m.f[0].vtx, (std::vector<int>{2, 3, 4}));
}

TEST(MNMeshRemoveVertex, InteriorVertexMergesItsFaces) {
    MNMesh m;
    MakeGrid(m, 2, 2);
    ASSERT_TRUE(m.RemoveVertex(4));
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(LiveCount(m, MNM_SL_FACE), 1);
    EXPECT_EQ(LiveCount(m, MNM_SL_EDGE), 8);
    EXPECT_EQ(LiveCount(m, MNM_SL_VERTEX), 8);
    ASSERT_FALSE(m.f[0].GetFlag(MN_DEAD));
    EXPECT_EQ(m.f[0].deg, 8);
    EXPECT_EQ(m.GetFaceNormal(0), Point3(0.0f, 0.0f, 8.0f));
}

TEST(MNMeshRemoveVertex, BorderVertexJoinsItsBorderNeighbours) {
    MNMesh m;
    MakeGrid(m, 2, 1);
    ASSERT_TRUE(m.RemoveVertex(1));
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(LiveCount(m, MNM_SL_FACE), 1);
    int joined = m.FindEdge(0, 2);
    ASSERT_GE(joined, 0);
    EXPECT_EQ(m.e[joined].f2, -1);
    EXPECT_EQ(m.GetFaceNormal(0), Point3(0.0f, 0.0f, 4.0f));
    EXPECT_EQ(m.f[0].deg, 5);
}

TEST(MNMeshRemoveVertex, IsolatedDeadAndNonManifoldVertices) {
    MNMesh m;
    int lone = m.NewVert(Point3(0, 0, 0));
    EXPECT_TRUE(m.RemoveVertex(lone));
    EXPECT_TRUE(m.v[lone].GetFlag(MN_DEAD));
    EXPECT_FALSE(m.RemoveVertex(lone));
    // Two triangles touching at one vertex (a bowtie) form two fans.
    MNMesh bow;
    for (Point3 p :
         {Point3(0, 0, 0), Point3(1, -1, 0), Point3(1, 1, 0), Point3(-1, 1, 0), Point3(-1, -1, 0)})
        bow.NewVert(p);
    AddFace(bow, {0, 1, 2});
    AddFace(bow, {0, 3, 4});
    MNMesh before = bow;
    EXPECT_FALSE(bow.RemoveVertex(0));
    EXPECT_TRUE(Consistent(bow));
    EXPECT_EQ(bow.f[0].vtx, before.f[0].vtx);
    EXPECT_EQ(LiveCount(bow, MNM_SL_EDGE), 6);
}

TEST(MNMeshSplitEdge, BothFacesGainTheCornerAndFlagsCarryOver) {
    MNMesh m;
    MakeGrid(m, 2, 1);
    int shared = m.FindEdge(1, 4);
    m.e[shared].SetFlag(MN_SEL);
    int nv = m.SplitEdge(shared, 0.25f);
    ASSERT_GE(nv, 0);
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(m.P(nv), Point3(1.0f, 0.25f, 0.0f));
    EXPECT_EQ(m.f[0].deg, 5);
    EXPECT_EQ(m.f[1].deg, 5);
    int piece = m.FindEdge(nv, 4);
    ASSERT_GE(piece, 0);
    EXPECT_TRUE(m.e[piece].GetFlag(MN_SEL));
    EXPECT_EQ(m.GetFaceNormal(0), Point3(0.0f, 0.0f, 2.0f));
    int border = m.SplitEdge(m.FindEdge(0, 1), 0.5f);
    EXPECT_TRUE(Consistent(m));
    EXPECT_EQ(m.f[0].deg, 6);
    EXPECT_EQ(m.e[m.FindEdge(border, 1)].f2, -1);
    EXPECT_EQ(m.SplitEdge(shared, 0.0f), -1);
    EXPECT_EQ(m.SplitEdge(shared, 1.0f), -1);
    EXPECT_EQ(m.SplitEdge(shared, std::nanf("")), -1);
    EXPECT_EQ(m.SplitEdge(-1, 0.5f), -1);
}
