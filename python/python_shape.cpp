#include "python/python_shape.h"

#include <pybind11/numpy.h>

#include <string>

#include "python/python_path.h"
#include "slitform/error.h"
#include "slitform/read_shape.h"

namespace py = pybind11;

namespace slitform {

namespace {

std::vector<Point> Points(const py::handle& value, const std::string& what) {
    py::array a = py::array::ensure(value);
    if (!a || a.ndim() != 2 || a.shape(1) != 3)
        throw Error(ErrorCode::BadInput, what + ": not a (k, 3) array");
    if (a.size() > 0 && a.dtype().kind() != 'f' && a.dtype().kind() != 'i' &&
        a.dtype().kind() != 'u')
        throw Error(ErrorCode::BadInput, what + ": not numbers");
    auto d = py::array_t<double, py::array::forcecast>::ensure(a);
    auto r = d.unchecked<2>();
    std::vector<Point> out(static_cast<size_t>(r.shape(0)));
    for (py::ssize_t i = 0; i < r.shape(0); ++i)
        out[static_cast<size_t>(i)] = {r(i, 0), r(i, 1), r(i, 2)};
    return out;
}

py::array_t<double> PointArray(const std::vector<Point>& points) {
    py::array_t<double> out({static_cast<py::ssize_t>(points.size()), py::ssize_t(3)});
    auto w = out.mutable_unchecked<2>();
    for (size_t i = 0; i < points.size(); ++i)
        for (int k = 0; k < 3; ++k) w(static_cast<py::ssize_t>(i), k) = points[i][k];
    return out;
}

ShapeLine LineFromPython(const py::handle& item, const std::string& what) {
    ShapeLine line;
    line.closed = true;
    if (py::isinstance<py::dict>(item)) {
        py::dict d = py::reinterpret_borrow<py::dict>(item);
        if (!d.contains("points"))
            throw Error(ErrorCode::BadInput, what + ": a dict without \"points\"");
        line.points = Points(d["points"], what + " points");
        if (d.contains("closed"))
            line.closed = py::bool_(d["closed"]);
        if (d.contains("in"))
            line.in = Points(d["in"], what + " in");
        if (d.contains("out"))
            line.out = Points(d["out"], what + " out");
    } else if (py::isinstance<py::tuple>(item) && py::len(item) == 2) {
        py::tuple t = py::reinterpret_borrow<py::tuple>(item);
        line.points = Points(t[0], what + " points");
        if (!py::isinstance<py::bool_>(t[1]))
            throw Error(ErrorCode::BadInput, what + ": the closed flag is not True or False");
        line.closed = t[1].cast<bool>();
    } else {
        line.points = Points(item, what);
    }
    return line;
}

}  // namespace

Shape ShapeFromPython(const py::handle& shape) {
    py::object pathLike = py::module_::import("os").attr("PathLike");
    if (py::isinstance<py::str>(shape) || py::isinstance<py::bytes>(shape) ||
        py::isinstance(shape, pathLike))
        return ReadShape(PathFromPython(shape, "shape"));
    if (!py::isinstance<py::sequence>(shape))
        throw Error(ErrorCode::BadInput, "shape: not a path or a sequence of lines");
    py::sequence lines = py::reinterpret_borrow<py::sequence>(shape);
    Shape out;
    for (size_t i = 0; i < lines.size(); ++i)
        out.lines.push_back(LineFromPython(lines[i], "shape line " + std::to_string(i)));
    return out;
}

py::list ShapeToPython(const Shape& shape) {
    py::list lines;
    for (const ShapeLine& line : shape.lines) {
        py::dict d;
        d["points"] = PointArray(line.points);
        d["closed"] = line.closed;
        if (!line.in.empty()) {
            d["in"] = PointArray(line.in);
            d["out"] = PointArray(line.out);
        }
        lines.append(d);
    }
    return lines;
}

}  // namespace slitform
