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
// same bits. False, with place left empty, when every vertex has a place of its own.
// An open-addressing table of the vertices seen so far, in vertex order: linear, where a
// sort of a million positions took a tenth of a second.
bool PlaceNumbers(const MNMesh& mesh, std::vector<std::uint32_t>& place) {
    std::size_t size = 2;
    while (size < 2 * static_cast<std::size_t>(mesh.numv)) size *= 2;
    constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    std::vector<std::uint32_t> table(size, kEmpty);
    std::vector<std::uint32_t> number(static_cast<std::size_t>(mesh.numv));
    bool shared = false;
    for (int v = 0; v < mesh.numv; ++v) {
        PositionBits bits = BitsOf(mesh.v[v].p);
        std::uint64_t hash = (bits[0] * 0x9E3779B97F4A7C15ull) ^ (bits[1] * 0xC2B2AE3D27D4EB4Full) ^
                             (bits[2] * 0x165667B19E3779F9ull);
        hash ^= hash >> 29;
        std::size_t slot = static_cast<std::size_t>(hash) & (size - 1);
        while (table[slot] != kEmpty && BitsOf(mesh.v[table[slot]].p) != bits)
            slot = (slot + 1) & (size - 1);
        if (table[slot] == kEmpty) {
            table[slot] = static_cast<std::uint32_t>(v);
            number[v] = static_cast<std::uint32_t>(v);
        } else {
            number[v] = table[slot];
            shared = true;
        }
    }
    if (shared)
        place = std::move(number);
    return shared;
}

// The sides of live faces as unordered pairs of numbers, bucketed by the lower number
// and sorted by the higher within each bucket, so that the faces on one pair lie next
// to each other: a counting sort, linear in the sides.
struct Sides {
    std::vector<std::uint32_t> start;  // per lower number, into upper; one entry more
    std::vector<std::uint32_t> upper;
};

Sides SortedSides(const MNMesh& mesh, const std::vector<std::uint32_t>* place) {
    auto forEachSide = [&](auto visit) {
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
                visit(std::min(a, b), std::max(a, b));
            }
        }
    };
    Sides sides;
    sides.start.assign(static_cast<std::size_t>(mesh.numv) + 1, 0);
    forEachSide([&](std::uint32_t a, std::uint32_t) { ++sides.start[a + 1]; });
    for (std::size_t v = 1; v < sides.start.size(); ++v) sides.start[v] += sides.start[v - 1];
    sides.upper.resize(sides.start.back());
    std::vector<std::uint32_t> fill(sides.start.begin(), sides.start.end() - 1);
    forEachSide([&](std::uint32_t a, std::uint32_t b) { sides.upper[fill[a]++] = b; });
    for (std::size_t v = 0; v + 1 < sides.start.size(); ++v)
        std::sort(sides.upper.begin() + sides.start[v], sides.upper.begin() + sides.start[v + 1]);
    return sides;
}

// How many runs of equal pairs there are of which the length passes.
template <class Pass>
int CountRuns(const Sides& sides, Pass pass) {
    int count = 0;
    for (std::size_t v = 0; v + 1 < sides.start.size(); ++v)
        for (std::uint32_t i = sides.start[v]; i < sides.start[v + 1];) {
            std::uint32_t j = i;
            while (j < sides.start[v + 1] && sides.upper[j] == sides.upper[i]) ++j;
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
    // Bucketed lists rather than hash maps: on a large result they take a fraction of
    // the memory, and they are counted one after the other.
    MeshHealth health;
    Sides sides = SortedSides(mesh, nullptr);
    health.borderEdges = CountRuns(sides, [](std::uint32_t faces) { return faces == 1; });
    // Where no two vertices share a place, the sides by place are the sides.
    std::vector<std::uint32_t> place;
    if (PlaceNumbers(mesh, place))
        sides = SortedSides(mesh, &place);
    health.nonManifoldEdges = CountRuns(sides, [](std::uint32_t faces) { return faces > 2; });

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
