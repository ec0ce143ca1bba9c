#include "facecut/prepare/keep_shape_above_plane.h"

#include <gtest/gtest.h>

#include <limits>

#include "shape_builders.h"

namespace {

TEST(KeepShapeAbovePlane, ClosedLineWhollyAboveStaysClosedWithFreshPoints) {
    PolyLine line = MakeSquare(0.0f, 0.0f, 1.0f, 1.0f, 0.5f);
    line[2].flags = 7;
    line[2].aux1 = 8;
    line[2].aux2 = 9;
    PolyShape shape = MakeShape({line});
    KeepShapeAbovePlane(shape);
    ASSERT_EQ(shape.numLines, 1);
    ASSERT_EQ(shape[0].numPts, 4);
    EXPECT_TRUE(shape[0].IsClosed());
    EXPECT_EQ(shape[0][2].p, Point3(1.0f, 1.0f, 0.5f));
    EXPECT_EQ(shape[0][2].flags, 0u);
    EXPECT_EQ(shape[0][2].aux1, 0u);
    EXPECT_EQ(shape[0][2].aux2, 0u);
}

TEST(KeepShapeAbovePlane, PointOnThePlaneSplitsIntoOpenRuns) {
    PolyShape shape = MakeShape({MakeLine(
        {Point3(0, 0, 1), Point3(1, 0, 1), Point3(2, 0, 0), Point3(3, 0, 1), Point3(4, 0, 2)},
        true)});
    KeepShapeAbovePlane(shape);
    ASSERT_EQ(shape.numLines, 2);
    EXPECT_FALSE(shape[0].IsClosed());
    EXPECT_FALSE(shape[1].IsClosed());
    ASSERT_EQ(shape[0].numPts, 2);
    ASSERT_EQ(shape[1].numPts, 2);
    EXPECT_EQ(shape[1][0].p, Point3(3, 0, 1));
}

TEST(KeepShapeAbovePlane, RunsAtBothEndsOfAClosedLineAreNotJoined) {
    PolyShape shape =
        MakeShape({MakeLine({Point3(0, 0, 1), Point3(1, 0, -1), Point3(2, 0, 1)}, true)});
    KeepShapeAbovePlane(shape);
    ASSERT_EQ(shape.numLines, 2);
    EXPECT_EQ(shape[0][0].p, Point3(0, 0, 1));
    EXPECT_EQ(shape[1][0].p, Point3(2, 0, 1));
}

TEST(KeepShapeAbovePlane, LinesOnOrBelowThePlaneDisappear) {
    float nan = std::numeric_limits<float>::quiet_NaN();
    PolyShape shape = MakeShape({MakeSquare(0.0f, 0.0f, 1.0f, 1.0f, 0.0f),
                                 MakeLine({Point3(0, 0, -1), Point3(1, 1, nan)}, false),
                                 MakeLine({Point3(5, 5, 3)}, false)});
    KeepShapeAbovePlane(shape);
    ASSERT_EQ(shape.numLines, 1);
    EXPECT_EQ(shape[0][0].p, Point3(5, 5, 3));
}

}  // namespace
