#include "facecut/input/split_segments_at_points.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_set>
#include <vector>

#include "facecut/segment_key.h"
#include "weld_records.h"

namespace {

void Split(InputRecord& record, const std::vector<bstPoint>& points) {
    SplitSegmentsAtPoints(record.io, points.data(), static_cast<int>(points.size()));
}

TEST(SplitSegmentsAtPoints, PointInsideASegmentSplitsIt) {
    // The middle point lies on the segment in x and y, far from it in depth.
    std::vector<InputPoint> points = {{0, 0, 0, -1}, {2, 0, 0, -1}, {1, 0, 9, 1}};
    InputRecord record(points, {0, 1}, {2});
    Split(record, RecordsOf(points));
    EXPECT_EQ(record.Segments(), (std::vector<int>{0, 2, 2, 1}));
    EXPECT_EQ(record.Markers(), (std::vector<int>{2, 2}));
}

TEST(SplitSegmentsAtPoints, ExistingPieceIsNotAddedAgain) {
    std::vector<InputPoint> points = {{0, 0, 0, -1}, {2, 0, 0, -1}, {1, 0, 0, 1}};
    InputRecord record(points, {0, 1, 1, 2}, {2, 3});
    Split(record, RecordsOf(points));
    EXPECT_EQ(record.Segments(), (std::vector<int>{0, 2, 1, 2}));
    EXPECT_EQ(record.Markers(), (std::vector<int>{2, 3}));

    InputRecord other(points, {0, 1, 0, 2}, {2, 3});
    Split(other, RecordsOf(points));
    EXPECT_EQ(other.Segments(), (std::vector<int>{2, 1, 0, 2}));
}

TEST(SplitSegmentsAtPoints, PointsAtTheEndsOrOffTheLineLeaveItWhole) {
    std::vector<InputPoint> points = {
        {0, 0, 0, -1}, {2, 0, 0, -1}, {5e-11, 0, 0, 1}, {1, 0.5, 0, 1}, {3, 0, 0, 1}};
    InputRecord record(points, {0, 1}, {2});
    Split(record, RecordsOf(points));
    EXPECT_EQ(record.Segments(), (std::vector<int>{0, 1}));
}

// Points beside a long segment's end: seen from its start they are within the sine
// tolerance, seen from its end they are well off it. Splitting there would bend the
// segment out to them, one after another.
TEST(SplitSegmentsAtPoints, PointsBesideTheFarEndLeaveItWhole) {
    std::vector<InputPoint> points = {
        {0, 0, 0, -1}, {10, 0, 0, -1}, {9.999, 0.005, 0, 1}, {9.998, 0.006, 0, 1}};
    InputRecord record(points, {0, 1, 2, 3}, {2, 3});
    Split(record, RecordsOf(points));
    EXPECT_EQ(record.Segments(), (std::vector<int>{0, 1, 2, 3}));
    // Near the middle the same offset is taken in.
    std::vector<InputPoint> middle = {{0, 0, 0, -1}, {10, 0, 0, -1}, {5, 0.004, 0, 1}};
    InputRecord split(middle, {0, 1}, {2});
    Split(split, RecordsOf(middle));
    EXPECT_EQ(split.Segments(), (std::vector<int>{0, 2, 2, 1}));
}

TEST(SplitSegmentsAtPoints, PiecesAddedOnTheWayAreSplitByLaterPoints) {
    std::vector<InputPoint> points = {{0, 0, 0, -1}, {4, 0, 0, -1}, {1, 0, 0, 1}, {3, 0, 0, 1}};
    InputRecord record(points, {0, 1}, {3});
    Split(record, RecordsOf(points));
    EXPECT_EQ(record.Segments(), (std::vector<int>{0, 2, 2, 3, 3, 1}));
    EXPECT_EQ(record.Markers(), (std::vector<int>{3, 3, 3}));
}

// The splits as plain walks over every point and segment.
void ReferenceSplit(triangulateio& io, const std::vector<bstPoint>& points) {
    std::vector<int> segments(io.segmentlist, io.segmentlist + 2 * io.numberofsegments);
    std::vector<int> markers(io.segmentmarkerlist, io.segmentmarkerlist + io.numberofsegments);
    auto joins = [&segments](int a, int b) {
        for (size_t j = 0; j < segments.size(); j += 2)
            if (SegmentKey(segments[j], segments[j + 1]) == SegmentKey(a, b))
                return true;
        return false;
    };
    for (int i = 0; i < static_cast<int>(points.size()); ++i) {
        for (size_t j = 0; j < markers.size(); ++j) {
            int a = segments[2 * j];
            int b = segments[2 * j + 1];
            if (i == a || i == b)
                continue;
            if (points[i].SegmentPosition(points[a], points[b], true, 1e-10) != 4 ||
                points[i].SegmentPosition(points[b], points[a], true, 1e-10) != 4)
                continue;
            if (joins(i, a)) {
                segments[2 * j] = i;
            } else if (joins(i, b)) {
                segments[2 * j + 1] = i;
            } else {
                segments[2 * j + 1] = i;
                segments.push_back(i);
                segments.push_back(b);
                markers.push_back(markers[j]);
            }
        }
    }
    io.numberofsegments = static_cast<int>(markers.size());
    io.segmentlist = static_cast<int*>(std::realloc(io.segmentlist, sizeof(int) * segments.size()));
    io.segmentmarkerlist =
        static_cast<int*>(std::realloc(io.segmentmarkerlist, sizeof(int) * markers.size()));
    std::copy(segments.begin(), segments.end(), io.segmentlist);
    std::copy(markers.begin(), markers.end(), io.segmentmarkerlist);
}

TEST(SplitSegmentsAtPoints, SkippingFarPairsKeepsTheResultAndOrder) {
    // Many points on a few long lines and on short random segments: enough pairs
    // for the grid, with points on, near and off the segments.
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<InputPoint> points;
        std::vector<int> segments;
        std::vector<int> markers;
        for (int line = 0; line < 4; ++line) {
            double x0 = unit(rng) * 10, y0 = unit(rng) * 10, x1 = unit(rng) * 10,
                   y1 = unit(rng) * 10;
            int first = static_cast<int>(points.size());
            points.push_back({x0, y0, 0, -1});
            points.push_back({x1, y1, 0, -1});
            segments.push_back(first);
            segments.push_back(first + 1);
            markers.push_back(2);
            for (int k = 0; k < 40; ++k) {
                double t = unit(rng);
                double off = k % 3 == 0 ? (unit(rng) - 0.5) * 0.01 : 0.0;
                points.push_back({x0 + t * (x1 - x0), y0 + t * (y1 - y0) + off, unit(rng), 1});
            }
        }
        for (int s = 0; s < 150; ++s) {
            int a = static_cast<int>(unit(rng) * points.size());
            int b = static_cast<int>(unit(rng) * points.size());
            segments.push_back(a);
            segments.push_back(b);
            markers.push_back(3 + s);
        }
        std::vector<bstPoint> records = RecordsOf(points);
        InputRecord got(points, segments, markers);
        InputRecord want(points, segments, markers);
        Split(got, records);
        ReferenceSplit(want.io, records);
        ASSERT_EQ(got.Segments(), want.Segments()) << "trial " << trial;
        ASSERT_EQ(got.Markers(), want.Markers()) << "trial " << trial;
        EXPECT_GT(got.io.numberofsegments, 154);
    }
}

