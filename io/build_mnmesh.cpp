#include "io/build_mnmesh.h"

#include <cstddef>

namespace {

// "faces 3, 8, 12" naming at most ten of them.
std::string ListOf(const char* what, const std::vector<int>& items, std::size_t total) {
    std::string text = what;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? " " : ", ") + std::to_string(items[i]);
    if (total > items.size())
        text += ", ...";
    return text;
}

Point3 ToPoint3(const slitform::Vec3& p) {
    return Point3(p[0], p[1], p[2]);
}

std::vector<Point3> ToPoints(const std::vector<slitform::Vec3>& values, std::size_t first,
                             std::size_t last) {
    std::vector<Point3> points;
    points.reserve(last - first);
    for (std::size_t i = first; i < last; ++i) points.push_back(ToPoint3(values[i]));
    return points;
}

}  // namespace

void BuildMNMesh(const std::string& path, const slitform::Mesh& mesh, const MeshFlags* flags,
                 MNMesh& out, std::vector<std::string>* warnings, MeshAttributes* attributes) {
    const std::size_t kListed = 10;
    out.Clear();
    if (attributes) {
        *attributes = MeshAttributes();
        attributes->objectName = mesh.name;
        attributes->materialLibrary = mesh.materialLibrary;
        attributes->materialLibraryText = mesh.materialLibraryText;
        attributes->textureFolder = mesh.textureFolder;
        attributes->up = mesh.up;
        attributes->materialNames = mesh.materialNames;
        for (const slitform::Vec3& c : mesh.colors) attributes->color.push_back(ToPoint3(c));
        attributes->groupNames = mesh.groupNames;
    }
    auto flagOf = [](const std::vector<DWORD>* words, std::size_t i) {
        return words && i < words->size() ? (*words)[i] & ~DWORD(MN_DEAD) : DWORD(0);
    };
    const std::vector<DWORD>* vertexFlags = flags ? &flags->vertex : nullptr;
    const std::vector<DWORD>* faceFlags = flags ? &flags->face : nullptr;
    const bool withUV = !mesh.uvs.empty(), withNormals = !mesh.normals.empty();
    const bool grouped = !mesh.groupNames.empty() && !mesh.groups.empty();
    const int faces = static_cast<int>(mesh.FaceCount());
    // A closed mesh has an edge for every two corners.
    out.VAlloc(static_cast<int>(mesh.positions.size()));
    out.FAlloc(faces);
    out.EAlloc(static_cast<int>(mesh.corners.size() / 2 + mesh.corners.size() % 2));
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        int vi = out.NewVert(ToPoint3(mesh.positions[i]));
        out.v[vi].flags = flagOf(vertexFlags, i);
    }

    std::vector<int> refused;
    std::size_t refusedCount = 0;
    for (int face = 0; face < faces; ++face) {
        const std::size_t start = mesh.faceStart[face];
        const int degree = static_cast<int>(mesh.FaceDegree(static_cast<std::size_t>(face)));
        int fi =
            degree <= kMaxFaceDegree ? out.CreateFace(degree, mesh.corners.data() + start) : -1;
        if (fi < 0) {
            if (refused.size() < kListed)
                refused.push_back(face);
            ++refusedCount;
            continue;
        }
        out.f[fi].flags = flagOf(faceFlags, static_cast<std::size_t>(face));
        out.f[fi].material = mesh.materials.empty() ? MtlID(0) : mesh.materials[face];
        out.f[fi].smGroup = flags && static_cast<std::size_t>(face) < flags->smoothing.size()
                                ? flags->smoothing[face]
                                : 0;
        if (!attributes)
            continue;
        const std::size_t last = start + static_cast<std::size_t>(degree);
        if (grouped) {
            attributes->faceGroup.resize(static_cast<std::size_t>(out.numf), -1);
            attributes->faceGroup[fi] = mesh.groups[face];
        }
        if (withUV) {
            attributes->uv.resize(static_cast<std::size_t>(out.numf));
            attributes->uv[fi] = ToPoints(mesh.uvs, start, last);
        }
        if (withNormals) {
            attributes->normal.resize(static_cast<std::size_t>(out.numf));
            attributes->normal[fi] = ToPoints(mesh.normals, start, last);
        }
    }

    std::vector<int> unmatched;
    std::size_t unmatchedCount = 0;
    const std::size_t edges = flags ? flags->edges.size() : 0;
    for (std::size_t i = 0; i < edges; ++i) {
        const FlaggedEdge& record = flags->edges[i];
        int ed = out.FindEdge(record.v1, record.v2);
        if (ed < 0) {
            if (unmatched.size() < kListed)
                unmatched.push_back(static_cast<int>(i));
            ++unmatchedCount;
            continue;
        }
        out.e[ed].flags = record.flags & ~DWORD(MN_DEAD);
    }

    if (!warnings)
        return;
    if (refusedCount > 0)
        warnings->push_back(path + ": skipped " + std::to_string(refusedCount) +
                            " face(s) the mesh cannot take (fewer than 3 or repeated corners, "
                            "an edge used twice the same way or by a third face, or over " +
                            std::to_string(kMaxFaceDegree) + " corners): " +
                            ListOf("faces", refused, refusedCount) + " (counting from 0)");
    if (unmatchedCount > 0)
        warnings->push_back(path + ": ignored " + std::to_string(unmatchedCount) +
                            " edge record(s) that join no two corners of a face: " +
                            ListOf("edges", unmatched, unmatchedCount) + " (counting from 0)");
}
