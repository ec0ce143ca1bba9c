#include "python/numpy_mesh.h"

#include <limits>
#include <string>

#include "slitform/error.h"

namespace py = pybind11;

namespace slitform {

namespace {

// Only integer arrays index vertices: a float array is refused, not rounded.
std::vector<int> IndexRow(const py::handle& row, const std::string& what) {
    py::array array = py::array::ensure(row);
    if (!array)
        throw Error(ErrorCode::BadInput, what + ": not a sequence of integers");
    if (array.size() > 0 && array.dtype().kind() != 'i' && array.dtype().kind() != 'u')
        throw Error(ErrorCode::BadInput,
                    what + ": not integers (dtype " + std::string(py::str(array.dtype())) + ")");
    if (array.ndim() != 1)
        throw Error(ErrorCode::BadInput, what + ": not one row of indices");
    auto values = py::array_t<long long, py::array::forcecast>::ensure(array);
    std::vector<int> out;
    out.reserve(static_cast<size_t>(values.size()));
    for (py::ssize_t i = 0; i < values.size(); ++i) {
        long long v = values.at(i);
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
            throw Error(ErrorCode::BadInput,
                        what + ": index " + std::to_string(v) + " out of range");
        out.push_back(static_cast<int>(v));
    }
    return out;
}

py::array_t<long long> IndexArray(const std::vector<int>& values) {
    py::array_t<long long> out(static_cast<py::ssize_t>(values.size()));
    auto w = out.mutable_unchecked<1>();
    for (size_t i = 0; i < values.size(); ++i) w(static_cast<py::ssize_t>(i)) = values[i];
    return out;
}

py::array_t<long long> EdgeArray(const std::vector<Edge>& edges) {
    py::array_t<long long> out({static_cast<py::ssize_t>(edges.size()), py::ssize_t(2)});
    auto w = out.mutable_unchecked<2>();
    for (size_t i = 0; i < edges.size(); ++i) {
        w(static_cast<py::ssize_t>(i), 0) = edges[i][0];
        w(static_cast<py::ssize_t>(i), 1) = edges[i][1];
    }
    return out;
}

py::dict ReportToPython(const Report& r) {
    py::dict d;
    d["faces_in"] = r.facesIn;
    d["edges_in"] = r.edgesIn;
    d["vertices_in"] = r.verticesIn;
    d["faces_out"] = r.facesOut;
    d["edges_out"] = r.edgesOut;
    d["vertices_out"] = r.verticesOut;
    d["faces_cut"] = r.facesCut;
    d["selected_vertices"] = r.selectedVertices;
    d["selected_edges"] = r.selectedEdges;
    d["selected_faces"] = r.selectedFaces;
    d["direction"] =
        r.directionKnown
            ? py::object(py::make_tuple(r.direction[0], r.direction[1], r.direction[2]))
            : py::object(py::none());
    d["seconds"] = r.seconds;
    py::dict parameters;
    for (const auto& [name, value] : r.parameters) parameters[py::str(name)] = value;
    d["parameters"] = parameters;
    return d;
}

py::dict MeshFields(const Mesh& mesh) {
    py::array_t<double> vertices({static_cast<py::ssize_t>(mesh.positions.size()), py::ssize_t(3)});
    auto w = vertices.mutable_unchecked<2>();
    for (size_t i = 0; i < mesh.positions.size(); ++i)
        for (int k = 0; k < 3; ++k) w(static_cast<py::ssize_t>(i), k) = mesh.positions[i][k];
    py::list faces;
    for (const std::vector<int>& face : mesh.faces) faces.append(IndexArray(face));
    py::dict fields;
    fields["vertices"] = vertices;
    fields["faces"] = faces;
    fields["materials"] = IndexArray(mesh.materials);
    return fields;
}

py::object Namespace(const py::dict& fields) {
    return py::module_::import("types").attr("SimpleNamespace")(**fields);
}

}  // namespace

Mesh MeshFromPython(const py::handle& vertices, const py::handle& faces,
                    const py::handle& materials) {
    Mesh mesh;
    py::array v = py::array::ensure(vertices);
    if (!v || v.ndim() != 2 || v.shape(1) != 3)
        throw Error(ErrorCode::BadInput, "vertices: not an (n, 3) array");
    if (v.size() > 0 && v.dtype().kind() != 'f' && v.dtype().kind() != 'i' &&
        v.dtype().kind() != 'u')
        throw Error(ErrorCode::BadInput,
                    "vertices: not numbers (dtype " + std::string(py::str(v.dtype())) + ")");
    auto positions = py::array_t<double, py::array::forcecast>::ensure(v);
    auto r = positions.unchecked<2>();
    mesh.positions.resize(static_cast<size_t>(r.shape(0)));
    for (py::ssize_t i = 0; i < r.shape(0); ++i)
        mesh.positions[static_cast<size_t>(i)] = {r(i, 0), r(i, 1), r(i, 2)};

    // A ragged list made into an array is one row of objects: a sequence of faces.
    bool ragged = py::isinstance<py::array>(faces) &&
                  py::reinterpret_borrow<py::array>(faces).ndim() == 1 &&
                  py::reinterpret_borrow<py::array>(faces).dtype().kind() == 'O';
    if (py::isinstance<py::array>(faces) && !ragged) {
        py::array f = py::reinterpret_borrow<py::array>(faces);
        if (f.ndim() != 2)
            throw Error(ErrorCode::BadInput, "faces: an array of faces must be (m, k)");
        for (py::ssize_t i = 0; i < f.shape(0); ++i)
            mesh.faces.push_back(IndexRow(f[py::int_(i)], "faces[" + std::to_string(i) + "]"));
    } else if (py::isinstance<py::sequence>(faces) && !py::isinstance<py::str>(faces)) {
        py::sequence rows = py::reinterpret_borrow<py::sequence>(faces);
        for (size_t i = 0; i < rows.size(); ++i)
            mesh.faces.push_back(IndexRow(rows[i], "faces[" + std::to_string(i) + "]"));
    } else {
        throw Error(ErrorCode::BadInput, "faces: not an array or a sequence of index sequences");
    }
    if (!materials.is_none())
        mesh.materials = IndexRow(materials, "materials");
    return mesh;
}

py::object MeshToPython(const Mesh& mesh) {
    return Namespace(MeshFields(mesh));
}

py::object OutcomeToPython(const Outcome& outcome) {
    py::dict fields = MeshFields(outcome.mesh);
    fields["selected_vertices"] = IndexArray(outcome.selectedVertices);
    fields["selected_edges"] = EdgeArray(outcome.selectedEdges);
    fields["cut_edges"] = EdgeArray(outcome.cutEdges);
    fields["selected_faces"] = IndexArray(outcome.selectedFaces);
    fields["report"] = ReportToPython(outcome.report);
    return Namespace(fields);
}

}  // namespace slitform
