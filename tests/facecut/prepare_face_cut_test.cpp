#include "facecut/prepare/prepare_face_cut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "facecut/cut_flags.h"
#include "shape_builders.h"

namespace {

// The square [0, 2] x [0, 2] at z = 0, counter-clockwise seen from +z: normal +z.
MNMesh FlatSquare() {
    return OneFace({Point3(0, 0, 0), Point3(2, 0, 0), Point3(2, 2, 0), Point3(0, 2, 0)});
}

const Point3 kDown(0.0f, 0.0f, -1.0f);

bool IsFiniteUnit(const Point3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) &&
           std::fabs(v.Length() - 1.0f) < 1e-5f;
}

void ExpectNear(const Point3& got, const Point3& want) {
    EXPECT_NEAR(got.x, want.x, 1e-5f);
    EXPECT_NEAR(got.y, want.y, 1e-5f);
    EXPECT_NEAR(got.z, want.z, 1e-5f);
}

TEST(PrepareFaceCut, FacingValueOfExactlyOneHundredthCounts) {
    // (-N).D is exactly 0.01f here.
    MNMesh mesh = FlatSquare();
    FaceCutState state;
    PrepareFaceCut(mesh, 0, PolyShape(), Along(Point3(0.0f, 0.99995f, -0.01f)), state);
    EXPECT_TRUE(mesh.f[0].GetFlag(kFaceCutHandled));

    MNMesh away = FlatSquare();
    away.f[0].SetFlag(kFaceInsideShape);
    EXPECT_FALSE(
        PrepareFaceCut(away, 0, PolyShape(), Along(Point3(0.0f, 0.99995f, -0.0099f)), state));
    EXPECT_EQ(away.f[0].flags, kFaceInsideShape);
}

TEST(PrepareFaceCut, OutlineStartsAtTheFrameOriginAlongItsXAxis) {
    MNMesh mesh = OneFace({Point3(1, 1, 1), Point3(3, 2, 1.5f), Point3(2, 4, 2), Point3(0, 3, 1)});
    FaceCutState state;
    Point3 direction = Normalize(Point3(0.2f, -0.1f, -1.0f));
    PrepareFaceCut(mesh, 0, PolyShape(), Along(direction), state);
    ASSERT_EQ(state.outline.numPts, 4);
    EXPECT_TRUE(state.outline.IsClosed());
    ExpectNear(state.outline[0].p, Point3(0, 0, 0));
    EXPECT_NEAR(state.outline[1].p.y, 0.0f, 1e-5f);
    EXPECT_GT(state.outline[1].p.x, 0.0f);
    // The depth axis points against the direction; the frame maps back to the corners.
    ExpectNear(state.frame.GetRow(2), -direction);
    for (int i = 0; i < 4; ++i)
        ExpectNear(state.outline[i].p * state.frame, mesh.v[mesh.f[0].vtx[i]].p);
    EXPECT_FALSE(state.flip);
}

TEST(PrepareFaceCut, UncutFaceIsMarkedByParityAndNothingElseChanges) {
    PolyLine around = MakeSquare(-1.0f, -1.0f, 3.0f, 3.0f, 5.0f);
    PolyLine aroundMore = MakeSquare(-2.0f, -2.0f, 4.0f, 4.0f, 5.0f);
    FaceCutState state;

    MNMesh empty = FlatSquare();
    empty.f[0].SetFlag(MN_SEL | kFaceInsideShape);
    EXPECT_FALSE(PrepareFaceCut(empty, 0, PolyShape(), Along(kDown), state));
    EXPECT_EQ(empty.f[0].flags, MN_SEL | kFaceCutHandled);

    MNMesh inside = FlatSquare();
    EXPECT_FALSE(PrepareFaceCut(inside, 0, MakeShape({around}), Along(kDown), state));
    EXPECT_EQ(inside.f[0].flags, kFaceCutHandled | kFaceInsideShape);
    for (int i = 0; i < inside.numv; ++i) EXPECT_EQ(inside.v[i].flags, 0u);
    for (int i = 0; i < inside.nume; ++i) EXPECT_EQ(inside.e[i].flags, 0u);

    MNMesh nested = FlatSquare();
    nested.f[0].SetFlag(kFaceInsideShape);
    EXPECT_FALSE(PrepareFaceCut(nested, 0, MakeShape({around, aroundMore}), Along(kDown), state));
    EXPECT_EQ(nested.f[0].flags, kFaceCutHandled);
}

