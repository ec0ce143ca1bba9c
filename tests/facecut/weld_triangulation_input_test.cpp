#include "facecut/input/weld_triangulation_input.h"

#include <gtest/gtest.h>

#include <vector>

#include "weld_records.h"

namespace {

double X(const InputRecord& r, int i) {
    return r.io.pointlist[2 * i];
}
double Y(const InputRecord& r, int i) {
    return r.io.pointlist[2 * i + 1];
}
double Depth(const InputRecord& r, int i) {
    return r.io.pointattributelist[2 * i];
}
double Tag(const InputRecord& r, int i) {
    return r.io.pointattributelist[2 * i + 1];
}

TEST(WeldTriangulationInput, CoincidentPointsMergeAndSegmentsFollow) {
    // A unit square outline; a shape line from just beside corner 1 to inside.
    InputRecord record({{0, 0, 0, -1},
                        {1, 0, 0.5, -1},
                        {1, 1, 0, -1},
                        {0, 1, 0, -1},
                        {1, 0.0005, 0.7, -2},
                        {0.5, 0.5, 0, -2}},
                       {0, 1, 1, 2, 2, 3, 3, 0, 4, 5}, {2, 2, 2, 2, 3});
    WeldTriangulationInput(record.io, 0.001);
    ASSERT_EQ(record.io.numberofpoints, 5);
    EXPECT_EQ(record.io.pointmarkerlist, nullptr);
    // Sorted by x, then y: (0,0) (0,1) (0.5,0.5) (1,0) (1,1). The corner keeps its
    // place and depth: the face beside it has the same corner.
    EXPECT_DOUBLE_EQ(X(record, 3), 1.0);
    EXPECT_DOUBLE_EQ(Y(record, 3), 0.0);
    EXPECT_DOUBLE_EQ(Depth(record, 3), 0.5);
    // The polyline end outranks the outline corner it landed on.
    EXPECT_EQ(Tag(record, 3), -2.0);
    EXPECT_EQ(Tag(record, 0), -1.0);
    EXPECT_EQ(record.Segments(), (std::vector<int>{0, 3, 3, 4, 4, 1, 1, 0, 3, 2}));
    EXPECT_EQ(record.Markers(), (std::vector<int>{2, 2, 2, 2, 3}));
}

TEST(WeldTriangulationInput, InnerShapePointOutranksAnOutlinePoint) {
    InputRecord record(
        {{0, 0, 0, -1}, {2, 0, 0, -1}, {0, 2, 0, -1}, {1, 1e-4, 0, 3}, {1, 0, 0, -1}},
        {0, 4, 4, 1, 1, 2, 2, 0}, {2, 2, 2, 2});
    WeldTriangulationInput(record.io, 0.001);
    ASSERT_EQ(record.io.numberofpoints, 4);
    // (1, 0) and (1, 1e-4) merged: the shape point's tag wins whatever the order.
    EXPECT_EQ(Tag(record, 2), 3.0);
}

TEST(WeldTriangulationInput, MergedSegmentEndsAndRepeatsAreDropped) {
    InputRecord record({{0, 0, 0, -1}, {1, 0, 0, -1}, {0, 1, 0, -1}, {0.0001, 0, 0, -2}},
                       {0, 1, 1, 2, 2, 0, 0, 3, 1, 0}, {2, 2, 2, 3, 3});
    WeldTriangulationInput(record.io, 0.001);
    ASSERT_EQ(record.io.numberofpoints, 3);
    EXPECT_EQ(record.Segments(), (std::vector<int>{0, 2, 2, 1, 1, 0}));
    EXPECT_EQ(record.Markers(), (std::vector<int>{2, 2, 2}));
}

TEST(WeldTriangulationInput, PointInsideASegmentSplitsIt) {
    InputRecord record(
        {{0, 0, 0, -1}, {2, 0, 0, -1}, {1, 1, 0, -1}, {1, 0, 0.3, -2}, {1, 0.5, 0, -2}},
        {0, 1, 1, 2, 2, 0, 3, 4}, {2, 2, 2, 3});
    WeldTriangulationInput(record.io, 0.001);
    ASSERT_EQ(record.io.numberofpoints, 5);
    // Sorted: (0,0)=0 (1,0)=1 (1,0.5)=2 (1,1)=3 (2,0)=4. The outline's first edge
    // now ends at the shape's end on it, and its other piece comes last.
    EXPECT_EQ(record.Segments(), (std::vector<int>{0, 1, 4, 3, 3, 0, 1, 2, 1, 4}));
    EXPECT_EQ(record.Markers(), (std::vector<int>{2, 2, 2, 3, 2}));
}

TEST(WeldTriangulationInput, OnePointAndNoPoints) {
    InputRecord one({{3, 4, 5, -1}}, {}, {});
    WeldTriangulationInput(one.io, 0.001);
    ASSERT_EQ(one.io.numberofpoints, 1);
    EXPECT_EQ(X(one, 0), 3.0);
    EXPECT_EQ(Depth(one, 0), 5.0);

    InputRecord none({}, {}, {});
    WeldTriangulationInput(none.io, 0.001);
    EXPECT_EQ(none.io.numberofpoints, 0);
}

TEST(WeldTriangulationInput, SegmentEndsOutsideThePointListAreDropped) {
    InputRecord record({{0, 0, 0, -1}, {1, 0, 0, -1}}, {0, 1, 0, 7, -3, 1}, {2, 2, 2});
    WeldTriangulationInput(record.io, 0.001);
    EXPECT_EQ(record.Segments(), (std::vector<int>{0, 1}));
}

}  // namespace
