// A worker thread that evaluates sessions (copies of the scene) one at a time.
// Only the newest request waits: a request made while another waits replaces it,
// and a result whose request has been superseded is dropped.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "app/session/cut_session.h"

class Evaluator {
public:
    // done hears each outcome that is still the newest, on the worker thread, with
    // its request's number.
    explicit Evaluator(std::function<void(int, const CutOutcome&)> done);
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;
    // Waits for a running evaluation to end; a waiting request is dropped.
    ~Evaluator();

    // Queues the session, which the evaluator then owns; returns the number of this
    // request (counting from 1).
    int Submit(std::unique_ptr<CutSession> session);

private:
    void Run();

    std::function<void(int, const CutOutcome&)> done;
    std::mutex mutex;
    std::condition_variable wake;
    std::unique_ptr<CutSession> waiting;
    int newest = 0;
    bool stopping = false;
    std::thread worker;
};
