// The two-step loop: every index produced once and consumed once, in order, after its
// production, and a failure in either step stops the loop and reaches the caller.
#include "facecut/produce_in_order.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

TEST(ProduceInOrder, ConsumesEveryIndexInOrderAfterItsProduction) {
    for (int threads : {1, 2, 4})
        for (int count : {0, 1, 2, 7, 300}) {
            std::vector<std::atomic<int>> produced(static_cast<size_t>(count));
            std::vector<int> consumed;
            bool consumedBeforeProduced = false;
            const std::thread::id caller = std::this_thread::get_id();
            bool consumedElsewhere = false;
            ProduceInOrder(
                count, threads,
                [&](int i) {
                    // Uneven work, so that later indices often finish first.
                    volatile int spin = (i * 7919) % 2000;
                    while (spin > 0) spin = spin - 1;
                    produced[static_cast<size_t>(i)].fetch_add(1);
                },
                [&](int i) {
                    consumedBeforeProduced |= produced[static_cast<size_t>(i)].load() != 1;
                    consumedElsewhere |= std::this_thread::get_id() != caller;
                    consumed.push_back(i);
                });
            ASSERT_EQ(static_cast<int>(consumed.size()), count) << threads;
            for (int i = 0; i < count; ++i) {
                EXPECT_EQ(consumed[static_cast<size_t>(i)], i) << threads;
                EXPECT_EQ(produced[static_cast<size_t>(i)].load(), 1) << threads;
            }
            EXPECT_FALSE(consumedBeforeProduced) << threads;
            EXPECT_FALSE(consumedElsewhere) << threads;
        }
}

TEST(ProduceInOrder, AFailureInEitherStepStopsTheLoopAndIsRethrown) {
    for (int threads : {1, 2, 3}) {
        std::vector<int> consumed;
        EXPECT_THROW(ProduceInOrder(
                         100, threads,
                         [](int i) {
                             if (i == 40)
                                 throw std::runtime_error("produce");
                         },
                         [&](int i) { consumed.push_back(i); }),
                     std::runtime_error);
        // Nothing at or after the failed index is consumed.
        EXPECT_LE(consumed.size(), 40u) << threads;
        for (size_t k = 0; k < consumed.size(); ++k) EXPECT_EQ(consumed[k], static_cast<int>(k));

        consumed.clear();
        try {
            ProduceInOrder(
                100, threads, [](int) {},
                [&](int i) {
                    if (i == 10)
                        throw std::logic_error("consume");
                    consumed.push_back(i);
                });
            ADD_FAILURE() << "no exception";
        } catch (const std::logic_error& error) {
            EXPECT_STREQ(error.what(), "consume");
        }
        EXPECT_EQ(consumed.size(), 10u) << threads;
    }
}
