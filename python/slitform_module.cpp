// The slitform Python module: cut meshes along shapes from NumPy arrays, read and
// write mesh and shape files, list the parameters.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <array>

#include "python/numpy_mesh.h"
#include "python/python_path.h"
#include "python/python_progress.h"
#include "python/python_shape.h"
#include "slitform/cut.h"
#include "slitform/parameter_list.h"
#include "slitform/read_mesh.h"
#include "slitform/read_shape.h"
#include "slitform/write_mesh.h"

namespace py = pybind11;

namespace {

std::string PluginOf(const py::object& plugin) {
    return plugin.is_none() ? std::string() : slitform::PathFromPython(plugin, "plugin");
}

std::string PathOf(const py::object& path) {
    return slitform::PathFromPython(path, "path");
}

// The modifier's parameters as cut() names them, in the plug-in's order.
const char* const kParameterNames[] = {"remove_unused", "weld_on",      "weld",      "open",
                                       "local",         "collinear_on", "collinear", "through",
                                       "matid_on",      "matid",        "sel_level", "min_angle"};
constexpr std::size_t kParameterCount = sizeof kParameterNames / sizeof kParameterNames[0];
using ParameterValues = std::array<py::object, kParameterCount>;

// The given parameters; None leaves the plug-in's default.
slitform::Parameters ParametersFrom(const ParameterValues& values) {
    slitform::Parameters parameters;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const py::object& value = values[i];
        if (value.is_none())
            continue;
        std::string name = kParameterNames[i];
        if (py::isinstance<py::bool_>(value) ||
            py::isinstance(value, py::module_::import("numpy").attr("bool_")))
            parameters.Set(name, py::bool_(value).cast<bool>());
        else if (py::isinstance<py::str>(value))
            parameters.Set(name, value.cast<std::string>());
        // Real numbers, NumPy's scalars too; a complex one has a float() that drops its
        // imaginary part, so it is refused with the rest.
        else if (py::isinstance(value, py::module_::import("numbers").attr("Real")))
            parameters.Set(name,
                           py::float_(py::reinterpret_borrow<py::object>(value)).cast<double>());
        else
            throw slitform::Error(slitform::ErrorCode::BadParameter,
                                  "parameter " + name + ": not a number, a bool or a string");
    }
    return parameters;
}

py::object CutMesh(const slitform::Mesh& mesh, const py::object& shape,
                   const py::object& shapeTransform, const py::object& up, int steps,
                   const py::object& progress, const py::object& plugin,
                   const ParameterValues& values) {
    slitform::Shape cutShape = slitform::ShapeFromPython(shape);
    cutShape.steps = steps;
    // Unless said, the mesh's own: "y" for a mesh read from glTF.
    cutShape.up = up.is_none()
                      ? mesh.up
                      : slitform::UpAxisOf(py::isinstance<py::str>(up) ? up.cast<std::string>()
                                                                       : std::string());
    if (!shapeTransform.is_none()) {
        auto m = py::array_t<double, py::array::forcecast>::ensure(shapeTransform);
        if (!m || m.ndim() != 2 || m.shape(0) != 4 || m.shape(1) != 3)
            throw slitform::Error(slitform::ErrorCode::BadInput,
                                  "shape_transform: not a (4, 3) array");
        auto r = m.unchecked<2>();
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < 3; ++k)
                cutShape.transform[static_cast<size_t>(i * 3 + k)] = r(i, k);
        cutShape.placed = true;
    }
    slitform::Parameters parameters = ParametersFrom(values);
    parameters.plugin = PluginOf(plugin);
    slitform::PythonProgress listener(progress);
    slitform::Outcome outcome;
    try {
        py::gil_scoped_release released;
        outcome = slitform::Cut(mesh, cutShape, parameters, &listener);
    } catch (const slitform::Error&) {
        listener.RaiseIfStopped();
        throw;
    }
    // The up said is the axis of the mesh's space, which its glTF files keep.
    outcome.mesh.up = cutShape.up;
    return slitform::OutcomeToPython(std::move(outcome));
}

