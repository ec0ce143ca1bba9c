#include "python/python_progress.h"

namespace py = pybind11;

namespace slitform {

bool PythonProgress::Update(long long done, long long total, double seconds) {
    if (stopped)
        return false;
    py::gil_scoped_acquire gil;
    try {
        if (PyErr_CheckSignals() != 0)
            throw py::error_already_set();
        if (!callback.is_none())
            callback(done, total, seconds);
    } catch (py::error_already_set& e) {
        stopped.emplace(std::move(e));
        return false;
    }
    return true;
}

void PythonProgress::RaiseIfStopped() {
    if (stopped) {
        py::error_already_set e = std::move(*stopped);
        stopped.reset();
        throw e;
    }
}

}  // namespace slitform
