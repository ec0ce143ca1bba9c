#include "api/mesh_conversion.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "contract/cut_mesh_flags.h"
#include "io/build_mnmesh.h"
#include "io/live_numbering.h"
#include "io/mesh_data.h"
#include "slitform/error.h"

namespace slitform {

namespace {

bool FitsFloat(double x) {
    return std::isfinite(x) && std::fabs(x) <= std::numeric_limits<float>::max();
}

}  // namespace

MNMesh ToPolyMesh(const Mesh& mesh) {
    const int numVerts = static_cast<int>(mesh.positions.size());
    if (mesh.positions.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
        throw Error(ErrorCode::BadInput, "mesh: too many vertices");
    if (!mesh.materials.empty() && mesh.materials.size() != mesh.faces.size())
        throw Error(ErrorCode::BadInput, "mesh: " + std::to_string(mesh.materials.size()) +
                                             " materials for " + std::to_string(mesh.faces.size()) +
                                             " faces");
    MeshData data;
    data.positions.reserve(mesh.positions.size());
    for (int i = 0; i < numVerts; ++i) {
        const Point& p = mesh.positions[i];
        if (!FitsFloat(p[0]) || !FitsFloat(p[1]) || !FitsFloat(p[2]))
            throw Error(ErrorCode::BadInput, "mesh: vertex " + std::to_string(i) +
                                                 " has a coordinate that is not a finite number");
        data.positions.emplace_back(static_cast<float>(p[0]), static_cast<float>(p[1]),
                                    static_cast<float>(p[2]));
    }
    data.vertexFlags.assign(mesh.positions.size(), 0);
    for (size_t fi = 0; fi < mesh.faces.size(); ++fi) {
        const std::vector<int>& face = mesh.faces[fi];
        if (face.size() < 3 || face.size() > static_cast<size_t>(kMaxFaceDegree))
            throw Error(ErrorCode::BadInput, "mesh: face " + std::to_string(fi) + " has " +
                                                 std::to_string(face.size()) + " corners (3 to " +
                                                 std::to_string(kMaxFaceDegree) + ")");
        for (int v : face)
            if (v < 0 || v >= numVerts)
                throw Error(ErrorCode::BadInput, "mesh: face " + std::to_string(fi) +
                                                     " uses vertex " + std::to_string(v) +
                                                     ", out of range 0 to " +
                                                     std::to_string(numVerts - 1));
        data.AddFace(face.data(), static_cast<int>(face.size()));
        if (!mesh.materials.empty()) {
            int m = mesh.materials[fi];
            if (m < 0 || m > std::numeric_limits<MtlID>::max())
                throw Error(ErrorCode::BadInput,
                            "mesh: face " + std::to_string(fi) + " has material " +
                                std::to_string(m) + ", out of range 0 to " +
                                std::to_string(std::numeric_limits<MtlID>::max()));
            data.faceMaterial.back() = static_cast<MtlID>(m);
        }
    }
    MNMesh out;
    std::vector<std::string> refused;
    BuildMNMesh("mesh", data, out, &refused);
    if (!refused.empty())
        throw Error(ErrorCode::BadInput, refused.front());
    return out;
}

namespace {

// One attribute's values per face corner, checked against the faces.
std::vector<std::vector<Point3>> CornerValues(const std::vector<std::vector<Point>>& values,
                                              const Mesh& mesh, const char* what) {
    std::vector<std::vector<Point3>> corners;
    if (values.empty())
        return corners;
    if (values.size() != mesh.faces.size())
        throw Error(ErrorCode::BadInput, std::string("mesh: ") + what + " for " +
                                             std::to_string(values.size()) + " faces, but " +
                                             std::to_string(mesh.faces.size()) + " faces");
    corners.reserve(values.size());
    for (size_t f = 0; f < values.size(); ++f) {
        if (values[f].size() != mesh.faces[f].size())
            throw Error(ErrorCode::BadInput, std::string("mesh: face ") + std::to_string(f) +
                                                 " has " + std::to_string(mesh.faces[f].size()) +
                                                 " corners but " +
                                                 std::to_string(values[f].size()) + " " + what);
        std::vector<Point3> face;
        for (const Point& p : values[f]) {
            for (double c : p)
                if (!std::isfinite(c) || std::fabs(c) > 3e38)
                    throw Error(ErrorCode::BadInput,
                                std::string("mesh: face ") + std::to_string(f) + " has " + what +
                                    " that are not finite single-precision numbers");
            face.push_back(Point3(static_cast<float>(p[0]), static_cast<float>(p[1]),
                                  static_cast<float>(p[2])));
        }
        corners.push_back(std::move(face));
    }
    return corners;
}

std::vector<std::vector<Point>> LiveCornerValues(const std::vector<std::vector<Point3>>& values,
                                                 const LiveNumbering& numbering) {
    std::vector<std::vector<Point>> out;
    if (values.empty())
        return out;
    for (int f : numbering.faces) {
        std::vector<Point> face;
        if (static_cast<size_t>(f) < values.size())
            for (const Point3& p : values[static_cast<size_t>(f)]) face.push_back({p.x, p.y, p.z});
        out.push_back(std::move(face));
    }
    return out;
}

}  // namespace

MeshAttributes ToAttributes(const Mesh& mesh) {
    MeshAttributes attributes;
    attributes.uv = CornerValues(mesh.uvs, mesh, "texture coordinates");
    attributes.normal = CornerValues(mesh.normals, mesh, "normals");
    return attributes;
}

void FillFromPolyMesh(const MNMesh& mesh, const MeshAttributes& attributes, Outcome& outcome) {
    LiveNumbering numbering;
    std::string problem;
    if (!NumberLiveComponents(mesh, numbering, problem))
        throw Error(ErrorCode::CutFailed, "the cut mesh: " + problem);
    Mesh& out = outcome.mesh;
    out.positions.reserve(numbering.verts.size());
    for (size_t i = 0; i < numbering.verts.size(); ++i) {
        const MNVert& v = mesh.v[numbering.verts[i]];
        out.positions.push_back({v.p.x, v.p.y, v.p.z});
        if (v.flags & cutflags::kSelectedByCut)
            outcome.selectedVertices.push_back(static_cast<int>(i));
    }
    for (int e : numbering.edges) {
        const MNEdge& edge = mesh.e[e];
        int a = numbering.newVert[edge.v1], b = numbering.newVert[edge.v2];
        Edge pair = a < b ? Edge{a, b} : Edge{b, a};
        if (edge.flags & cutflags::kSelectedByCut)
            outcome.selectedEdges.push_back(pair);
        if (edge.flags & cutflags::kCutLineEdge)
            outcome.cutEdges.push_back(pair);
    }
    out.faces.reserve(numbering.faces.size());
    out.materials.reserve(numbering.faces.size());
    for (size_t i = 0; i < numbering.faces.size(); ++i) {
        const MNFace& face = mesh.f[numbering.faces[i]];
        std::vector<int> corners;
        corners.reserve(face.vtx.size());
        for (int v : face.vtx) corners.push_back(numbering.newVert[v]);
        out.faces.push_back(std::move(corners));
        out.materials.push_back(face.material);
        if (face.flags & cutflags::kSelectedByCut)
            outcome.selectedFaces.push_back(static_cast<int>(i));
    }
    out.uvs = LiveCornerValues(attributes.uv, numbering);
    out.normals = LiveCornerValues(attributes.normal, numbering);
}

}  // namespace slitform
