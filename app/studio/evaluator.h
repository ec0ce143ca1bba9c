// A worker thread that evaluates copies of the scene one at a time. Only the
// newest request waits: a request made while another waits replaces it, and a
// result whose request has been superseded is dropped.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "app/studio/evaluate_copy.h"

class Evaluator {
public:
    // done hears each result that is still the newest, on the worker thread, with
    // its request's number. lib must outlive the evaluator.
    Evaluator(const PluginLibrary& lib, std::function<void(int, const EvaluationResult&)> done);
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;
    // Waits for a running evaluation to end; a waiting request is dropped.
    ~Evaluator();

    // Queues input; returns the number of this request (counting from 1).
    int Submit(EvaluationInput input);

private:
    void Run();

    const PluginLibrary& lib;
    std::function<void(int, const EvaluationResult&)> done;
    std::mutex mutex;
    std::condition_variable wake;
    std::unique_ptr<EvaluationInput> waiting;
    int newest = 0;
    bool stopping = false;
    std::thread worker;
};
