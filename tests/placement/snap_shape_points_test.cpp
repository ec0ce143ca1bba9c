#include "placement/snap_shape_points.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <vector>

namespace {

using SnapFunction = void (*)(PolyShape&, const Matrix3&, const Matrix3&, const Point3&, bool,
                              const Mesh&);

const Point3 kDown(0.0f, 0.0f, -1.0f);
const Matrix3 kIdentity;

Mesh MakeMesh(const std::vector<Point3>& verts, const std::vector<std::vector<int>>& faces) {
    Mesh mesh;
    mesh.setNumVerts(static_cast<int>(verts.size()));
    for (size_t i = 0; i < verts.size(); ++i) mesh.verts[i] = verts[i];
    mesh.setNumFaces(static_cast<int>(faces.size()));
    for (size_t i = 0; i < faces.size(); ++i)
        mesh.faces[i].setVerts(faces[i][0], faces[i][1], faces[i][2]);
    return mesh;
}

// The square [-1, 1] x [-1, 1] at height z, split along its diagonal.
Mesh Square(float z) {
    return MakeMesh({{-1.0f, -1.0f, z}, {1.0f, -1.0f, z}, {1.0f, 1.0f, z}, {-1.0f, 1.0f, z}},
                    {{0, 1, 2}, {0, 2, 3}});
}

PolyShape Shape(const std::vector<std::vector<Point3>>& lines) {
    PolyShape shape;
    for (const auto& points : lines) {
        PolyLine& line = shape.NewLine();
        for (const Point3& p : points) line.Append(PolyPt(p));
    }
    return shape;
}

Point3 At(const PolyShape& shape, int line, int point) {
    return shape.lines[line].pts[point].p;
}

class SnapShapePointsTest : public ::testing::TestWithParam<SnapFunction> {
protected:
    void Snap(PolyShape& shape, const Mesh& mesh, const Point3& direction = kDown,
              bool local = false, const Matrix3& shapeTM = kIdentity,
              const Matrix3& objectTM = kIdentity) {
        GetParam()(shape, shapeTM, objectTM, direction, local, mesh);
    }
};

}  // namespace

TEST_P(SnapShapePointsTest, PointsInFrontAndBehindMoveOntoSurface) {
    PolyShape shape = Shape({{{0.5f, -0.25f, 3.0f}, {-0.5f, 0.5f, -2.0f}}});
    Snap(shape, Square(0.0f));
    EXPECT_EQ(At(shape, 0, 0), Point3(0.5f, -0.25f, 0.0f));
    EXPECT_EQ(At(shape, 0, 1), Point3(-0.5f, 0.5f, 0.0f));
}

// A dome of cells 0.005 wide (triangles with |n| near 2.5e-5), as a finely divided
// mesh in small units is: every point lands on it, none passes through to the floor.
TEST_P(SnapShapePointsTest, FineMeshesInSmallUnitsAreHit) {
    const int n = 200;
    std::vector<Point3> verts;
    std::vector<std::vector<int>> faces;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) {
            float x = -0.5f + i * 0.005f, y = -0.5f + j * 0.005f;
            verts.push_back(Point3(x, y, 0.5f - x * x - y * y));
        }
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i;
            faces.push_back({a, a + 1, a + n + 2});
            faces.push_back({a, a + n + 2, a + n + 1});
        }
    int floor = static_cast<int>(verts.size());
    for (const Point3& corner :
         {Point3(-1, -1, -1), Point3(1, -1, -1), Point3(1, 1, -1), Point3(-1, 1, -1)})
        verts.push_back(corner);
    faces.push_back({floor, floor + 1, floor + 2});
    faces.push_back({floor, floor + 2, floor + 3});
    std::vector<Point3> points;
    for (int k = 0; k < 50; ++k)
        points.push_back(Point3(-0.45f + 0.018f * k, 0.3f - 0.01f * k, 3.0f));
    PolyShape shape = Shape({points});
    Snap(shape, MakeMesh(verts, faces));
    for (int k = 0; k < 50; ++k) {
        const Point3 p = At(shape, 0, k);
        EXPECT_NEAR(p.z, 0.5f - p.x * p.x - p.y * p.y, 1e-4f) << k;
    }
}

TEST_P(SnapShapePointsTest, LocalOnlyTransformsIntoObjectSpace) {
    PolyShape shape = Shape({{{0.5f, 0.5f, 3.0f}}});
    shape.lines[0].pts[0].flags = 0x55;
    shape.lines[0].pts[0].aux1 = 7;
    shape.lines[0].pts[0].aux2 = 9;
    const Matrix3 shapeTM = TransMatrix(Point3(1.0f, 2.0f, 3.0f));
    const Matrix3 objectTM = TransMatrix(Point3(0.0f, 0.0f, 1.0f));
    Snap(shape, Square(0.0f), kDown, true, shapeTM, objectTM);
    EXPECT_EQ(At(shape, 0, 0), Point3(1.5f, 2.5f, 5.0f));
    const PolyPt& pt = shape.lines[0].pts[0];
    EXPECT_EQ(pt.flags, 0x55u);
    EXPECT_EQ(pt.aux1, 7u);
    EXPECT_EQ(pt.aux2, 9u);
}

