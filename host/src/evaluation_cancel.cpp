#include "evaluation_cancel.h"

namespace {
// Per thread, so that evaluations on other threads go on.
thread_local const std::atomic<bool>* cancelFlag = nullptr;
}  // namespace

EvaluationCancelScope::EvaluationCancelScope(const std::atomic<bool>* flag) : previous(cancelFlag) {
    cancelFlag = flag;
}

EvaluationCancelScope::~EvaluationCancelScope() {
    cancelFlag = previous;
}

void ThrowIfEvaluationCancelled() {
    if (cancelFlag && cancelFlag->load(std::memory_order_relaxed))
        throw EvaluationCancelled();
}
