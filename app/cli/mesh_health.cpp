#include "app/cli/mesh_health.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

using PositionPair = std::array<std::uint32_t, 6>;

struct PositionPairHash {
    std::size_t operator()(const PositionPair& k) const {
        std::size_t h = 0;
        for (std::uint32_t w : k) h = h * 1000003u ^ w;
        return h;
    }
};

// The two ends of a side by the bits of their coordinates, in a fixed order.
PositionPair PositionsOf(const Point3& a, const Point3& b) {
    std::array<std::uint32_t, 3> pa, pb;
    std::memcpy(pa.data(), &a.x, sizeof(float) * 3);
    std::memcpy(pb.data(), &b.x, sizeof(float) * 3);
    if (pb < pa)
        std::swap(pa, pb);
    return {pa[0], pa[1], pa[2], pb[0], pb[1], pb[2]};
}

int Root(std::vector<int>& parent, int v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
}

}  // namespace

MeshHealth MeasureMeshHealth(const MNMesh& mesh) {
    MeshHealth health;
    std::unordered_map<std::uint64_t, int> sides;  // faces on each vertex pair
    std::unordered_map<PositionPair, int, PositionPairHash> places;  // faces on each place
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
            ++places[PositionsOf(mesh.v[a].p, mesh.v[b].p)];
            if (a > b)
                std::swap(a, b);
            ++sides[(static_cast<std::uint64_t>(a) << 32) | b];
            parent[Root(parent, face.vtx[i])] = Root(parent, face.vtx[0]);
        }
    }
    for (const auto& side : sides) health.borderEdges += side.second == 1;
    for (const auto& place : places) health.nonManifoldEdges += place.second > 2;
    std::unordered_set<int> roots;
    for (int f = 0; f < mesh.numf; ++f)
        if (!mesh.f[f].GetFlag(MN_DEAD) && !mesh.f[f].vtx.empty())
            roots.insert(Root(parent, mesh.f[f].vtx[0]));
    health.components = static_cast<int>(roots.size());
    return health;
}
