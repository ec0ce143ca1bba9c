#include "facecut/input/remove_duplicate_segments.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(RemoveDuplicateSegments, DropsDegenerateAndRepeatedSegmentsWithTheirMarkers) {
    std::vector<int> segments = {0, 1, 2, 2, 1, 0, 1, 2, 0, 1, 3, 3, 2, 1};
    std::vector<int> markers = {2, 3, 4, 5, 6, 7, 8};
    int count = 7;
    RemoveDuplicateSegments(segments.data(), markers.data(), count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(std::vector<int>(segments.begin(), segments.begin() + 4),
              (std::vector<int>{0, 1, 1, 2}));
    EXPECT_EQ(std::vector<int>(markers.begin(), markers.begin() + 2), (std::vector<int>{2, 5}));
}

TEST(RemoveDuplicateSegments, EmptyListAndMissingMarkers) {
    int count = 0;
    RemoveDuplicateSegments(nullptr, nullptr, count);
    EXPECT_EQ(count, 0);
    std::vector<int> segments = {4, 5, 5, 4};
    count = 2;
    RemoveDuplicateSegments(segments.data(), nullptr, count);
    EXPECT_EQ(count, 1);
}

}  // namespace
