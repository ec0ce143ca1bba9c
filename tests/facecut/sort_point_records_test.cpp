#include "facecut/input/sort_point_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "weld_records.h"

namespace {

std::uint32_t Advance(std::uint32_t seed) {
    return (seed * 1366u + 150889u) % 714025u;
}

// The number of advances that lead from before to after, or -1 beyond limit.
int AdvancesBetween(std::uint32_t before, std::uint32_t after, int limit) {
    for (int steps = 0; steps <= limit; ++steps) {
        if (before == after)
            return steps;
        before = Advance(before);
    }
    return -1;
}

TEST(SortPointRecords, SeedAdvancesOnceForEveryCallOnACountOtherThanTwo) {
    std::vector<bstPoint> records = {Record(2, 0, 0, 0), Record(1, 0, 0, 1)};
    std::uint32_t seed = PivotSeed();
    SortPointRecords(records.data(), 2);
    EXPECT_EQ(PivotSeed(), seed);
    EXPECT_EQ(records[0].index, 1);

    SortPointRecords(records.data(), 1);
    EXPECT_EQ(PivotSeed(), Advance(seed));

    // Three records: the top call and perhaps a recursive one; it goes on from
    // where the last call left it, never from the start.
    seed = PivotSeed();
    records = {Record(3, 0, 0, 0), Record(1, 0, 0, 1), Record(2, 0, 0, 2)};
    SortPointRecords(records.data(), 3);
    int steps = AdvancesBetween(seed, PivotSeed(), 3);
    EXPECT_GE(steps, 1);
    EXPECT_LE(steps, 2);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(records[i].x, i + 1.0);
}

TEST(SortPointRecords, SortsByXThenYAndCarriesEveryField) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coordinate(0, 9);
    std::vector<bstPoint> records;
    for (int i = 0; i < 500; ++i) {
        bstPoint r = Record(coordinate(rng), coordinate(rng), i * 0.5, i);
        r.radius = i * 2.0;
        records.push_back(r);
    }
    SortPointRecords(records.data(), static_cast<int>(records.size()));
    std::vector<bool> seen(records.size(), false);
    for (size_t i = 0; i < records.size(); ++i) {
        if (i > 0) {
            bool ordered = records[i - 1].x < records[i].x ||
                           (records[i - 1].x == records[i].x && records[i - 1].y <= records[i].y);
            EXPECT_TRUE(ordered) << i;
        }
        int index = records[i].index;
        EXPECT_EQ(records[i].z, index * 0.5);
        EXPECT_EQ(records[i].radius, index * 2.0);
        seen[static_cast<size_t>(index)] = true;
    }
    for (bool s : seen) EXPECT_TRUE(s);
}

TEST(SortPointRecords, FinishesOnEqualAndNaNCoordinates) {
    double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<bstPoint> records;
    for (int i = 0; i < 200; ++i) records.push_back(Record(i % 3 == 0 ? nan : 1.0, 1.0, 0, i));
    SortPointRecords(records.data(), static_cast<int>(records.size()));
    int ones = 0;
    for (const bstPoint& r : records) ones += r.x == 1.0;
    EXPECT_EQ(ones, 133);
    SortPointRecords(records.data(), 0);
}

}  // namespace
