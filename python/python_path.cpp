#include "python/python_path.h"

#include "slitform/error.h"

namespace py = pybind11;

namespace slitform {

std::string PathFromPython(const py::handle& path, const char* what) {
    py::module_ os = py::module_::import("os");
    py::bytes encoded;
    try {
        encoded = os.attr("fsencode")(path);
    } catch (const py::error_already_set&) {
        throw Error(ErrorCode::BadInput,
                    std::string(what) + ": not a path (str, bytes or os.PathLike)");
    }
    std::string bytes = encoded;
    if (bytes.find('\0') != std::string::npos)
        throw Error(ErrorCode::BadInput, std::string(what) + ": the path holds a NUL character");
    return bytes;
}

}  // namespace slitform