// A shape segment passing 0.003 beside an outline corner, farther than the on-line
// test reaches: without the bend the triangulator gets a sliver between them.
TEST(SplitSegmentsAtPoints, AShapeLineBendsThroughAnOutlineCornerItPassesWithinTheReach) {
    std::vector<InputPoint> points = {{0, 0, 0, -1},       {1, 0, 0, -1},      {1, 1, 0, -1},
                                      {0.997, -0.5, 0, 1}, {0.997, 0.5, 0, 1}, {0.5, 0.3, 0, 1}};
    // Outline triangle 0-1-2; shape segments 3-4 (past corner 1) and 5-4.
    std::vector<int> segments = {0, 1, 1, 2, 2, 0, 3, 4, 5, 4};
    std::vector<int> markers = {2, 2, 2, 3, 3};
    {
        InputRecord record(points, segments, markers);
        SplitSegmentsAtPoints(record.io, RecordsOf(points).data(), 6, 0.01);
        EXPECT_EQ(record.Segments(), (std::vector<int>{0, 1, 1, 2, 2, 0, 3, 1, 5, 4, 1, 4}));
        EXPECT_EQ(record.Markers(), (std::vector<int>{2, 2, 2, 3, 3, 3}));
    }
    // Without a reach, or beyond it, the segment stays whole.
    for (double reach : {0.0, 0.002}) {
        InputRecord record(points, segments, markers);
        SplitSegmentsAtPoints(record.io, RecordsOf(points).data(), 6, reach);
        EXPECT_EQ(record.Segments(), segments) << reach;
    }
}

