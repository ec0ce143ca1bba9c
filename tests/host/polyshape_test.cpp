#include <gtest/gtest.h>

#include "polyshp.h"

namespace {
PolyPt Pt(float x, DWORD flags = 0) {
    return PolyPt(Point3(x, 0.0f, 0.0f), flags, 7, 9);
}
}  // namespace

TEST(PolyLine, InsertMovesLaterPointsUpAndKeepsWholePoints) {
    PolyLine line;
    line.Append(Pt(0.0f));
    line.Append(Pt(2.0f));
    line.Insert(1, Pt(1.0f, 0x40));
    line.Insert(0, Pt(-1.0f));
    line.Insert(line.numPts, Pt(3.0f));
    ASSERT_EQ(line.numPts, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(line[i].p.x, float(i - 1));
    EXPECT_EQ(line[2].flags, 0x40u);
    EXPECT_EQ(line[2].aux1, 7u);
    EXPECT_EQ(line[2].aux2, 9u);
    line.Insert(9, Pt(9.0f));  // outside: ignored
    EXPECT_EQ(line.numPts, 5);
}

TEST(PolyLine, InsertOfItsOwnPointAndClosedFlag) {
    PolyLine line;
    for (int i = 0; i < 40; ++i) line.Append(Pt(float(i)));
    line.Insert(0, line[39]);  // aliasing while the storage grows
    EXPECT_EQ(line[0].p.x, 39.0f);
    EXPECT_FALSE(line.IsClosed());
    line.Close();
    EXPECT_TRUE(line.IsClosed());
    EXPECT_EQ(line.flags, 0x1u);
}

TEST(PolyShape, NewLineAppendCopyAndInit) {
    PolyShape shape;
    PolyLine& first = shape.NewLine();
    EXPECT_FALSE(first.IsClosed());
    first.Append(Pt(1.0f));
    PolyLine closed;
    closed.Append(Pt(5.0f));
    closed.Close();
    shape.Append(closed);
    shape.Append(shape[0]);
    ASSERT_EQ(shape.numLines, 3);

    PolyShape copy = shape;
    copy[0][0].p.x = 42.0f;
    EXPECT_EQ(shape[0][0].p.x, 1.0f);  // deep copy
    EXPECT_TRUE(copy[1].IsClosed());
    EXPECT_EQ(copy.lines[2].pts[0].p.x, 1.0f);

    PolyShape moved = std::move(copy);
    EXPECT_EQ(moved.numLines, 3);
    EXPECT_EQ(copy.numLines, 0);
    shape.Init();
    EXPECT_EQ(shape.numLines, 0);
    EXPECT_EQ(shape.lines, nullptr);
}
