#include "facecut/face_corner_spacing.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "shape_builders.h"

namespace {

TEST(FaceCornerSpacing, IsTheNarrowestPlaceOfTheFaceIn3D) {
    // A thin triangle standing upright: seen from above it has no width at all.
    MNMesh upright = OneFace({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0.5f, 0, 0.01f)});
    EXPECT_NEAR(FaceCornerSpacing(upright, 0), 0.01, 1e-6);
    // A quad whose corner lies closer to an edge it does not end than to any corner.
    MNMesh dart = OneFace({Point3(0, 0, 0), Point3(2, 0, 0), Point3(1, 0.1f, 0), Point3(1, 1, 0)});
    EXPECT_NEAR(FaceCornerSpacing(dart, 0), 0.1, 1e-6);
}

TEST(FaceCornerSpacing, NeverFallsBelowTheRoundingOfTheCorners) {
    // Two corners at one place, far from the origin.
    MNMesh pinched =
        OneFace({Point3(1000, 0, 0), Point3(1001, 0, 0), Point3(1001, 0, 0), Point3(1000, 1, 0)});
    EXPECT_DOUBLE_EQ(FaceCornerSpacing(pinched, 0), 16.0 * FLT_EPSILON * 1001.0);
}

}  // namespace
