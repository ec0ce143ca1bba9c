// A cut's progress heard from Python: the callback, and Ctrl-C.
#pragma once

#include <pybind11/pybind11.h>

#include <optional>

#include "slitform/progress.h"

namespace slitform {

// Called on the thread that cut() was called on, while it waits without the GIL:
// takes the GIL, checks for signals (Ctrl-C) and calls the callback, if any, with
// (done, total, seconds). A signal or an exception the callback raises cancels the
// cut and is kept for RaiseIfStopped.
class PythonProgress : public Progress {
public:
    explicit PythonProgress(pybind11::object callback) : callback(std::move(callback)) {}
    bool Update(long long done, long long total, double seconds) override;
    // Raises what stopped the cut, if anything did.
    void RaiseIfStopped();

private:
    pybind11::object callback;
    std::optional<pybind11::error_already_set> stopped;
};

}  // namespace slitform
