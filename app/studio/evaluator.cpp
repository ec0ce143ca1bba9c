#include "app/studio/evaluator.h"

Evaluator::Evaluator(const PluginLibrary& lib,
                     std::function<void(int, const EvaluationResult&)> done)
    : lib(lib), done(std::move(done)), worker([this] { Run(); }) {}

Evaluator::~Evaluator() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
}

int Evaluator::Submit(EvaluationInput input) {
    int number;
    {
        std::lock_guard<std::mutex> lock(mutex);
        waiting = std::make_unique<EvaluationInput>(std::move(input));
        number = ++newest;
    }
    wake.notify_one();
    return number;
}

void Evaluator::Run() {
    for (;;) {
        std::unique_ptr<EvaluationInput> input;
        int number;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return stopping || waiting; });
            if (stopping)
                return;
            input = std::move(waiting);
            number = newest;
        }
        EvaluationResult result = EvaluateCopy(lib, *input);
        bool superseded;
        {
            std::lock_guard<std::mutex> lock(mutex);
            superseded = number != newest;
        }
        if (!superseded)
            done(number, result);
    }
}