TEST_P(SnapShapePointsTest, PointsEndInObjectSpace) {
    // The object sits 10 units up and is turned a quarter round z: the shape's world
    // point (10, 0, 15) is (0, -10, 5) in its space, then snaps to its plane z = 0.
    const Matrix3 shapeTM = TransMatrix(Point3(10.0f, 0.0f, 5.0f));
    Matrix3 objectTM = RotateZMatrix(1.5707964f);
    objectTM.SetTrans(Point3(0.0f, 0.0f, 10.0f));
    const Mesh plane =
        MakeMesh({{-20.0f, -20.0f, 0.0f}, {20.0f, -20.0f, 0.0f}, {0.0f, 20.0f, 0.0f}}, {{0, 1, 2}});
    PolyShape shape = Shape({{{0.0f, 0.0f, 10.0f}}});
    PolyShape missing = shape;
    Snap(shape, plane, kDown, false, shapeTM, objectTM);
    const Point3 p = At(shape, 0, 0);
    EXPECT_NEAR(p.x, 0.0f, 1e-5f);
    EXPECT_NEAR(p.y, -10.0f, 1e-5f);
    EXPECT_EQ(p.z, 0.0f);
    Snap(missing, Mesh(), kDown, false, shapeTM, objectTM);
    const Point3 q = At(missing, 0, 0);
    EXPECT_NEAR(q.x, 0.0f, 1e-5f);
    EXPECT_NEAR(q.y, -10.0f, 1e-5f);
    EXPECT_NEAR(q.z, 5.0f, 1e-5f);
}

