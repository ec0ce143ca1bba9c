#include "app/studio/mesh_buffers.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "mesh.h"

namespace {

// Ear clipping grows with the square of the corners at best: beyond this many a
// face is fanned, drawn roughly rather than late.
const int kMostCornersClipped = 4096;

bool Finite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Whether the face turns the same way at every corner (straight corners allowed):
// then a fan from its first corner covers it exactly.
bool Convex(const MNMesh& mesh, const MNFace& face) {
    const int n = face.deg;
    Point3 normal(0.0f, 0.0f, 0.0f);
    for (int j = 0; j < n; ++j) {
        const Point3& a = mesh.v[face.vtx[j]].p;
        const Point3& c = mesh.v[face.vtx[(j + 1) % n]].p;
        normal.x += (a.y - c.y) * (a.z + c.z);
        normal.y += (a.z - c.z) * (a.x + c.x);
        normal.z += (a.x - c.x) * (a.y + c.y);
    }
    for (int j = 0; j < n; ++j) {
        const Point3& a = mesh.v[face.vtx[(j + n - 1) % n]].p;
        const Point3& b = mesh.v[face.vtx[j]].p;
        const Point3& c = mesh.v[face.vtx[(j + 1) % n]].p;
        if (((b - a) ^ (c - b)) % normal < 0.0f)
            return false;
    }
    return true;
}

// Triangulates the given faces as the host's triangle conversion does (by clipping
// ears), through a mesh of those faces alone, and adds their triangles to the
// selected or the plain list.
void AddConcaveFaces(const MNMesh& mesh, const std::vector<int>& faces, MeshLevel& level) {
    MNMesh part;
    std::unordered_map<int, int> local;
    std::vector<std::uint32_t> global;
    std::vector<int> taken;  // the faces the part holds, in its order
    for (int f : faces) {
        const MNFace& face = mesh.f[f];
        std::vector<int> corners;
        for (int j = 0; j < face.deg; ++j) {
            int v = face.vtx[j];
            auto found = local.emplace(v, part.numv);
            if (found.second) {
                part.NewVert(mesh.v[v].p);
                global.push_back(static_cast<std::uint32_t>(v));
            }
            corners.push_back(found.first->second);
        }
        if (part.CreateFace(face.deg, corners.data()) >= 0)
            taken.push_back(f);
    }
    Mesh triangles;
    part.OutToTri(triangles);
    // Every face of n corners gives n - 2 triangles, face by face.
    int next = 0;
    for (int f : taken) {
        std::vector<std::uint32_t>& into =
            mesh.f[f].GetFlag(MN_SEL) ? level.selectedTriangles : level.plainTriangles;
        for (int t = 0; t + 2 < mesh.f[f].deg && next < triangles.getNumFaces(); ++t, ++next)
            for (DWORD corner : triangles.faces[next].v) into.push_back(global[corner]);
    }
}

}  // namespace

MeshBuffers BuildMeshBuffers(const MNMesh& mesh, const Matrix3& tm) {
    MeshBuffers b;
    const int numv = mesh.numv;
    std::vector<bool> drawable(static_cast<size_t>(std::max(numv, 0)), false);
    b.full.positions.resize(static_cast<size_t>(std::max(numv, 0)) * 3u, 0.0f);
    b.lo = Point3(INFINITY, INFINITY, INFINITY);
    b.hi = Point3(-INFINITY, -INFINITY, -INFINITY);
    for (int i = 0; i < numv; ++i) {
        Point3 p = mesh.v[i].p * tm;
        if (mesh.v[i].GetFlag(MN_DEAD) || !Finite(p))
            continue;
        drawable[i] = true;
        b.full.positions[3u * i] = p.x;
        b.full.positions[3u * i + 1] = p.y;
        b.full.positions[3u * i + 2] = p.z;
        b.lo = Point3(std::min(b.lo.x, p.x), std::min(b.lo.y, p.y), std::min(b.lo.z, p.z));
        b.hi = Point3(std::max(b.hi.x, p.x), std::max(b.hi.y, p.y), std::max(b.hi.z, p.z));
        b.empty = false;
    }
    auto usable = [&](int v) { return v >= 0 && v < numv && drawable[v]; };

    std::vector<int> concave;
    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        if (face.GetFlag(MN_DEAD) || face.deg < 3 || static_cast<int>(face.vtx.size()) < face.deg)
            continue;
        bool whole = true;
        for (int j = 0; j < face.deg && whole; ++j) whole = usable(face.vtx[j]);
        if (!whole)
            continue;
        if (face.deg > 3 && face.deg <= kMostCornersClipped && !Convex(mesh, face)) {
            concave.push_back(f);
            continue;
        }
        std::vector<std::uint32_t>& into =
            face.GetFlag(MN_SEL) ? b.full.selectedTriangles : b.full.plainTriangles;
        for (int j = 1; j + 1 < face.deg; ++j) {
            into.push_back(static_cast<std::uint32_t>(face.vtx[0]));
            into.push_back(static_cast<std::uint32_t>(face.vtx[j]));
            into.push_back(static_cast<std::uint32_t>(face.vtx[j + 1]));
        }
    }

    AddConcaveFaces(mesh, concave, b.full);

    double lengthSum = 0.0;
    for (int e = 0; e < mesh.nume; ++e) {
        const MNEdge& edge = mesh.e[e];
        if (edge.GetFlag(MN_DEAD) || !usable(edge.v1) || !usable(edge.v2))
            continue;
        std::uint32_t a = static_cast<std::uint32_t>(edge.v1),
                      c = static_cast<std::uint32_t>(edge.v2);
        b.full.edges.push_back(a);
        b.full.edges.push_back(c);
        if (edge.GetFlag(MN_SEL)) {
            b.cutEdges.push_back(a);
            b.cutEdges.push_back(c);
        }
        Point3 d(b.full.positions[3u * a] - b.full.positions[3u * c],
                 b.full.positions[3u * a + 1] - b.full.positions[3u * c + 1],
                 b.full.positions[3u * a + 2] - b.full.positions[3u * c + 2]);
        lengthSum += d.Length();
    }
    if (!b.full.edges.empty())
        b.meanEdgeLength =
            static_cast<float>(lengthSum / static_cast<double>(b.full.edges.size() / 2u));
    std::size_t triangles = (b.full.plainTriangles.size() + b.full.selectedTriangles.size()) / 3u;
    if (triangles > kCoarseLevelFromTriangles && b.meanEdgeLength > 0.0f) {
        // Cells a few edges wide, so that about half of kCoarseLevelFromTriangles
        // triangles remain: few enough for a software renderer to orbit with the
        // edges shown.
        float ratio =
            static_cast<float>(triangles) / (0.5f * static_cast<float>(kCoarseLevelFromTriangles));
        b.coarseCell = b.meanEdgeLength * std::sqrt(ratio);
        b.coarse = ClusterLevel(b.full, b.lo, b.coarseCell);
    }
    return b;
}

