// Runs a loop body over an index range on several threads.
#pragma once

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

// Calls body(i) for every i in [0, count), on up to `threads` threads (the calling one
// among them), taking indices in small blocks as threads become free. The first
// exception a call throws is rethrown here once every thread has stopped.
template <class Body>
void ParallelFor(int count, int threads, const Body& body) {
    if (threads <= 1 || count <= 1) {
        for (int i = 0; i < count; ++i) body(i);
        return;
    }
    constexpr int kBlock = 4;
    std::atomic<int> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto work = [&]() {
        try {
            for (;;) {
                int first = next.fetch_add(kBlock);
                if (first >= count)
                    return;
                int last = first + kBlock < count ? first + kBlock : count;
                for (int i = first; i < last; ++i) body(i);
            }
        } catch (...) {
            std::lock_guard<std::mutex> hold(failureLock);
            if (!failure)
                failure = std::current_exception();
            next.store(count);
        }
    };
    int helpers = threads - 1 < count - 1 ? threads - 1 : count - 1;
    std::vector<std::thread> pool;
    pool.reserve(static_cast<size_t>(helpers));
    for (int t = 0; t < helpers; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    if (failure)
        std::rethrow_exception(failure);
}
