#include "index_list.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

// Random edits applied to a list and to a std::vector side by side, across the
// step from inline storage to the heap and back through copies, moves and swaps.
TEST(IndexList, EditsLikeAVectorInlineAndOnTheHeap) {
    std::mt19937 rng(2026);
    IndexList<4> list;
    IndexList<4> other{};
    std::vector<int> reference;
    std::vector<int> otherReference;
    for (int step = 0; step < 20000; ++step) {
        const int op = static_cast<int>(rng() % 11);
        const int value = static_cast<int>(rng() % 1000);
        const size_t at = reference.empty() ? 0 : rng() % (reference.size() + 1);
        switch (op) {
            case 0:
            case 1:
                list.push_back(value);
                reference.push_back(value);
                break;
            case 2:
                list.insert(list.begin() + at, value);
                reference.insert(reference.begin() + at, value);
                break;
            case 3:
                if (at < reference.size()) {
                    list.erase(list.begin() + at);
                    reference.erase(reference.begin() + at);
                }
                break;
            case 4: {
                const std::vector<int> run(rng() % 7, value);
                list.insert(list.begin() + at, run.begin(), run.end());
                reference.insert(reference.begin() + at, run.begin(), run.end());
                break;
            }
            case 5:
                if (!reference.empty()) {
                    list.pop_back();
                    reference.pop_back();
                }
                break;
            case 6:
                list.swap(other);
                reference.swap(otherReference);
                break;
            case 7: {
                IndexList<4> copy(list);
                other = std::move(copy);
                otherReference = reference;
                break;
            }
            case 8: {
                const size_t n = rng() % 10;
                list.resize(n, value);
                reference.resize(n, value);
                break;
            }
            case 9:
                // The front of the list assigned from its own tail.
                if (at < reference.size()) {
                    list.assign(list.begin() + at, list.end());
                    reference.assign(reference.begin() + at, reference.end());
                }
                break;
            default:
                if (rng() % 8 == 0) {
                    list.clear();
                    reference.clear();
                }
                break;
        }
        ASSERT_EQ(list, reference) << "step " << step << " op " << op;
        ASSERT_EQ(other, otherReference) << "step " << step << " op " << op;
        ASSERT_EQ(list.empty(), reference.empty());
        if (!reference.empty()) {
            ASSERT_EQ(list.back(), reference.back());
        }
    }
}

TEST(IndexList, KeepsShortListsInsideAndSurvivesSelfReference) {
    IndexList<4> corners(3, 7);
    EXPECT_EQ(corners.capacity(), 4u);
    EXPECT_EQ(corners, (std::vector<int>{7, 7, 7}));
    corners[1] = 1;
    // Values taken from the list itself while it moves to the heap.
    corners.push_back(corners[1]);
    corners.push_back(corners[0]);
    corners.insert(corners.begin(), corners.back());
    corners.insert(corners.begin() + 1, corners.begin(), corners.end());
    EXPECT_EQ(corners, (std::vector<int>{7, 7, 7, 1, 7, 1, 7, 7, 1, 7, 1, 7}));
    IndexList<4> moved(std::move(corners));
    EXPECT_TRUE(corners.empty());
    EXPECT_EQ(moved.size(), 12u);
    moved.erase(moved.begin() + 2, moved.end());
    EXPECT_EQ(moved, (std::vector<int>{7, 7}));
}