TEST_P(SnapShapePointsTest, EqualDistanceGoesToTheLowerFaceIndex) {
    // Two parallel triangles one unit below and above the point.
    const std::vector<Point3> verts = {{-1.0f, -1.0f, -1.0f}, {1.0f, -1.0f, -1.0f},
                                       {0.0f, 1.0f, -1.0f},   {-1.0f, -1.0f, 1.0f},
                                       {1.0f, -1.0f, 1.0f},   {0.0f, 1.0f, 1.0f}};
    PolyShape lowerFirst = Shape({{{0.0f, 0.0f, 0.0f}}});
    PolyShape upperFirst = lowerFirst;
    Snap(lowerFirst, MakeMesh(verts, {{0, 1, 2}, {3, 4, 5}}));
    Snap(upperFirst, MakeMesh(verts, {{3, 4, 5}, {0, 1, 2}}));
    EXPECT_EQ(At(lowerFirst, 0, 0), Point3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(At(upperFirst, 0, 0), Point3(0.0f, 0.0f, 1.0f));
    // The nearer one wins whatever its index.
    PolyShape nearer = Shape({{{0.0f, 0.0f, 0.5f}}});
    Snap(nearer, MakeMesh(verts, {{0, 1, 2}, {3, 4, 5}}));
    EXPECT_EQ(At(nearer, 0, 0), Point3(0.0f, 0.0f, 1.0f));
}

TEST_P(SnapShapePointsTest, SharedEdgeAndCornerHits) {
    PolyShape shape = Shape({{{0.25f, 0.25f, 4.0f},
                              {-1.0f, -1.0f, 4.0f},
                              {1.0f, 1.0f, -4.0f},
                              {1.0f, 0.0f, 4.0f},
                              {-1.0f, 1.0f, 2.0f}}});
    Snap(shape, Square(0.5f));
    EXPECT_EQ(At(shape, 0, 0), Point3(0.25f, 0.25f, 0.5f));
    EXPECT_EQ(At(shape, 0, 1), Point3(-1.0f, -1.0f, 0.5f));
    EXPECT_EQ(At(shape, 0, 2), Point3(1.0f, 1.0f, 0.5f));
    EXPECT_EQ(At(shape, 0, 3), Point3(1.0f, 0.0f, 0.5f));
    EXPECT_EQ(At(shape, 0, 4), Point3(-1.0f, 1.0f, 0.5f));
}

TEST_P(SnapShapePointsTest, MissesCarryTheLastSnapDistancePerPolyline) {
    PolyShape shape = Shape({
        // Miss before any snap, snap 5 units down, miss, snap 2 units up, miss.
        {{5.0f, 0.0f, 1.0f},
         {0.0f, 0.0f, 5.0f},
         {5.0f, 0.0f, 7.0f},
         {0.5f, 0.5f, -2.0f},
         {6.0f, 1.0f, 0.0f}},
        // A new polyline starts again at 0.
        {{5.0f, 5.0f, 3.0f}, {0.0f, 0.0f, 1.0f}},
    });
    Snap(shape, Square(0.0f));
    EXPECT_EQ(At(shape, 0, 0), Point3(5.0f, 0.0f, 1.0f));
    EXPECT_EQ(At(shape, 0, 1), Point3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(At(shape, 0, 2), Point3(5.0f, 0.0f, 2.0f));
    EXPECT_EQ(At(shape, 0, 3), Point3(0.5f, 0.5f, 0.0f));
    // The last snap lay in the -D direction from its point; the carry still goes along D.
    EXPECT_EQ(At(shape, 0, 4), Point3(6.0f, 1.0f, -2.0f));
    EXPECT_EQ(At(shape, 1, 0), Point3(5.0f, 5.0f, 3.0f));
    EXPECT_EQ(At(shape, 1, 1), Point3(0.0f, 0.0f, 0.0f));
}

TEST_P(SnapShapePointsTest, HitsTenMillionAwayAreIgnored) {
    PolyShape shape = Shape({{{0.0f, 0.0f, 10000000.0f}, {0.0f, 0.0f, 9999999.0f}}});
    Snap(shape, Square(0.0f));
    EXPECT_EQ(At(shape, 0, 0), Point3(0.0f, 0.0f, 10000000.0f));
    EXPECT_EQ(At(shape, 0, 1), Point3(0.0f, 0.0f, 0.0f));
}

TEST_P(SnapShapePointsTest, BadInputSnapsNothingAndDoesNotCrash) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // An empty mesh: every point stays where the transform puts it.
    PolyShape shape = Shape({{{0.0f, 0.0f, 1.0f}, {2.0f, 3.0f, 4.0f}}, {}});
    Snap(shape, Mesh());
    EXPECT_EQ(At(shape, 0, 1), Point3(2.0f, 3.0f, 4.0f));

    // Broken vertices and indices: such faces are never hit; the good face still is.
    Mesh broken = MakeMesh({{nan, 0.0f, 0.0f},
                            {inf, 1.0f, 0.0f},
                            {0.0f, 0.0f, 0.0f},
                            {-1.0f, -1.0f, -3.0f},
                            {1.0f, -1.0f, -3.0f},
                            {0.0f, 1.0f, -3.0f}},
                           {{0, 1, 2}, {2, 7, 1}, {2, 2, 2}, {3, 4, 5}, {1, 4, 5}});
    broken.faces[2].v[1] = 0xFFFFFFFFu;
    PolyShape points =
        Shape({{{0.0f, 0.0f, 1.0f}, {nan, 0.0f, 1.0f}, {0.0f, inf, 1.0f}, {0.1f, 0.1f, 1.0f}}});
    Snap(points, broken);
    EXPECT_EQ(At(points, 0, 0), Point3(0.0f, 0.0f, -3.0f));
    EXPECT_EQ(At(points, 0, 3), Point3(0.1f, 0.1f, -3.0f));

    // A direction that is zero or not a number hits nothing.
    PolyShape still = Shape({{{0.0f, 0.0f, 1.0f}}});
    Snap(still, Square(0.0f), Point3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(At(still, 0, 0), Point3(0.0f, 0.0f, 1.0f));
    Snap(still, Square(0.0f), Point3(0.0f, nan, -1.0f));
    EXPECT_EQ(At(still, 0, 0).x, 0.0f);
    EXPECT_EQ(At(still, 0, 0).z, 1.0f);
}

void SnapIndexed(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM,
                 const Point3& direction, bool local, const Mesh& mesh) {
    EXPECT_TRUE(SnapShapePoints(shape, shapeTM, objectTM, direction, local, mesh));
}

INSTANTIATE_TEST_SUITE_P(Searches, SnapShapePointsTest,
                         ::testing::Values(&SnapIndexed, &SnapShapePointsExhaustive),
                         [](const ::testing::TestParamInfo<SnapFunction>& info) {
                             return info.param == &SnapIndexed ? std::string("Indexed")
                                                               : std::string("Exhaustive");
                         });

TEST(SnapShapePointsStop, ARaisedFlagEndsTheSearchBeforeAPointMoves) {
    const PolyShape original = Shape({{{0.5f, -0.25f, 3.0f}, {-0.5f, 0.5f, -2.0f}}});
    std::atomic<bool> stop{true};
    PolyShape stopped = original;
    EXPECT_FALSE(SnapShapePoints(stopped, kIdentity, kIdentity, kDown, false, Square(0.0f), &stop));
    EXPECT_EQ(At(stopped, 0, 0), At(original, 0, 0));
    EXPECT_EQ(At(stopped, 0, 1), At(original, 0, 1));

    stop = false;
    PolyShape watched = original;
    EXPECT_TRUE(SnapShapePoints(watched, kIdentity, kIdentity, kDown, false, Square(0.0f), &stop));
    EXPECT_EQ(At(watched, 0, 0), Point3(0.5f, -0.25f, 0.0f));
    EXPECT_EQ(At(watched, 0, 1), Point3(-0.5f, 0.5f, 0.0f));
}