TEST(SplitSegmentsAtPoints, OnlyOutlinePointsBendOnlyShapeLines) {
    // Corner 1 lies 0.003 beside outline segment 2-0; shape point 3 lies 0.003
    // beside shape segment 4-5.
    std::vector<InputPoint> points = {{0, 0, 0, -1},    {0.5, 0.003, 0, -1}, {1, 0, 0, -1},
                                      {0.5, 0.5, 0, 1}, {0, 0.503, 0, 1},    {1, 0.503, 0, 1}};
    std::vector<int> segments = {0, 1, 1, 2, 2, 0, 4, 5};
    std::vector<int> markers = {2, 2, 2, 3};
    InputRecord record(points, segments, markers);
    SplitSegmentsAtPoints(record.io, RecordsOf(points).data(), 6, 0.01);
    EXPECT_EQ(record.Segments(), segments);
}

TEST(SplitSegmentsAtPoints, BendsAreFoundThroughTheGrid) {
    // A zig-zag outline with a shape segment 0.003 beside each of its corners:
    // enough pairs for the grid.
    std::vector<InputPoint> points;
    std::vector<int> segments;
    std::vector<int> markers;
    for (int i = 0; i < 30; ++i) points.push_back({0.1 * i, 0.05 * (i % 2), 0, -1});
    for (int i = 0; i + 1 < 30; ++i) {
        segments.insert(segments.end(), {i, i + 1});
        markers.push_back(2);
    }
    for (int i = 0; i < 30; ++i) {
        int first = static_cast<int>(points.size());
        points.push_back({0.1 * i - 0.04, 0.05 * (i % 2) + 0.003, 0, 1});
        points.push_back({0.1 * i + 0.04, 0.05 * (i % 2) + 0.003, 0, 1});
        segments.insert(segments.end(), {first, first + 1});
        markers.push_back(3);
    }
    InputRecord record(points, segments, markers);
    SplitSegmentsAtPoints(record.io, RecordsOf(points).data(), static_cast<int>(points.size()),
                          0.01);
    ASSERT_EQ(record.io.numberofsegments, 29 + 30 + 30);
    std::vector<int> got = record.Segments();
    for (int i = 0; i < 30; ++i) {
        size_t shape = static_cast<size_t>(2 * (29 + i));
        size_t added = static_cast<size_t>(2 * (59 + i));
        EXPECT_EQ(got[shape], 30 + 2 * i) << i;
        EXPECT_EQ(got[shape + 1], i) << i;
        EXPECT_EQ(got[added], i) << i;
        EXPECT_EQ(got[added + 1], 31 + 2 * i) << i;
    }
}

}  // namespace