TEST(PrepareFaceCut, CutFaceIsLeftForTheNextPhases) {
    MNMesh mesh = FlatSquare();
    mesh.f[0].SetFlag(MN_SEL);
    FaceCutState state;
    PolyShape shape =
        MakeShape({MakeLine({Point3(1, -1, 0), Point3(1, 0, 0), Point3(1, 3, 0)}, false)});
    EXPECT_TRUE(PrepareFaceCut(mesh, 0, shape, Along(kDown), state));
    EXPECT_EQ(mesh.f[0].flags, MN_SEL);
    // The shape point on the first edge joined the outline.
    ASSERT_EQ(state.outline.numPts, 5);
    ExpectNear(state.outline[1].p, Point3(1, 0, 0));
}

TEST(PrepareFaceCut, ThroughCutsFacesLookingAlongTheDirectionAndProjects) {
    // The face looks along +z; the direction is tilted towards +x.
    Point3 direction = Normalize(Point3(0.6f, 0.0f, 0.8f));
    PolyShape shape = MakeShape({MakeLine({Point3(4, 1, 4), Point3(4, 1.5f, 4)}, false)});
    FaceCutState state;

    MNMesh untouched = FlatSquare();
    EXPECT_FALSE(PrepareFaceCut(untouched, 0, shape, Along(direction), state));
    EXPECT_EQ(untouched.f[0].flags, 0u);

    MNMesh mesh = FlatSquare();
    EXPECT_TRUE(PrepareFaceCut(mesh, 0, shape, Along(direction, true), state));
    EXPECT_TRUE(state.flip);
    // (4, 1, 4) runs back along the direction onto the plane z = 0 at (1, 1, 0).
    ExpectNear(state.frameShape[0][0].p * state.frame, Point3(1, 1, 0));
    ExpectNear(state.frameShape[0][1].p * state.frame, Point3(1, 1.5f, 0));
}

TEST(PrepareFaceCut, DirectionWithinTheFacePlaneLeavesPointsUnprojected) {
    MNMesh mesh = FlatSquare();
    PolyShape shape = MakeShape({MakeLine({Point3(1, 1, 3)}, false)});
    FaceCutState state;
    PrepareFaceCut(mesh, 0, shape, Along(Point3(1.0f, 0.0f, 0.0f), true), state);
    EXPECT_TRUE(state.flip);
    ExpectNear(state.frameShape[0][0].p * state.frame, Point3(1, 1, 3));
}

TEST(PrepareFaceCut, LocalUsesTheFaceNormalAndKeepsOnlyPointsAboveTheFace) {
    MNMesh mesh = FlatSquare();
    PolyShape shape = MakeShape(
        {MakeSquare(0.5f, 0.5f, 1.5f, 1.5f, 2.0f), MakeSquare(0.25f, 0.25f, 1.75f, 1.75f, -2.0f)});
    FaceCutState state;
    // The face looks along the direction; with local that does not matter, and
    // through must not project.
    EXPECT_TRUE(PrepareFaceCut(mesh, 0, shape, Along(Point3(0, 0, 1), true, true), state));
    EXPECT_FALSE(state.flip);
    EXPECT_TRUE(state.local);
    ExpectNear(state.frame.GetRow(2), Point3(0, 0, 1));
    for (int i = 0; i < state.outline.numPts; ++i) EXPECT_NEAR(state.outline[i].p.z, 0.0f, 1e-6f);
    ASSERT_EQ(state.frameShape.numLines, 1);
    EXPECT_TRUE(state.frameShape[0].IsClosed());
    // The square above, laid onto the face.
    ExpectNear(state.frameShape[0][0].p * state.frame, Point3(0.5f, 0.5f, 0.0f));
}

