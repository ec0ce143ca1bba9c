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

}  // namespace

void BuildMNMesh(const std::string& path, const MeshData& data, MNMesh& out,
                 std::vector<std::string>* warnings, MeshAttributes* attributes) {
    const std::size_t kListed = 10;
    out.Clear();
    if (attributes) {
        *attributes = MeshAttributes();
        attributes->objectName = data.objectName;
        attributes->materialLibrary = data.materialLibrary;
        attributes->materialNames = data.materialNames;
        attributes->color = data.vertexColor;
        attributes->groupNames = data.groupNames;
    }
    bool withUV = !data.cornerUV.empty(), withNormals = !data.cornerNormal.empty();
    // A closed mesh has an edge for every two corners.
    out.VAlloc(static_cast<int>(data.positions.size()));
    out.FAlloc(data.FaceCount());
    out.EAlloc(static_cast<int>(data.corners.size() / 2 + data.corners.size() % 2));
    for (std::size_t i = 0; i < data.positions.size(); ++i) {
        int vi = out.NewVert(data.positions[i]);
        out.v[vi].flags = data.vertexFlags[i] & ~DWORD(MN_DEAD);
    }

    std::vector<int> refused;
    std::size_t refusedCount = 0;
    for (int face = 0; face < data.FaceCount(); ++face) {
        std::size_t start = data.faceStart[face];
        int degree = static_cast<int>(data.faceStart[face + 1] - start);
        int fi =
            degree <= kMaxFaceDegree ? out.CreateFace(degree, data.corners.data() + start) : -1;
        if (fi < 0) {
            if (refused.size() < kListed)
                refused.push_back(face);
            ++refusedCount;
            continue;
        }
        out.f[fi].flags = data.faceFlags[face] & ~DWORD(MN_DEAD);
        out.f[fi].material = data.faceMaterial[face];
        out.f[fi].smGroup = data.faceSmGroup[face];
        if (!attributes)
            continue;
        auto first = static_cast<std::ptrdiff_t>(start), last = first + degree;
        if (!data.groupNames.empty()) {
            attributes->faceGroup.resize(static_cast<std::size_t>(out.numf), -1);
            attributes->faceGroup[fi] = data.faceGroup[face];
        }
        if (withUV) {
            attributes->uv.resize(static_cast<std::size_t>(out.numf));
            attributes->uv[fi].assign(data.cornerUV.begin() + first, data.cornerUV.begin() + last);
        }
        if (withNormals) {
            attributes->normal.resize(static_cast<std::size_t>(out.numf));
            attributes->normal[fi].assign(data.cornerNormal.begin() + first,
                                          data.cornerNormal.begin() + last);
        }
    }

    std::vector<int> unmatched;
    std::size_t unmatchedCount = 0;
    for (std::size_t i = 0; i < data.edges.size(); ++i) {
        const MeshEdgeRecord& record = data.edges[i];
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
