// Cancelling an evaluation from outside, as a host's cancel button does: the poly
// mesh stops it at the next face it is asked to delete, and in the middle of its
// long copies and conversions.
#pragma once

#include <atomic>
#include <stdexcept>

// Thrown on a thread whose cancel flag is set: by MNMesh::DeleteFace and
// DeleteFlaggedFaces before they change anything, by the MNMesh copy leaving its
// target as it was, and by OutToTri part way through.
class EvaluationCancelled : public std::runtime_error {
public:
    EvaluationCancelled() : std::runtime_error("the evaluation was cancelled") {}
};

// While alive, evaluations on the constructing thread stop once *flag turns true;
// the flag may be set from any thread. Scopes nest.
class EvaluationCancelScope {
public:
    explicit EvaluationCancelScope(const std::atomic<bool>* flag);
    ~EvaluationCancelScope();
    EvaluationCancelScope(const EvaluationCancelScope&) = delete;
    EvaluationCancelScope& operator=(const EvaluationCancelScope&) = delete;

private:
    const std::atomic<bool>* previous;
};

// Throws EvaluationCancelled when the calling thread's cancel flag is set.
void ThrowIfEvaluationCancelled();
