// A worker thread that evaluates sessions (copies of the scene) one at a time.
// Only the newest request counts: a request made while another waits replaces it,
// one made while another runs stops the running one (its result would be dropped
// anyway), and a result whose request has been superseded is dropped.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "session/cut_session.h"

class Evaluator {
public:
    // done hears each outcome that is still the newest, on the worker thread (or
    // on Cancel's), with its request's number and the session it evaluated; a
    // cancelled request's outcome says it was cancelled.
    using Done = std::function<void(int, const CutSession&, const CutOutcome&)>;
    explicit Evaluator(Done done);
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;
    // Stops a running evaluation and waits for it to end; a waiting request is dropped.
    ~Evaluator();

    // Queues the session, which the evaluator then owns; returns the number of this
    // request (counting from 1).
    int Submit(std::unique_ptr<CutSession> session);
    // Stops the newest request: a waiting one is dropped and done hears a cancelled
    // outcome for it at once; a running one stops at the plug-in's next cancel
    // check and done hears its cancelled outcome.
    void Cancel();
    // The running evaluation's progress: faces visited of the faces it will visit
    // (see CutProgress); zeros before it reports.
    void Progress(long long& done, long long& total) const;

private:
    void Run();

    Done done;
    std::mutex mutex;
    std::condition_variable wake;
    std::unique_ptr<CutSession> waiting;
    int newest = 0;
    bool stopping = false;
    // The running evaluation's flag; a new one for each, so that a stale cancel
    // never reaches the next.
    std::shared_ptr<std::atomic<bool>> runningCancel;
    std::atomic<long long> facesDone{0}, facesTotal{0};
    std::thread worker;
};
