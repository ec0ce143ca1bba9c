#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "facecut/prepare/add_outline_points_to_shape.h"
#include "facecut/prepare/add_shape_points_to_outline.h"
#include "shape_builders.h"

namespace {

TEST(AddShapePointsToOutline, PointInsideAnEdgeBecomesACorner) {
    PolyLine outline = MakeSquare(0.0f, 0.0f, 4.0f, 4.0f);
    PolyLine line = MakeLine({Point3(2, 0, 0), Point3(2, -3, 0)}, false);
    line[0].flags = 5;
    line[0].aux1 = 6;
    AddShapePointsToOutline(outline, MakeShape({line}));
    ASSERT_EQ(outline.numPts, 5);
    EXPECT_EQ(outline[1].p, Point3(2, 0, 0));
    EXPECT_EQ(outline[1].flags, 5u);
    EXPECT_EQ(outline[1].aux1, 6u);
    EXPECT_EQ(outline[2].p, Point3(4, 0, 0));
}

TEST(AddShapePointsToOutline, PointAtACornerInsertsNothing) {
    PolyLine outline = MakeSquare(0.0f, 0.0f, 4.0f, 4.0f);
    AddShapePointsToOutline(outline, MakeShape({MakeLine({Point3(4, 4, 0)}, false)}));
    EXPECT_EQ(outline.numPts, 4);
}

TEST(AddShapePointsToOutline, PointAboveAnEdgeIsInsertedWithItsHeight) {
    PolyLine outline = MakeSquare(0.0f, 0.0f, 4.0f, 4.0f);
    AddShapePointsToOutline(outline, MakeShape({MakeLine({Point3(4, 1, 2.5f)}, false)}));
    ASSERT_EQ(outline.numPts, 5);
    EXPECT_EQ(outline[2].p, Point3(4, 1, 2.5f));
}

TEST(AddShapePointsToOutline, LaterPointsWalkTheGrownOutline) {
    PolyLine outline = MakeSquare(0.0f, 0.0f, 4.0f, 4.0f);
    AddShapePointsToOutline(outline,
                            MakeShape({MakeLine({Point3(3, 0, 0), Point3(1, 0, 0)}, false)}));
    ASSERT_EQ(outline.numPts, 6);
    EXPECT_EQ(outline[1].p, Point3(1, 0, 0));
    EXPECT_EQ(outline[2].p, Point3(3, 0, 0));
}

// A dense line crossing an edge near its far end. Seen from the edge's start, ten
// units away, points a hundredth off the edge are within the sine tolerance; taken in,
// each would shorten the edge to end at it, and the next point, 0.0015 further along
// the line, would again be within the tolerance: the outline would follow the line
// into the face. Only points on the edge as seen from both its ends go in.
TEST(AddShapePointsToOutline, ADenseLineNearAnEdgesEndIsNotChainedIntoTheOutline) {
    PolyLine outline = MakeSquare(0.0f, 0.0f, 10.0f, 10.0f);
    PolyShape shape;
    PolyLine& line = shape.NewLine();
    for (int i = 0; i <= 400; ++i) {
        float x = 9.2f + 0.0015f * static_cast<float>(i);
        line.Append(PolyPt(Point3(x, 0.1f * (x - 9.5f), 0.0f)));
    }
    AddShapePointsToOutline(outline, shape);
    EXPECT_LT(outline.numPts, 4 + 10);
    for (int i = 0; i < outline.numPts; ++i) {
        const Point3& p = outline[i].p;
        float offEdge = std::min(std::min(std::fabs(p.x), std::fabs(p.x - 10.0f)),
                                 std::min(std::fabs(p.y), std::fabs(p.y - 10.0f)));
        EXPECT_LT(offEdge, 1e-3f) << p.x << " " << p.y;
    }
}

TEST(AddShapePointsToOutline, ClosingEdgeInsertsAtPositionZeroOnlyWhenClosed) {
    PolyLine outline = MakeSquare(0.0f, 0.0f, 4.0f, 4.0f);
    PolyShape shape = MakeShape({MakeLine({Point3(0, 2, 0)}, false)});
    PolyLine open = outline;
    open.Open();
    AddShapePointsToOutline(open, shape);
    EXPECT_EQ(open.numPts, 4);

    AddShapePointsToOutline(outline, shape);
    ASSERT_EQ(outline.numPts, 5);
    EXPECT_EQ(outline[0].p, Point3(0, 2, 0));
    EXPECT_EQ(outline[1].p, Point3(0, 0, 0));
    EXPECT_EQ(outline[4].p, Point3(0, 4, 0));
}

TEST(AddOutlinePointsToShape, CornerInsideASegmentJoinsTheLineWithItsWords) {
    PolyLine outline = MakeSquare(0.0f, 0.0f, 4.0f, 4.0f);
    outline[1].flags = 11;
    outline[1].aux2 = 12;
    PolyShape shape = MakeShape({MakeLine({Point3(2, -2, 0), Point3(6, 2, 0)}, false)});
    AddOutlinePointsToShape(shape, outline);
    ASSERT_EQ(shape[0].numPts, 3);
    EXPECT_EQ(shape[0][1].p, Point3(4, 0, 0));
    EXPECT_EQ(shape[0][1].flags, 11u);
    EXPECT_EQ(shape[0][1].aux2, 12u);
}

TEST(AddOutlinePointsToShape, ClosingSegmentOnlyForClosedLines) {
    PolyLine outline = MakeSquare(0.0f, 0.0f, 4.0f, 4.0f);
    // Only the segment from the last point back to the first passes through the
    // corner (0, 0).
    PolyLine line = MakeLine({Point3(-1, -1, 0), Point3(-2, 5, 0), Point3(1, 1, 0)}, false);
    PolyShape open = MakeShape({line});
    AddOutlinePointsToShape(open, outline);
    EXPECT_EQ(open[0].numPts, 3);

    line.Close();
    PolyShape closed = MakeShape({line});
    AddOutlinePointsToShape(closed, outline);
    ASSERT_EQ(closed[0].numPts, 4);
    EXPECT_EQ(closed[0][0].p, Point3(0, 0, 0));
    EXPECT_EQ(closed[0][1].p, Point3(-1, -1, 0));
}

}  // namespace