MeshLevel ClusterLevel(const MeshLevel& full, const Point3& lo, float cell) {
    MeshLevel coarse;
    const std::size_t numv = full.positions.size() / 3u;
    std::vector<std::uint32_t> clusterOf(numv, 0);
    std::unordered_map<std::uint64_t, std::uint32_t> clusters;
    std::vector<double> sums;
    std::vector<std::uint32_t> counts;
    auto cellOf = [&](std::size_t i, int axis, float origin) {
        float at = (full.positions[3u * i + static_cast<std::size_t>(axis)] - origin) / cell;
        return static_cast<std::uint64_t>(std::clamp(at, 0.0f, 2097151.0f));  // 21 bits
    };
    for (std::size_t i = 0; i < numv; ++i) {
        std::uint64_t key =
            cellOf(i, 0, lo.x) | cellOf(i, 1, lo.y) << 21 | cellOf(i, 2, lo.z) << 42;
        auto [found, added] = clusters.emplace(key, static_cast<std::uint32_t>(counts.size()));
        if (added) {
            counts.push_back(0);
            sums.insert(sums.end(), {0.0, 0.0, 0.0});
        }
        std::uint32_t c = found->second;
        clusterOf[i] = c;
        ++counts[c];
        for (std::size_t k = 0; k < 3u; ++k) sums[3u * c + k] += full.positions[3u * i + k];
    }
    coarse.positions.resize(sums.size());
    for (std::size_t c = 0; c < counts.size(); ++c)
        for (std::size_t k = 0; k < 3u; ++k)
            coarse.positions[3u * c + k] = static_cast<float>(sums[3u * c + k] / counts[c]);

    // Clusters number fewer than 2^21 here, so that three make one key.
    std::unordered_set<std::uint64_t> seen;
    auto remap = [&](const std::vector<std::uint32_t>& from, std::size_t corners,
                     std::vector<std::uint32_t>& into) {
        std::uint32_t c[3] = {0, 0, 0};
        for (std::size_t t = 0; t + corners <= from.size(); t += corners) {
            for (std::size_t k = 0; k < corners; ++k) c[k] = clusterOf[from[t + k]];
            std::uint32_t sorted[3] = {c[0], c[1], c[corners - 1u]};
            std::sort(sorted, sorted + corners);
            bool distinct = sorted[0] != sorted[1] && (corners == 2u || sorted[1] != sorted[2]);
            std::uint64_t key = static_cast<std::uint64_t>(sorted[0]) |
                                static_cast<std::uint64_t>(sorted[1]) << 21 |
                                static_cast<std::uint64_t>(corners == 3u ? sorted[2] : 0u) << 42;
            if (distinct && seen.insert(key).second)
                into.insert(into.end(), c, c + corners);
        }
    };
    if (counts.size() < (1u << 21)) {
        remap(full.selectedTriangles, 3u, coarse.selectedTriangles);
        remap(full.plainTriangles, 3u, coarse.plainTriangles);
        seen.clear();
        remap(full.edges, 2u, coarse.edges);
    }
    return coarse;
}
