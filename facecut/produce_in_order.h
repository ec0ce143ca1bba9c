// Runs a two-step loop: the first step of each index on several threads, the second
// on the calling thread in index order, each as soon as its first step is done.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Calls produce(i) for every i in [0, count) on up to `threads` threads (the calling
// one among them), taking indices in ascending order, and consume(i) on the calling
// thread for i = 0, 1, ... once produce(i) has returned; while consume waits for an
// index it produces the next one not yet taken. produce(i) happens before consume(i);
// nothing else is ordered between the two steps, so produce must not touch what
// consume changes. The first exception either step throws is rethrown here once
// every thread has stopped; no consume follows it.
template <class Produce, class Consume>
void ProduceInOrder(int count, int threads, const Produce& produce, const Consume& consume) {
    if (threads <= 1 || count <= 1) {
        for (int i = 0; i < count; ++i) {
            produce(i);
            consume(i);
        }
        return;
    }
    std::atomic<int> next{0};
    std::unique_ptr<std::atomic<bool>[]> produced(
        new std::atomic<bool>[static_cast<size_t>(count)]);
    for (int i = 0; i < count; ++i) produced[i].store(false, std::memory_order_relaxed);
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex lock;
    std::condition_variable changed;
    auto fail = [&](std::exception_ptr error) {
        std::lock_guard<std::mutex> hold(lock);
        if (!failure)
            failure = error;
        failed.store(true);
        next.store(count);
        changed.notify_all();
    };
    // Takes the next index and produces it; false when none is left.
    auto produceNext = [&]() {
        int i = next.fetch_add(1);
        if (i >= count)
            return false;
        try {
            produce(i);
        } catch (...) {
            fail(std::current_exception());
            return false;
        }
        std::lock_guard<std::mutex> hold(lock);
        produced[i].store(true, std::memory_order_release);
        changed.notify_all();
        return true;
    };
    int helpers = threads - 1 < count - 1 ? threads - 1 : count - 1;
    std::vector<std::thread> pool;
    pool.reserve(static_cast<size_t>(helpers));
    for (int t = 0; t < helpers; ++t)
        pool.emplace_back([&] {
            while (produceNext()) {
            }
        });
    try {
        for (int i = 0; i < count && !failed.load(); ++i) {
            while (!produced[i].load(std::memory_order_acquire) && !failed.load()) {
                if (produceNext())
                    continue;
                std::unique_lock<std::mutex> hold(lock);
                changed.wait(hold, [&] {
                    return produced[i].load(std::memory_order_acquire) || failed.load();
                });
            }
            if (failed.load())
                break;
            consume(i);
        }
    } catch (...) {
        fail(std::current_exception());
    }
    for (std::thread& t : pool) t.join();
    if (failure)
        std::rethrow_exception(failure);
}
