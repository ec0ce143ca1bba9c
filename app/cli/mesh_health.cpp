#include "app/cli/mesh_health.h"

#include <cstdint>
#include <numeric>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

int Root(std::vector<int>& parent, int v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
}

}  // namespace

MeshHealth MeasureMeshHealth(const MNMesh& mesh) {
    MeshHealth health;
    std::unordered_map<std::uint64_t, int> sides;  // faces on each vertex pair
    std::vector<int> parent(static_cast<std::size_t>(mesh.numv));
    std::iota(parent.begin(), parent.end(), 0);
    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        if (face.GetFlag(MN_DEAD))
            continue;
        int n = face.deg;
        for (int i = 0; i < n; ++i) {
            std::uint32_t a = static_cast<std::uint32_t>(face.vtx[i]);
            std::uint32_t b = static_cast<std::uint32_t>(face.vtx[(i + 1) % n]);
            if (a > b)
                std::swap(a, b);
            ++sides[(static_cast<std::uint64_t>(a) << 32) | b];
            parent[Root(parent, face.vtx[i])] = Root(parent, face.vtx[0]);
        }
    }
    for (const auto& [pair, faces] : sides) {
        health.borderEdges += faces == 1;
        health.nonManifoldEdges += faces > 2;
    }
    std::unordered_set<int> roots;
    for (int f = 0; f < mesh.numf; ++f)
        if (!mesh.f[f].GetFlag(MN_DEAD) && !mesh.f[f].vtx.empty())
            roots.insert(Root(parent, mesh.f[f].vtx[0]));
    health.components = static_cast<int>(roots.size());
    return health;
}
