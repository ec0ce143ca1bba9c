#include "session/mesh_health.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

using PositionBits = std::array<std::uint32_t, 3>;

PositionBits BitsOf(const Point3& p) {
    PositionBits bits;
    std::memcpy(bits.data(), &p.x, sizeof(float) * 3);
    return bits;
}

// Each vertex's number for its place: the lowest vertex whose coordinates have the
// same bits.
std::vector<std::uint32_t> PlaceNumbers(const MNMesh& mesh) {
    std::vector<std::uint32_t> order(static_cast<std::size_t>(mesh.numv));
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        PositionBits pa = BitsOf(mesh.v[a].p), pb = BitsOf(mesh.v[b].p);
        return pa != pb ? pa < pb : a < b;
    });
    std::vector<std::uint32_t> place(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        bool same = i > 0 && BitsOf(mesh.v[order[i]].p) == BitsOf(mesh.v[order[i - 1]].p);
        place[order[i]] = same ? place[order[i - 1]] : order[i];
    }
    return place;
}

// The sides of live faces as unordered pairs of numbers, sorted, so that the faces
// on one pair lie next to each other.
std::vector<std::uint64_t> SortedSides(const MNMesh& mesh,
                                       const std::vector<std::uint32_t>* place) {
    std::vector<std::uint64_t> sides;
    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        if (face.GetFlag(MN_DEAD))
            continue;
        int n = face.deg;
        for (int i = 0; i < n; ++i) {
            std::uint32_t a = static_cast<std::uint32_t>(face.vtx[i]);
            std::uint32_t b = static_cast<std::uint32_t>(face.vtx[(i + 1) % n]);
            if (place) {
                a = (*place)[a];
                b = (*place)[b];
            }
            if (a > b)
                std::swap(a, b);
            sides.push_back((static_cast<std::uint64_t>(a) << 32) | b);
        }
    }
    std::sort(sides.begin(), sides.end());
    return sides;
}

// How many runs of equal values there are of which the length passes.
template <class Pass>
int CountRuns(const std::vector<std::uint64_t>& sorted, Pass pass) {
    int count = 0;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i;
        while (j < sorted.size() && sorted[j] == sorted[i]) ++j;
        count += pass(j - i);
        i = j;
    }
    return count;
}

int Root(std::vector<int>& parent, int v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
}

}  // namespace

MeshHealth MeasureMeshHealth(const MNMesh& mesh) {
    // Sorted lists rather than hash maps: on a large result they take a fraction of
    // the memory, and they are counted one after the other.
    MeshHealth health;
    health.borderEdges =
        CountRuns(SortedSides(mesh, nullptr), [](std::size_t faces) { return faces == 1; });
    std::vector<std::uint32_t> place = PlaceNumbers(mesh);
    health.nonManifoldEdges =
        CountRuns(SortedSides(mesh, &place), [](std::size_t faces) { return faces > 2; });

    std::vector<int> parent(static_cast<std::size_t>(mesh.numv));
    std::iota(parent.begin(), parent.end(), 0);
    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        if (face.GetFlag(MN_DEAD))
            continue;
        for (int i = 0; i < face.deg; ++i)
            parent[Root(parent, face.vtx[i])] = Root(parent, face.vtx[0]);
    }
    std::vector<char> counted(parent.size(), 0);
    for (int f = 0; f < mesh.numf; ++f) {
        if (mesh.f[f].GetFlag(MN_DEAD) || mesh.f[f].vtx.empty())
            continue;
        int root = Root(parent, mesh.f[f].vtx[0]);
        health.components += !counted[static_cast<std::size_t>(root)];
        counted[static_cast<std::size_t>(root)] = 1;
    }
    return health;
}
