#include "facecut/input/move_points_onto_outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "weld_records.h"

namespace {

// A steep outline edge from (1, 0) to (0.99, 1) (depths 0 and 1) closing a triangle
// with (0, 0); a shape line runs just inside it.
const std::vector<int> kSegments = {0, 1, 1, 2, 2, 0, 3, 4, 4, 5};
const std::vector<int> kMarkers = {2, 2, 2, 3, 3};

TEST(MovePointsOntoOutline, AShapePointBesideAnEdgeMovesOntoItWithTheEdgesDepth) {
    std::vector<InputPoint> points = {{0, 0, 0, -1},     {1, 0, 0, -1},        {0.99, 1, 1, -1},
                                      {0.99, 0.2, 7, 1}, {0.99468, 0.5, 7, 1}, {0.5, 0.6, 7, 1}};
    InputRecord record(points, kSegments, kMarkers);
    std::vector<bstPoint> r = RecordsOf(points);
    EXPECT_EQ(MovePointsOntoOutline(record.io, r.data(), 6, 0.001), 1);
    // 3.2e-4 from the edge: onto its foot, at the edge's depth there.
    EXPECT_NEAR(r[4].x, 1.0 - 0.01 * r[4].y, 1e-12);
    EXPECT_NEAR(r[4].z, r[4].y, 1e-12);
    EXPECT_NEAR(std::hypot(r[4].x - 0.99468, r[4].y - 0.5), 0.00032 / std::hypot(1.0, 0.01), 1e-12);
    // 0.008 from it, beyond the tolerance; and not near any edge.
    EXPECT_EQ(r[3].x, 0.99);
    EXPECT_EQ(r[5].x, 0.5);
    // The outline's own points never move.
    EXPECT_EQ(r[1].x, 1.0);
    EXPECT_EQ(r[2].y, 1.0);
}

TEST(MovePointsOntoOutline, APointWhoseFootLiesWithinTheToleranceOfAnEndStays) {
    // Its foot 0.0005 from corner 1 along the edge: it would land beside the corner.
    std::vector<InputPoint> points = {{0, 0, 0, -1},          {1, 0, 0, -1},    {0.99, 1, 1, -1},
                                      {0.9999, 0.0005, 7, 1}, {0.5, 0.5, 7, 1}, {0.5, 0.6, 7, 1}};
    InputRecord record(points, kSegments, kMarkers);
    std::vector<bstPoint> r = RecordsOf(points);
    EXPECT_EQ(MovePointsOntoOutline(record.io, r.data(), 6, 0.001), 0);
    EXPECT_EQ(r[3].x, 0.9999);
    EXPECT_EQ(r[3].y, 0.0005);
}

TEST(MovePointsOntoOutline, APointBetweenTwoEdgesGoesToTheNearer) {
    // A thin quad: edges y = 0 and y = 0.0015 from x = 0 to 1; the point 0.0005 from
    // the lower one and 0.001 from the upper one.
    std::vector<InputPoint> points = {{0, 0, 0, -1},      {1, 0, 0, -1},       {1, 0.0015, 0, -1},
                                      {0, 0.0015, 0, -1}, {0.5, 0.0005, 3, 1}, {0.7, 0.5, 3, 1}};
    InputRecord record(points, {0, 1, 1, 2, 2, 3, 3, 0, 4, 5}, {2, 2, 2, 2, 3});
    std::vector<bstPoint> r = RecordsOf(points);
    EXPECT_EQ(MovePointsOntoOutline(record.io, r.data(), 6, 0.0011), 1);
    EXPECT_DOUBLE_EQ(r[4].y, 0.0);
    EXPECT_DOUBLE_EQ(r[4].x, 0.5);
}

TEST(MovePointsOntoOutline, ManyPointsFindTheirEdgesThroughTheGrid) {
    // Enough points for the grid: a shape line of 200 points 2e-5 inside the edge
    // x = 1 of a unit square, and as many far inside.
    std::vector<InputPoint> points = {{0, 0, 0, -1}, {1, 0, 0, -1}, {1, 1, 2, -1}, {0, 1, 0, -1}};
    std::vector<int> segments = {0, 1, 1, 2, 2, 3, 3, 0};
    std::vector<int> markers = {2, 2, 2, 2};
    for (int i = 0; i < 200; ++i) {
        points.push_back({1 - 2e-5, 0.1 + 0.004 * i, 5, 1});
        points.push_back({0.5, 0.1 + 0.004 * i, 5, 2});
    }
    for (int i = 0; i + 2 < 400; i += 2) {
        segments.insert(segments.end(), {4 + i, 6 + i, 5 + i, 7 + i});
        markers.insert(markers.end(), {3, 3});
    }
    InputRecord record(points, segments, markers);
    std::vector<bstPoint> r = RecordsOf(points);
    EXPECT_EQ(MovePointsOntoOutline(record.io, r.data(), static_cast<int>(r.size()), 0.001), 200);
    for (int i = 0; i < 200; ++i) {
        const bstPoint& p = r[static_cast<size_t>(4 + 2 * i)];
        EXPECT_DOUBLE_EQ(p.x, 1.0);
        EXPECT_NEAR(p.z, 2.0 * p.y, 1e-12);
        EXPECT_EQ(r[static_cast<size_t>(5 + 2 * i)].x, 0.5);
    }
}

}  // namespace
