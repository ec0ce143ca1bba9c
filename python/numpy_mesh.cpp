#include "python/numpy_mesh.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include "slitform/error.h"

namespace py = pybind11;

namespace slitform {

namespace {

[[noreturn]] void Refuse(const std::string& what) {
    throw Error(ErrorCode::BadInput, what);
}

// Only integer arrays index vertices: a float array is refused, not rounded.
py::array_t<long long> IntegerArray(const py::handle& values, const std::string& what) {
    py::array array = py::array::ensure(values);
    if (!array)
        Refuse(what + ": not a sequence of integers");
    if (array.size() > 0 && array.dtype().kind() != 'i' && array.dtype().kind() != 'u')
        Refuse(what + ": not integers (dtype " + std::string(py::str(array.dtype())) + ")");
    return py::array_t<long long, py::array::forcecast>::ensure(array);
}

std::int32_t Index(long long v, const std::string& what) {
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        Refuse(what + ": index " + std::to_string(v) + " out of range");
    return static_cast<std::int32_t>(v);
}

// One row of corners, appended to the mesh as a face.
void AddRow(Mesh& mesh, const py::handle& row, const std::string& what) {
    auto values = IntegerArray(row, what);
    if (values.ndim() != 1)
        Refuse(what + ": not one row of indices");
    for (py::ssize_t i = 0; i < values.size(); ++i)
        mesh.corners.push_back(Index(values.at(i), what));
    mesh.faceStart.push_back(static_cast<std::uint32_t>(mesh.corners.size()));
}

// (n, 3) numbers as single-precision triples; None gives none.
std::vector<Vec3> Triples(const py::handle& values, const std::string& what) {
    std::vector<Vec3> out;
    if (values.is_none())
        return out;
    py::array a = py::array::ensure(values);
    if (!a || a.ndim() != 2 || a.shape(1) != 3)
        Refuse(what + ": not an (n, 3) array");
    if (a.size() > 0 && a.dtype().kind() != 'f' && a.dtype().kind() != 'i' &&
        a.dtype().kind() != 'u')
        Refuse(what + ": not numbers (dtype " + std::string(py::str(a.dtype())) + ")");
    auto numbers = py::array_t<double, py::array::forcecast>::ensure(a);
    auto r = numbers.unchecked<2>();
    out.resize(static_cast<std::size_t>(r.shape(0)));
    for (py::ssize_t i = 0; i < r.shape(0); ++i)
        for (int k = 0; k < 3; ++k) {
            double v = r(i, k);
            // A number no float holds must not become infinity unseen: it stays
            // not finite, and the cut refuses it by name.
            out[static_cast<std::size_t>(i)][k] = std::fabs(v) > std::numeric_limits<float>::max()
                                                      ? std::numeric_limits<float>::infinity()
                                                      : static_cast<float>(v);
        }
    return out;
}

void SetFaces(Mesh& mesh, const py::handle& faces) {
    mesh.faceStart.assign(1, 0);
    mesh.corners.clear();
    // (offsets, indices), as face_offsets and face_indices give them.
    if (py::isinstance<py::tuple>(faces) && py::len(faces) == 2) {
        py::tuple pair = py::reinterpret_borrow<py::tuple>(faces);
        auto offsets = IntegerArray(pair[0], "faces offsets");
        auto indices = IntegerArray(pair[1], "faces indices");
        if (offsets.ndim() != 1 || indices.ndim() != 1)
            Refuse("faces: offsets and indices must be one row each");
        mesh.faceStart.clear();
        for (py::ssize_t i = 0; i < offsets.size(); ++i) {
            long long v = offsets.at(i);
            if (v < 0 || v > std::numeric_limits<std::uint32_t>::max())
                Refuse("faces: offset " + std::to_string(v) + " out of range");
            mesh.faceStart.push_back(static_cast<std::uint32_t>(v));
        }
        for (py::ssize_t i = 0; i < indices.size(); ++i)
            mesh.corners.push_back(Index(indices.at(i), "faces"));
        // The mesh's views read corners by these offsets: they must fit them.
        bool fits = !mesh.faceStart.empty() && mesh.faceStart.front() == 0 &&
                    mesh.faceStart.back() == mesh.corners.size();
        for (std::size_t f = 0; fits && f + 1 < mesh.faceStart.size(); ++f)
            fits = mesh.faceStart[f] <= mesh.faceStart[f + 1];
        if (!fits)
            Refuse("faces: the offsets must rise from 0 to the number of indices");
        return;
    }
    // A ragged list made into an array is one row of objects: a sequence of faces.
    bool ragged = py::isinstance<py::array>(faces) &&
                  py::reinterpret_borrow<py::array>(faces).ndim() == 1 &&
                  py::reinterpret_borrow<py::array>(faces).dtype().kind() == 'O';
    if (py::isinstance<py::array>(faces) && !ragged) {
        py::array f = py::reinterpret_borrow<py::array>(faces);
        if (f.ndim() != 2)
            Refuse("faces: an array of faces must be (m, k)");
        auto all = IntegerArray(f, "faces");
        auto r = all.unchecked<2>();
        mesh.corners.reserve(static_cast<std::size_t>(r.shape(0) * r.shape(1)));
        for (py::ssize_t i = 0; i < r.shape(0); ++i) {
            for (py::ssize_t k = 0; k < r.shape(1); ++k)
                mesh.corners.push_back(Index(r(i, k), "faces[" + std::to_string(i) + "]"));
            mesh.faceStart.push_back(static_cast<std::uint32_t>(mesh.corners.size()));
        }
    } else if (py::isinstance<py::sequence>(faces) && !py::isinstance<py::str>(faces)) {
        py::sequence rows = py::reinterpret_borrow<py::sequence>(faces);
        for (size_t i = 0; i < rows.size(); ++i)
            AddRow(mesh, rows[i], "faces[" + std::to_string(i) + "]");
    } else {
        Refuse("faces: not an array, a sequence of index sequences or (offsets, indices)");
    }
}

template <class T>
std::vector<T> Column(const py::handle& values, const std::string& what, long long low,
                      long long high) {
    std::vector<T> out;
    if (values.is_none())
        return out;
    auto a = IntegerArray(values, what);
    if (a.ndim() != 1)
        Refuse(what + ": not one row of integers");
    for (py::ssize_t i = 0; i < a.size(); ++i) {
        long long v = a.at(i);
        if (v < low || v > high)
            Refuse(what + ": " + std::to_string(v) + " out of range " + std::to_string(low) +
                   " to " + std::to_string(high));
        out.push_back(static_cast<T>(v));
    }
    return out;
}

// A view of values owned by the mesh behind owner: no copy, and the mesh lives as long
// as the view does.
template <class T>
py::array View(const T* data, std::vector<py::ssize_t> shape, const py::object& owner) {
    std::vector<py::ssize_t> strides(shape.size(), static_cast<py::ssize_t>(sizeof(T)));
    for (std::size_t i = shape.size() - 1; i > 0; --i) strides[i - 1] = strides[i] * shape[i];
    return py::array_t<T>(shape, strides, data, owner);
}

py::object Triples(const std::vector<Vec3>& values, const py::object& owner) {
    if (values.empty())
        return py::none();
    return View(values.front().data(), {static_cast<py::ssize_t>(values.size()), 3}, owner);
}

// All faces of one degree: (m, k); else none.
py::ssize_t UniformDegree(const Mesh& mesh) {
    if (mesh.FaceCount() == 0)
        return 0;
    std::size_t k = mesh.FaceDegree(0);
    for (std::size_t f = 1; f < mesh.FaceCount(); ++f)
        if (mesh.FaceDegree(f) != k)
            return 0;
    return static_cast<py::ssize_t>(k);
}

py::array FaceOffsets(const py::object& self) {
    const Mesh& mesh = self.cast<const Mesh&>();
    return View(mesh.faceStart.data(), {static_cast<py::ssize_t>(mesh.faceStart.size())}, self);
}

py::array FaceIndices(const py::object& self) {
    const Mesh& mesh = self.cast<const Mesh&>();
    return View(mesh.corners.data(), {static_cast<py::ssize_t>(mesh.corners.size())}, self);
}

py::object Faces(const py::object& self) {
    const Mesh& mesh = self.cast<const Mesh&>();
    py::ssize_t k = UniformDegree(mesh);
    if (k > 0)
        return View(mesh.corners.data(), {static_cast<py::ssize_t>(mesh.FaceCount()), k}, self);
    return py::make_tuple(FaceOffsets(self), FaceIndices(self));
}

py::array Vertices(const py::object& self) {
    const Mesh& mesh = self.cast<const Mesh&>();
    return View(mesh.positions.empty() ? nullptr : mesh.positions.front().data(),
                {static_cast<py::ssize_t>(mesh.positions.size()), 3}, self);
}

py::array Materials(const py::object& self) {
    const Mesh& mesh = self.cast<const Mesh&>();
    if (mesh.materials.empty()) {
        // No materials: every face has ID 0.
        py::array_t<std::uint16_t> zeros(static_cast<py::ssize_t>(mesh.FaceCount()));
        std::fill(zeros.mutable_data(), zeros.mutable_data() + zeros.size(), 0);
        return zeros;
    }
    return View(mesh.materials.data(), {static_cast<py::ssize_t>(mesh.materials.size())}, self);
}

py::array IndexArray(const std::vector<int>& values) {
    py::array_t<std::int32_t> out(static_cast<py::ssize_t>(values.size()));
    std::copy(values.begin(), values.end(), out.mutable_data());
    return out;
}

py::array EdgeArray(const std::vector<Edge>& edges) {
    py::array_t<std::int32_t> out({static_cast<py::ssize_t>(edges.size()), py::ssize_t(2)});
    std::int32_t* w = out.mutable_data();
    for (const Edge& e : edges) {
        *w++ = e[0];
        *w++ = e[1];
    }
    return out;
}

// The command line's JSON report, as a dict: the same keys and rounding.
py::object ReportToPython(const Report& r) {
    return py::module_::import("json").attr("loads")(r.json);
}

}  // namespace

std::vector<int> IndicesFromPython(const py::handle& values, const std::string& what) {
    auto a = IntegerArray(values, what);
    auto flat = py::array_t<long long>::ensure(a.attr("reshape")(-1));
    std::vector<int> out;
    out.reserve(static_cast<std::size_t>(flat.size()));
    for (py::ssize_t i = 0; i < flat.size(); ++i) out.push_back(Index(flat.at(i), what));
    return out;
}

UpAxis UpAxisOf(const std::string& up) {
    if (up != "z" && up != "y")
        throw Error(ErrorCode::BadInput, "up: \"y\" or \"z\"");
    return up == "y" ? UpAxis::Y : UpAxis::Z;
}

Mesh MeshFromArrays(const py::handle& vertices, const py::handle& faces,
                    const py::handle& materials) {
    Mesh mesh;
    mesh.positions = Triples(vertices, "vertices");
    if (vertices.is_none())
        Refuse("vertices: not an (n, 3) array");
    SetFaces(mesh, faces);
    mesh.materials = Column<std::uint16_t>(materials, "materials", 0, 65535);
    return mesh;
}

void BindMesh(py::module_& m) {
    py::class_<Mesh>(m, "Mesh", R"(A polygon mesh as flat arrays.

Every array is a view of the mesh's own storage (no copy): vertices (n, 3) float32;
faces, an (m, k) int32 array when every face has k corners, else the pair
(face_offsets, face_indices); materials (m,) uint16; uvs and normals (corners, 3) per
face corner in the order of face_indices, colors (n, 3) per vertex, groups (m,) with
group_names, or None where the mesh has none; material_names; name; up, the axis its
positions treat as up ("y" as glTF defines it, else "z"; a glTF file written of a "z"
mesh is stood up to glTF's Y up).)")
        .def(py::init([](const py::object& vertices, const py::object& faces,
                         const py::object& materials, const py::object& uvs,
                         const py::object& normals, const py::object& colors,
                         const std::vector<std::string>& materialNames, const py::object& groups,
                         const std::vector<std::string>& groupNames, const std::string& name,
                         const std::string& up) {
                 Mesh mesh = MeshFromArrays(vertices, faces, materials);
                 mesh.uvs = Triples(uvs, "uvs");
                 mesh.normals = Triples(normals, "normals");
                 mesh.colors = Triples(colors, "colors");
                 mesh.materialNames = materialNames;
                 mesh.groups = Column<std::int32_t>(groups, "groups", -1,
                                                    std::numeric_limits<std::int32_t>::max());
                 mesh.groupNames = groupNames;
                 mesh.name = name;
                 mesh.up = UpAxisOf(up);
                 return mesh;
             }),
             py::arg("vertices"), py::arg("faces"), py::kw_only(),
             py::arg("materials") = py::none(), py::arg("uvs") = py::none(),
             py::arg("normals") = py::none(), py::arg("colors") = py::none(),
             py::arg("material_names") = std::vector<std::string>(), py::arg("groups") = py::none(),
             py::arg("group_names") = std::vector<std::string>(), py::arg("name") = std::string(),
             py::arg("up") = "z")
        .def_property_readonly("vertices", &Vertices)
        .def_property_readonly("faces", &Faces)
        .def_property_readonly("face_offsets", &FaceOffsets)
        .def_property_readonly("face_indices", &FaceIndices)
        .def_property_readonly(
            "face_count",
            [](const Mesh& mesh) { return static_cast<py::ssize_t>(mesh.FaceCount()); })
        .def_property_readonly("materials", &Materials)
        .def_property_readonly(
            "uvs",
            [](const py::object& self) { return Triples(self.cast<const Mesh&>().uvs, self); })
        .def_property_readonly(
            "normals",
            [](const py::object& self) { return Triples(self.cast<const Mesh&>().normals, self); })
        .def_property_readonly(
            "colors",
            [](const py::object& self) { return Triples(self.cast<const Mesh&>().colors, self); })
        .def_property_readonly("groups",
                               [](const py::object& self) -> py::object {
                                   const Mesh& mesh = self.cast<const Mesh&>();
                                   if (mesh.groups.empty())
                                       return py::none();
                                   return View(mesh.groups.data(),
                                               {static_cast<py::ssize_t>(mesh.groups.size())},
                                               self);
                               })
        .def_readwrite("material_names", &Mesh::materialNames)
        .def_readwrite("group_names", &Mesh::groupNames)
        .def_readwrite("name", &Mesh::name)
        .def_property(
            "up", [](const Mesh& mesh) { return mesh.up == UpAxis::Y ? "y" : "z"; },
            [](Mesh& mesh, const std::string& up) { mesh.up = UpAxisOf(up); })
        .def("__repr__", [](const Mesh& mesh) {
            return "<slitform.Mesh with " + std::to_string(mesh.positions.size()) +
                   " vertices and " + std::to_string(mesh.FaceCount()) + " faces>";
        });
}

py::object OutcomeToPython(Outcome&& outcome) {
    py::object mesh = py::cast(std::move(outcome.mesh));
    py::dict fields;
    fields["mesh"] = mesh;
    fields["vertices"] = mesh.attr("vertices");
    fields["faces"] = mesh.attr("faces");
    fields["materials"] = mesh.attr("materials");
    fields["selected_vertices"] = IndexArray(outcome.selectedVertices);
    fields["selected_edges"] = EdgeArray(outcome.selectedEdges);
    fields["cut_edges"] = EdgeArray(outcome.cutEdges);
    fields["selected_faces"] = IndexArray(outcome.selectedFaces);
    fields["report"] = ReportToPython(outcome.report);
    return py::module_::import("types").attr("SimpleNamespace")(**fields);
}

}  // namespace slitform
