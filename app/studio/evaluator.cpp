#include "app/studio/evaluator.h"

Evaluator::Evaluator(Done done) : done(std::move(done)), worker([this] { Run(); }) {}

Evaluator::~Evaluator() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        if (runningCancel)
            *runningCancel = true;
    }
    wake.notify_one();
    worker.join();
}

int Evaluator::Submit(std::unique_ptr<CutSession> session) {
    int number;
    {
        std::lock_guard<std::mutex> lock(mutex);
        waiting = std::move(session);
        number = ++newest;
        if (runningCancel)
            *runningCancel = true;
    }
    wake.notify_one();
    return number;
}

void Evaluator::Cancel() {
    int dropped = 0;
    std::unique_ptr<CutSession> session;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (waiting) {
            session = std::move(waiting);
            dropped = newest;
        }
        if (runningCancel)
            *runningCancel = true;
    }
    if (dropped) {
        CutOutcome outcome;
        outcome.error = "the evaluation was cancelled";
        outcome.cancelled = true;
        done(dropped, *session, outcome);
    }
}

void Evaluator::Progress(long long& doneFaces, long long& totalFaces) const {
    doneFaces = facesDone;
    totalFaces = facesTotal;
}

void Evaluator::Run() {
    for (;;) {
        std::unique_ptr<CutSession> session;
        std::shared_ptr<std::atomic<bool>> cancel;
        int number;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return stopping || waiting; });
            if (stopping)
                return;
            session = std::move(waiting);
            number = newest;
            cancel = runningCancel = std::make_shared<std::atomic<bool>>(false);
        }
        facesDone = facesTotal = 0;
        CutProgress progress = [this](long long visited, long long total, double) {
            facesDone = visited;
            facesTotal = total;
        };
        CutOutcome outcome = session->Evaluate(progress, true, cancel.get());
        bool superseded;
        {
            std::lock_guard<std::mutex> lock(mutex);
            runningCancel.reset();
            superseded = number != newest;
        }
        if (!superseded)
            done(number, *session, outcome);
        session.reset();  // after done: freeing a large scene should not delay the news
    }
}
