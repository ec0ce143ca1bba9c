#include "evaluation_cancel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "mesh.h"
#include "mesh_fixtures.h"
#include "polyobj.h"

namespace {

// A grid large enough that its copy and conversion pass several cancel checks.
MNMesh BigGrid() {
    MNMesh mesh;
    MakeGrid(mesh, 100, 100);
    return mesh;
}

}  // namespace

TEST(EvaluationCancel, ARaisedFlagStopsTheLongStepsAndLeavesTheirTargets) {
    const MNMesh grid = BigGrid();
    MNMesh target;
    MakeCube(target);
    Mesh triangles;
    std::atomic<bool> flag{true};
    {
        EvaluationCancelScope scope(&flag);
        EXPECT_THROW(MNMesh copy(grid), EvaluationCancelled);
        EXPECT_THROW(target = grid, EvaluationCancelled);
        EXPECT_THROW(grid.OutToTri(triangles), EvaluationCancelled);
        MNMesh doomed = BigGrid();
        doomed.f[7].SetFlag(MN_SEL);
        EXPECT_THROW(doomed.DeleteFlaggedFaces(MN_SEL), EvaluationCancelled);
        EXPECT_THROW(doomed.DeleteFace(3), EvaluationCancelled);
        EXPECT_EQ(doomed.numf, 10000);
        EXPECT_FALSE(doomed.f[3].GetFlag(MN_DEAD));
        EXPECT_FALSE(doomed.f[7].GetFlag(MN_DEAD));
    }
    // The cube is whole: the cancelled assignment changed nothing.
    EXPECT_EQ(target.numv, 8);
    EXPECT_EQ(target.numf, 6);
    EXPECT_TRUE(Consistent(target));

    // Out of the scope, or with the flag lowered, the same steps run to the end.
    MNMesh copy(grid);
    EXPECT_EQ(copy.numf, 10000);
    EXPECT_TRUE(Consistent(copy));
    flag = false;
    EvaluationCancelScope scope(&flag);
    target = grid;
    EXPECT_EQ(target.numf, 10000);
    EXPECT_TRUE(Consistent(target));
    grid.OutToTri(triangles);
    EXPECT_EQ(triangles.numFaces, 20000);
}

// The objects a cancelled copy or conversion had made are freed (the leak check of
// the sanitizer run sees any that is not).
TEST(EvaluationCancel, ACancelledObjectCopyOrConversionLeavesNoObjectBehind) {
    PolyObject poly;
    poly.mm = BigGrid();
    std::atomic<bool> flag{true};
    EvaluationCancelScope scope(&flag);
    EXPECT_THROW(delete poly.CopyObject(), EvaluationCancelled);
    EXPECT_THROW(delete poly.ConvertToType(0, triObjectClassID), EvaluationCancelled);
    flag = false;
    Object* tri = poly.ConvertToType(0, triObjectClassID);
    ASSERT_NE(tri, nullptr);
    EXPECT_EQ(static_cast<TriObject*>(tri)->mesh.numFaces, 20000);
    delete tri;
}

TEST(EvaluationCancel, AFlagStopsOnlyTheThreadThatWatchesIt) {
    const MNMesh grid = BigGrid();
    std::atomic<bool> flag{true};
    EvaluationCancelScope scope(&flag);
    int copied = 0;
    std::thread other([&] { copied = MNMesh(grid).numf; });
    other.join();
    EXPECT_EQ(copied, 10000);
    // Scopes nest: the inner one's flag holds until it ends.
    std::atomic<bool> lowered{false};
    {
        EvaluationCancelScope inner(&lowered);
        EXPECT_NO_THROW(MNMesh copy(grid));
    }
    EXPECT_THROW(MNMesh copy(grid), EvaluationCancelled);
}