TEST(PrepareFaceCut, CoincidentFirstCornersTakeTheFrameFromTheNextEdge) {
    MNMesh mesh = OneFace({Point3(0, 0, 0), Point3(0, 0, 0), Point3(2, 0, 0), Point3(0, 2, 0)});
    PolyShape shape = MakeShape({MakeLine({Point3(0.5f, -1, 0), Point3(0.5f, 3, 0)}, false)});
    FaceCutState state;
    EXPECT_TRUE(PrepareFaceCut(mesh, 0, shape, Along(kDown), state));
    for (int r = 0; r < 3; ++r) EXPECT_TRUE(IsFiniteUnit(state.frame.GetRow(r))) << "row " << r;
    ExpectNear(state.outline[0].p, Point3(0, 0, 0));
    ExpectNear(state.outline[2].p, Point3(2, 0, 0));
}

TEST(PrepareFaceCut, FirstEdgeAlongTheDirectionTakesTheFrameFromTheNextEdge) {
    // Seen edge-on along -z; its first edge runs along z.
    MNMesh mesh = OneFace({Point3(0, 0, 0), Point3(0, 0, 1), Point3(0, 1, 1), Point3(0, 1, 0)});
    FaceCutState state;
    EXPECT_FALSE(PrepareFaceCut(mesh, 0, PolyShape(), Along(kDown, true), state));
    EXPECT_TRUE(mesh.f[0].GetFlag(kFaceCutHandled));
    for (int r = 0; r < 3; ++r) EXPECT_TRUE(IsFiniteUnit(state.frame.GetRow(r))) << "row " << r;
    for (int i = 0; i < state.outline.numPts; ++i) {
        const Point3& p = state.outline[i].p;
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
        ExpectNear(p * state.frame, mesh.v[mesh.f[0].vtx[i]].p);
    }
}

TEST(PrepareFaceCut, FaceThatIsAPointAlongTheDirectionIsOnlyMarked) {
    // Every corner on one line along the direction.
    MNMesh mesh = OneFace({Point3(1, 1, 0), Point3(1, 1, 1), Point3(1, 1, 3)});
    PolyShape around = MakeShape({MakeSquare(0, 0, 2, 2, 0)});
    FaceCutState state;
    EXPECT_FALSE(PrepareFaceCut(mesh, 0, around, Along(kDown, true), state));
    EXPECT_EQ(mesh.f[0].flags, kFaceCutHandled | kFaceInsideShape);

    MNMesh beside = OneFace({Point3(5, 5, 0), Point3(5, 5, 1), Point3(5, 5, 3)});
    beside.f[0].SetFlag(kFaceInsideShape);
    EXPECT_FALSE(PrepareFaceCut(beside, 0, around, Along(kDown, true), state));
    EXPECT_EQ(beside.f[0].flags, kFaceCutHandled);

    // No direction at all: nothing can lie inside anything.
    MNMesh still = OneFace({Point3(1, 1, 0), Point3(1, 1, 1), Point3(1, 1, 3)});
    EXPECT_FALSE(PrepareFaceCut(still, 0, around, Along(Point3(0, 0, 0), true), state));
    EXPECT_EQ(still.f[0].flags, kFaceCutHandled);
}

TEST(PrepareFaceCut, FaceIndexOutsideTheMeshChangesNothing) {
    MNMesh mesh = FlatSquare();
    FaceCutState state;
    EXPECT_FALSE(PrepareFaceCut(mesh, 1, PolyShape(), Along(kDown, true), state));
    EXPECT_FALSE(PrepareFaceCut(mesh, -1, PolyShape(), Along(kDown, true), state));
    EXPECT_EQ(mesh.f[0].flags, 0u);
}

}  // namespace
