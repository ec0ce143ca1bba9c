#include "api/mesh_conversion.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "contract/cut_mesh_flags.h"
#include "io/build_mnmesh.h"
#include "io/live_numbering.h"
#include "slitform/error.h"

namespace slitform {

namespace {

[[noreturn]] void Refuse(const std::string& what) {
    throw Error(ErrorCode::BadInput, "mesh: " + what);
}

bool Finite(const Vec3& p) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

Vec3 ToVec3(const Point3& p) {
    return {p.x, p.y, p.z};
}

void CheckFaceOffsets(const Mesh& mesh) {
    if (mesh.faceStart.empty() || mesh.faceStart.front() != 0)
        Refuse("the face offsets do not start at 0");
    for (std::size_t f = 0; f + 1 < mesh.faceStart.size(); ++f)
        if (mesh.faceStart[f + 1] < mesh.faceStart[f])
            Refuse("the offset of face " + std::to_string(f + 1) + " goes back");
    if (mesh.faceStart.back() != mesh.corners.size())
        Refuse("the face offsets end at " + std::to_string(mesh.faceStart.back()) +
               ", but there are " + std::to_string(mesh.corners.size()) + " corners");
}

// Per-corner values must be one per corner, and finite.
void CheckCornerValues(const std::vector<Vec3>& values, const Mesh& mesh, const char* what) {
    if (values.empty())
        return;
    if (values.size() != mesh.corners.size())
        Refuse(std::to_string(values.size()) + " " + what + " for " +
               std::to_string(mesh.corners.size()) + " corners");
    for (std::size_t f = 0; f < mesh.FaceCount(); ++f)
        for (std::uint32_t c = mesh.faceStart[f]; c < mesh.faceStart[f + 1]; ++c)
            if (!Finite(values[c]))
                Refuse("face " + std::to_string(f) + " has " + what +
                       " that are not finite numbers");
}

// The attributes' counts against the corners, vertices and faces, their values finite
// and their groups named.
void CheckAttributes(const Mesh& mesh) {
    CheckCornerValues(mesh.uvs, mesh, "texture coordinates");
    CheckCornerValues(mesh.normals, mesh, "normals");
    if (!mesh.colors.empty()) {
        if (mesh.colors.size() != mesh.positions.size())
            Refuse(std::to_string(mesh.colors.size()) + " colours for " +
                   std::to_string(mesh.positions.size()) + " vertices");
        for (const Vec3& c : mesh.colors)
            if (!Finite(c))
                Refuse("a colour is not a finite number");
    }
    if (!mesh.groups.empty()) {
        if (mesh.groups.size() != mesh.FaceCount())
            Refuse(std::to_string(mesh.groups.size()) + " groups for " +
                   std::to_string(mesh.FaceCount()) + " faces");
        for (std::size_t f = 0; f < mesh.groups.size(); ++f)
            if (mesh.groups[f] < -1 ||
                mesh.groups[f] >= static_cast<std::int64_t>(mesh.groupNames.size()))
                Refuse("face " + std::to_string(f) + " is in group " +
                       std::to_string(mesh.groups[f]) + ", which has no name");
    }
}

// The live faces' values in their order, flat per corner; empty when there are none.
std::vector<Vec3> LiveCorners(const std::vector<std::vector<Point3>>& values, const MNMesh& mesh,
                              const LiveNumbering& numbering) {
    std::vector<Vec3> out;
    if (values.empty())
        return out;
    for (int f : numbering.faces) {
        const std::size_t deg = static_cast<std::size_t>(mesh.f[f].deg);
        const bool has = static_cast<std::size_t>(f) < values.size() && values[f].size() == deg;
        for (std::size_t j = 0; j < deg; ++j)
            out.push_back(has ? ToVec3(values[f][j]) : Vec3{0.0f, 0.0f, 0.0f});
    }
    return out;
}

}  // namespace

MNMesh ToPolyMesh(const Mesh& mesh, MeshAttributes* attributes) {
    if (mesh.positions.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        Refuse("too many vertices");
    CheckFaceOffsets(mesh);
    const std::size_t faces = mesh.FaceCount();
    const int numVerts = static_cast<int>(mesh.positions.size());
    if (!mesh.materials.empty() && mesh.materials.size() != faces)
        Refuse(std::to_string(mesh.materials.size()) + " materials for " + std::to_string(faces) +
               " faces");
    for (int i = 0; i < numVerts; ++i)
        if (!Finite(mesh.positions[i]))
            Refuse("vertex " + std::to_string(i) + " has a coordinate that is not a finite number");
    for (std::size_t fi = 0; fi < faces; ++fi) {
        const std::size_t degree = mesh.FaceDegree(fi);
        if (degree < 3 || degree > static_cast<std::size_t>(kMaxFaceDegree))
            Refuse("face " + std::to_string(fi) + " has " + std::to_string(degree) +
                   " corners (3 to " + std::to_string(kMaxFaceDegree) + ")");
        const std::int32_t* first = mesh.corners.data() + mesh.faceStart[fi];
        for (std::size_t k = 0; k < degree; ++k)
            if (first[k] < 0 || first[k] >= numVerts)
                Refuse("face " + std::to_string(fi) + " uses vertex " + std::to_string(first[k]) +
                       ", out of range 0 to " + std::to_string(numVerts - 1));
    }
    if (attributes)
        CheckAttributes(mesh);
    MNMesh out;
    std::vector<std::string> refused;
    BuildMNMesh("mesh", mesh, nullptr, out, &refused, attributes);
    if (!refused.empty())
        throw Error(ErrorCode::BadInput, refused.front());
    return out;
}

Mesh FromPolyMesh(const MNMesh& mesh, const MeshAttributes& attributes, Outcome* outcome) {
    LiveNumbering numbering;
    std::string problem;
    if (!NumberLiveComponents(mesh, numbering, problem))
        throw Error(ErrorCode::CutFailed, "the cut mesh: " + problem);
    Mesh out;
    out.positions.reserve(numbering.verts.size());
    for (std::size_t i = 0; i < numbering.verts.size(); ++i) {
        const MNVert& v = mesh.v[numbering.verts[i]];
        out.positions.push_back(ToVec3(v.p));
        if (outcome && (v.flags & cutflags::kSelectedByCut))
            outcome->selectedVertices.push_back(static_cast<int>(i));
    }
    if (outcome)
        for (int e : numbering.edges) {
            const MNEdge& edge = mesh.e[e];
            int a = numbering.newVert[edge.v1], b = numbering.newVert[edge.v2];
            Edge pair = a < b ? Edge{a, b} : Edge{b, a};
            if (edge.flags & cutflags::kSelectedByCut)
                outcome->selectedEdges.push_back(pair);
            if (edge.flags & cutflags::kCutLineEdge)
                outcome->cutEdges.push_back(pair);
        }
    out.faceStart.reserve(numbering.faces.size() + 1);
    out.materials.reserve(numbering.faces.size());
    const bool grouped = !attributes.faceGroup.empty();
    for (std::size_t i = 0; i < numbering.faces.size(); ++i) {
        const int f = numbering.faces[i];
        const MNFace& face = mesh.f[f];
        for (int v : face.vtx) out.corners.push_back(numbering.newVert[v]);
        out.faceStart.push_back(static_cast<std::uint32_t>(out.corners.size()));
        out.materials.push_back(face.material);
        if (grouped)
            out.groups.push_back(static_cast<std::size_t>(f) < attributes.faceGroup.size()
                                     ? attributes.faceGroup[f]
                                     : -1);
        if (outcome && (face.flags & cutflags::kSelectedByCut))
            outcome->selectedFaces.push_back(static_cast<int>(i));
    }
    out.uvs = LiveCorners(attributes.uv, mesh, numbering);
    out.normals = LiveCorners(attributes.normal, mesh, numbering);
    if (!attributes.color.empty())
        for (int v : numbering.verts)
            out.colors.push_back(static_cast<std::size_t>(v) < attributes.color.size()
                                     ? ToVec3(attributes.color[v])
                                     : Vec3{1.0f, 1.0f, 1.0f});
    out.materialNames = attributes.materialNames;
    out.groupNames = attributes.groupNames;
    out.name = attributes.objectName;
    out.materialLibrary = attributes.materialLibrary;
    out.materialLibraryText = attributes.materialLibraryText;
    out.textureFolder = attributes.textureFolder;
    out.up = attributes.up;
    return out;
}

}  // namespace slitform