py::list Parameters(const py::object& plugin) {
    py::list list;
    for (const slitform::ParameterInfo& p : slitform::ListParameters(PluginOf(plugin))) {
        py::dict d;
        d["name"] = p.name;
        d["kind"] = p.kind;
        d["default"] = p.kind == "number" ? py::object(py::float_(p.defaultValue))
                       : p.kind == "switch"
                           ? py::object(py::bool_(p.defaultValue != 0))
                           : py::object(py::int_(static_cast<long long>(p.defaultValue)));
        d["range"] =
            p.hasRange ? py::object(py::make_tuple(p.low, p.high)) : py::object(py::none());
        d["meaning"] = p.meaning;
        list.append(d);
    }
    return list;
}

void WriteMesh(const py::object& path, const py::object& mesh, const py::object& faces,
               const py::object& materials) {
    if (!faces.is_none()) {
        slitform::WriteMesh(PathOf(path), slitform::MeshFromArrays(mesh, faces, materials));
        return;
    }
    if (py::isinstance<slitform::Mesh>(mesh)) {
        slitform::WriteMesh(PathOf(path), mesh.cast<const slitform::Mesh&>());
        return;
    }
    if (!py::hasattr(mesh, "mesh") || !py::isinstance<slitform::Mesh>(mesh.attr("mesh")))
        throw slitform::Error(slitform::ErrorCode::BadInput,
                              "write_mesh: give a slitform.Mesh, a cut's result, or vertices "
                              "and faces");
    slitform::Outcome outcome;
    outcome.mesh = mesh.attr("mesh").cast<slitform::Mesh>();
    auto indices = [&](const char* name) {
        return py::hasattr(mesh, name) ? slitform::IndicesFromPython(mesh.attr(name), name)
                                       : std::vector<int>();
    };
    outcome.selectedVertices = indices("selected_vertices");
    outcome.selectedFaces = indices("selected_faces");
    std::vector<int> edges = indices("selected_edges");
    if (edges.size() % 2 != 0)
        throw slitform::Error(slitform::ErrorCode::BadInput,
                              "selected_edges: not (e, 2) vertex pairs");
    for (std::size_t i = 0; i < edges.size(); i += 2)
        outcome.selectedEdges.push_back({edges[i], edges[i + 1]});
    slitform::WriteMesh(PathOf(path), outcome);
}

}  // namespace

PYBIND11_MODULE(slitform, m) {
    m.doc() = "Cut polygon meshes along the lines of a shape with the Slitform modifier.";
    // slitform.Error (a ValueError) with the error's code by name in its code attribute.
    static py::exception<slitform::Error> error(m, "Error", PyExc_ValueError);
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown)
                std::rethrow_exception(thrown);
        } catch (const slitform::Error& e) {
            py::object raised = py::reinterpret_borrow<py::object>(error.ptr())(e.what());
            raised.attr("code") = slitform::ErrorCodeName(e.Code());
            PyErr_SetObject(error.ptr(), raised.ptr());
        }
    });

    slitform::BindMesh(m);
    const char* cutDoc = R"(Cut a mesh along a shape and return the result.

cut(mesh, shape, ...) takes a slitform.Mesh (as read_mesh gives it) and keeps every
attribute it holds (texture coordinates, normals, colours, material and group names);
cut(vertices, faces, shape, ...) takes (n, 3) numbers and faces as an (m, k) integer
array, a list of index sequences (n-gons) or an (offsets, indices) pair, with
materials (one ID per face). shape: an SVG or JSON file path, or a list of lines,
each a (k, 3) array (closed), a (points, closed) pair or a dict with "points",
"closed", "in" and "out" (Bezier handles). shape_transform: a (4, 3) matrix placing
the shape in the mesh's space (rows: x, y, z axes, translation); without it the shape
is centred over the mesh, scaled to 80% of its footprint and laid flat above its top,
up being "z" or "y" (glTF's, and many OBJ exports'); by default the mesh's own
(mesh.up: "y" when read from glTF, else "z"), and the result's mesh.up is the up used.
steps: points per curved segment. progress: called as progress(done, total, seconds).
plugin: another Slitform.dlm. remove_unused, weld_on, weld, open, local,
collinear_on, collinear, through, matid_on, matid, sel_level and min_angle are the
modifier's parameters (see parameters()); None leaves a parameter at its default.

