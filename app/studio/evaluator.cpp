#include "app/studio/evaluator.h"

Evaluator::Evaluator(std::function<void(int, const CutOutcome&)> done)
    : done(std::move(done)), worker([this] { Run(); }) {}

Evaluator::~Evaluator() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
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
    }
    wake.notify_one();
    return number;
}

void Evaluator::Run() {
    for (;;) {
        std::unique_ptr<CutSession> session;
        int number;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return stopping || waiting; });
            if (stopping)
                return;
            session = std::move(waiting);
            number = newest;
        }
        CutOutcome outcome = session->Evaluate();
        session.reset();
        bool superseded;
        {
            std::lock_guard<std::mutex> lock(mutex);
            superseded = number != newest;
        }
        if (!superseded)
            done(number, outcome);
    }
}
