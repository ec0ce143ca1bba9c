#include "facecut/point_in_polyline.h"

#include <gtest/gtest.h>

#include "shape_builders.h"

namespace {

TEST(PointInPolyline, SquareInsideOutsideAndEmpty) {
    PolyLine square = MakeSquare(0.0f, 0.0f, 2.0f, 2.0f);
    EXPECT_TRUE(PointInPolyline(Point3(1.0f, 1.0f, 0.0f), square));
    EXPECT_FALSE(PointInPolyline(Point3(3.0f, 1.0f, 0.0f), square));
    EXPECT_FALSE(PointInPolyline(Point3(-1.0f, 1.0f, 0.0f), square));
    // z plays no part.
    EXPECT_TRUE(PointInPolyline(Point3(1.0f, 1.0f, -50.0f), square));
    EXPECT_FALSE(PointInPolyline(Point3(0.0f, 0.0f, 0.0f), PolyLine()));
}

TEST(PointInPolyline, OpenFlagIgnoredClosingEdgeCounts) {
    PolyLine open =
        MakeLine({Point3(0, 0, 0), Point3(2, 0, 0), Point3(2, 2, 0), Point3(0, 2, 0)}, false);
    EXPECT_TRUE(PointInPolyline(Point3(1.0f, 1.0f, 0.0f), open));
}

TEST(PointInPolyline, EdgeLevelWithThePointIsNotCounted) {
    // An L-shaped polygon whose inner horizontal edge, from (2, 1) to (1, 1), lies
    // level with the point and to its right: only the edge from (1, 1) up counts.
    PolyLine step = MakeLine({Point3(0, 0, 0), Point3(2, 0, 0), Point3(2, 1, 0), Point3(1, 1, 0),
                              Point3(1, 2, 0), Point3(0, 2, 0)},
                             true);
    EXPECT_TRUE(PointInPolyline(Point3(0.5f, 1.0f, 0.0f), step));
    EXPECT_FALSE(PointInPolyline(Point3(1.5f, 1.0f, 0.0f), step));
}

TEST(PointInClosedLines, ParityOverClosedLinesOnly) {
    Point3 p(0.0f, 0.0f, 0.0f);
    PolyLine outer = MakeSquare(-2.0f, -2.0f, 2.0f, 2.0f);
    PolyLine inner = MakeSquare(-1.0f, -1.0f, 1.0f, 1.0f);
    PolyLine openAround = MakeSquare(-3.0f, -3.0f, 3.0f, 3.0f);
    openAround.Open();
    PolyLine elsewhere = MakeSquare(5.0f, 5.0f, 6.0f, 6.0f);

    EXPECT_TRUE(PointInClosedLines(p, MakeShape({outer})));
    EXPECT_FALSE(PointInClosedLines(p, MakeShape({outer, inner})));
    EXPECT_TRUE(PointInClosedLines(p, MakeShape({outer, elsewhere, openAround})));
    EXPECT_FALSE(PointInClosedLines(p, MakeShape({openAround})));
    EXPECT_FALSE(PointInClosedLines(p, PolyShape()));
}

}  // namespace