Returns an object with mesh (a slitform.Mesh with the carried attributes), its
vertices, faces and materials, selected_vertices, selected_edges, cut_edges (edges as
(e, 2) vertex pairs), selected_faces and report (a dict). Raises slitform.Error (a
ValueError) on bad input or failure; Ctrl-C or an exception in progress stops the cut
and is raised.)";
    // Both forms take the modifier's parameters as keywords (None: the default).
    m.def(
        "cut",
        [](const slitform::Mesh& mesh, const py::object& shape, const py::object& shapeTransform,
           const py::object& up, int steps, const py::object& progress, const py::object& plugin,
           py::object p0, py::object p1, py::object p2, py::object p3, py::object p4, py::object p5,
           py::object p6, py::object p7, py::object p8, py::object p9, py::object p10,
           py::object p11) {
            return CutMesh(mesh, shape, shapeTransform, up, steps, progress, plugin,
                           {p0, p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11});
        },
        py::arg("mesh"), py::arg("shape"), py::kw_only(), py::arg("shape_transform") = py::none(),
        py::arg("up") = py::none(), py::arg("steps") = 6, py::arg("progress") = py::none(),
        py::arg("plugin") = py::none(), py::arg("remove_unused") = py::none(),
        py::arg("weld_on") = py::none(), py::arg("weld") = py::none(), py::arg("open") = py::none(),
        py::arg("local") = py::none(), py::arg("collinear_on") = py::none(),
        py::arg("collinear") = py::none(), py::arg("through") = py::none(),
        py::arg("matid_on") = py::none(), py::arg("matid") = py::none(),
        py::arg("sel_level") = py::none(), py::arg("min_angle") = py::none(), cutDoc);
    m.def(
        "cut",
        [](const py::object& vertices, const py::object& faces, const py::object& shape,
           const py::object& materials, const py::object& shapeTransform, const py::object& up,
           int steps, const py::object& progress, const py::object& plugin, py::object p0,
           py::object p1, py::object p2, py::object p3, py::object p4, py::object p5, py::object p6,
           py::object p7, py::object p8, py::object p9, py::object p10, py::object p11) {
            return CutMesh(slitform::MeshFromArrays(vertices, faces, materials), shape,
                           shapeTransform, up, steps, progress, plugin,
                           {p0, p1, p2, p3, p4, p5, p6, p7, p8, p9, p10, p11});
        },
        py::arg("vertices"), py::arg("faces"), py::arg("shape"), py::kw_only(),
        py::arg("materials") = py::none(), py::arg("shape_transform") = py::none(),
        py::arg("up") = py::none(), py::arg("steps") = 6, py::arg("progress") = py::none(),
        py::arg("plugin") = py::none(), py::arg("remove_unused") = py::none(),
        py::arg("weld_on") = py::none(), py::arg("weld") = py::none(), py::arg("open") = py::none(),
        py::arg("local") = py::none(), py::arg("collinear_on") = py::none(),
        py::arg("collinear") = py::none(), py::arg("through") = py::none(),
        py::arg("matid_on") = py::none(), py::arg("matid") = py::none(),
        py::arg("sel_level") = py::none(), py::arg("min_angle") = py::none(), cutDoc);
    m.def(
        "parameters", &Parameters, py::arg("plugin") = py::none(),
        "The modifier's parameters: a list of dicts with name, kind, default, range and meaning.");
    m.def(
        "read_mesh", [](const py::object& path) { return slitform::ReadMesh(PathOf(path)); },
        py::arg("path"),
        "Read a mesh file (.ply, .obj, .gltf, .glb, .stl, .off, .3mf, .fbx): a slitform.Mesh "
        "with every attribute the file holds.");
    m.def(
        "read_shape",
        [](const py::object& path) {
            return slitform::ShapeToPython(slitform::ReadShape(PathOf(path)));
        },
        py::arg("path"),
        "Read an .svg or .json shape: a list of line dicts with points, closed, in and out.");
    m.def("write_mesh", &WriteMesh, py::arg("path"), py::arg("mesh"), py::arg("faces") = py::none(),
          py::arg("materials") = py::none(),
          "Write a mesh file, whole or not at all, with the attributes its format holds: "
          "write_mesh(path, mesh) a slitform.Mesh, write_mesh(path, result) a cut's result with "
          "its selections (in .ply), write_mesh(path, vertices, faces) arrays.");
}
