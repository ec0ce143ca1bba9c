#include "facecut/input/merge_close_points.h"

#include <gtest/gtest.h>

#include <vector>

#include "weld_records.h"

namespace {

struct Merged {
    std::vector<bstPoint> records;
    std::vector<int> map;
    int count;
};

Merged Merge(std::vector<bstPoint> records, double tol = 0.001) {
    Merged m;
    m.count = static_cast<int>(records.size());
    m.map = MergeClosePoints(records.data(), m.count, tol, {});
    m.records = records;
    return m;
}

TEST(MergeClosePoints, PairAlongYMergesAtItsMidpoint) {
    Merged m = Merge({Record(1.0, 2.0, 0.2, 0), Record(1.0, 2.0005, 0.4, 1)});
    ASSERT_EQ(m.count, 1);
    EXPECT_DOUBLE_EQ(m.records[0].x, 1.0);
    EXPECT_DOUBLE_EQ(m.records[0].y, 2.00025);
    EXPECT_DOUBLE_EQ(m.records[0].z, 0.3);
    EXPECT_EQ(m.records[0].index, -1);
    EXPECT_EQ(m.records[0].flags, 0u);
    EXPECT_EQ(m.map, (std::vector<int>{0, 0}));
}

TEST(MergeClosePoints, PairAlongXMergesAtItsMidpoint) {
    // Snapping gives the later one the earlier x for the walk only.
    Merged m = Merge({Record(1.0005, 2.0, 0.4, 0), Record(1.0, 2.0, 0.2, 1)});
    ASSERT_EQ(m.count, 1);
    EXPECT_DOUBLE_EQ(m.records[0].x, 1.00025);
    EXPECT_DOUBLE_EQ(m.records[0].y, 2.0);
    EXPECT_DOUBLE_EQ(m.records[0].z, 0.3);
}

TEST(MergeClosePoints, CloseInXFarInYBothStayWhereTheyAre) {
    Merged m = Merge({Record(1.0, 2.0, 0, 0), Record(1.0004, 5.0, 0, 1)});
    ASSERT_EQ(m.count, 2);
    EXPECT_EQ(m.records[1].x, 1.0004);
    EXPECT_EQ(m.records[1].index, 1);
    EXPECT_EQ(m.records[1].flags, kRecordSinglePoint);
    EXPECT_EQ(m.map, (std::vector<int>{0, 1}));
}

TEST(MergeClosePoints, PointsAlongASteepEdgeStayOnIt) {
    // A steep outline edge seen by the x snap: every point is within the tolerance
    // of the next in x, none near another. Snapped, they became a staircase off the
    // edge, and the triangles between it and the edge were lost.
    std::vector<bstPoint> records;
    for (int i = 0; i < 20; ++i) records.push_back(Record(-0.0003 * i, 0.01 * i, 0, i));
    Merged m = Merge(records);
    ASSERT_EQ(m.count, 20);
    for (int k = 0; k < m.count; ++k) {
        const bstPoint& r = m.records[static_cast<size_t>(k)];
        ASSERT_GE(r.index, 0);
        EXPECT_DOUBLE_EQ(r.x, -0.0003 * r.index);
        EXPECT_DOUBLE_EQ(r.y, 0.01 * r.index);
    }
    // A pair among them still merges, at its own midpoint: the snapped x of the
    // chain lies 0.0036 away.
    records.push_back(Record(-0.0003 * 7 + 0.0002, 0.07 + 0.0004, 0, 20));
    m = Merge(records);
    ASSERT_EQ(m.count, 20);
    ASSERT_EQ(m.map[7], m.map[20]);
    const bstPoint& pair = m.records[static_cast<size_t>(m.map[7])];
    EXPECT_DOUBLE_EQ(pair.x, -0.002);
    EXPECT_DOUBLE_EQ(pair.y, 0.0702);
}

TEST(MergeClosePoints, ChainAlongYCollapsesToTheRunningMidpoint) {
    Merged m = Merge({Record(0, 0.0, 0, 0), Record(0, 0.0006, 0, 1), Record(0, 0.0012, 0, 2)});
    ASSERT_EQ(m.count, 1);
    EXPECT_DOUBLE_EQ(m.records[0].y, (0.0 + 0.0006) * 0.5 * 0.5 + 0.0012 * 0.5);
}

TEST(MergeClosePoints, ChainAlongXEndsAsTwoPoints) {
    Merged m = Merge({Record(0.0, 0, 0, 0), Record(0.0006, 0, 0, 1), Record(0.0012, 0, 0, 2)});
    ASSERT_EQ(m.count, 2);
    EXPECT_DOUBLE_EQ(m.records[0].x, 0.0003);
    EXPECT_EQ(m.records[1].x, 0.0012);
    EXPECT_EQ(m.map, (std::vector<int>{0, 0, 1}));
}

TEST(MergeClosePoints, AnAnchoredPointKeepsItsPlaceAndTwoTakeTheirMidpoint) {
    // Points 0 and 2 are anchored; 1 and 3 lie within the tolerance of them.
    std::vector<bstPoint> records = {Record(1.0, 2.0, 0.2, 0), Record(1.0004, 2.0003, 0.9, 1),
                                     Record(5.0, 5.0, 0.0, 2), Record(5.0, 5.0006, 0.4, 3),
                                     Record(5.0, 5.0002, 0.8, 4)};
    int count = 5;
    std::vector<int> map = MergeClosePoints(records.data(), count, 0.001, {1, 0, 1, 0, 1});
    ASSERT_EQ(count, 2);
    EXPECT_EQ(map, (std::vector<int>{0, 0, 1, 1, 1}));
    EXPECT_DOUBLE_EQ(records[0].x, 1.0);
    EXPECT_DOUBLE_EQ(records[0].y, 2.0);
    EXPECT_DOUBLE_EQ(records[0].z, 0.2);
    // Anchored 2 and 4 meet at their midpoint; 3 moves neither.
    EXPECT_DOUBLE_EQ(records[1].x, 5.0);
    EXPECT_DOUBLE_EQ(records[1].y, 5.0001);
    EXPECT_DOUBLE_EQ(records[1].z, 0.4);
    EXPECT_EQ(records[1].index, -1);
}

TEST(MergeClosePoints, OnePoint) {
    Merged m = Merge({Record(3, 4, 5, 0)});
    ASSERT_EQ(m.count, 1);
    EXPECT_EQ(m.map, (std::vector<int>{0}));
    EXPECT_EQ(m.records[0].index, 0);
}

}  // namespace
