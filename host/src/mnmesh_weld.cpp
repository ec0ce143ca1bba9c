// WeldBorderVerts: joins border vertices that lie closer than a threshold, or a given pair.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <unordered_map>

#include "mnmesh.h"

namespace {

struct CellKey {
    std::int64_t x, y, z;
    bool operator==(const CellKey& o) const { return x == o.x && y == o.y && z == o.z; }
};

struct CellHash {
    size_t operator()(const CellKey& k) const {
        std::uint64_t h = static_cast<std::uint64_t>(k.x) * 0x9E3779B97F4A7C15ull;
        h ^= static_cast<std::uint64_t>(k.y) * 0xC2B2AE3D27D4EB4Full + (h << 6) + (h >> 2);
        h ^= static_cast<std::uint64_t>(k.z) * 0x165667B19E3779F9ull + (h << 6) + (h >> 2);
        return static_cast<size_t>(h);
    }
};

struct WeldPair {
    float dist;
    int a, b;
    bool operator<(const WeldPair& o) const {
        return std::tie(dist, a, b) < std::tie(o.dist, o.a, o.b);
    }
};

// Grid cell of a coordinate; false where the cell number would not fit (huge or
// non-finite coordinates never weld).
bool CellOf(float c, double size, std::int64_t& cell) {
    double q = std::floor(static_cast<double>(c) / size);
    if (!(std::fabs(q) < 1e15))
        return false;
    cell = static_cast<std::int64_t>(q);
    return true;
}

}  // namespace

bool MNMesh::WeldBorderVerts(float thresh, DWORD flag) {
    if (!(thresh > 0.0f))
        return false;
    // Cells twice as large as the threshold: along each axis a partner closer than
    // the threshold lies in the own cell or in the one neighbour on the nearer side.
    const double size = 2.0 * thresh;
    bool weldedAny = false;
    for (;;) {
        std::unordered_map<CellKey, std::vector<int>, CellHash> grid;
        std::vector<std::pair<int, CellKey>> candidates;
        for (int vi = 0; vi < numv; ++vi) {
            const MNVert& vert = vstore[vi];
            if ((vert.flags & MN_DEAD) || !(vert.flags & flag))
                continue;
            bool onBorder = false;
            for (int ed : vedg[vi])
                if (estore[ed].f2 < 0)
                    onBorder = true;
            CellKey key;
            if (!onBorder || !CellOf(vert.p.x, size, key.x) || !CellOf(vert.p.y, size, key.y) ||
                !CellOf(vert.p.z, size, key.z))
                continue;
            grid[key].push_back(vi);
            candidates.emplace_back(vi, key);
        }
        std::vector<WeldPair> pairs;
        for (const auto& [a, key] : candidates) {
            const Point3& p = vstore[a].p;
            std::int64_t step[3];
            const std::int64_t cell[3] = {key.x, key.y, key.z};
            for (int k = 0; k < 3; ++k)
                step[k] = (static_cast<double>(p[k]) - static_cast<double>(cell[k]) * size < thresh)
                              ? -1
                              : 1;
            for (int corner = 0; corner < 8; ++corner) {
                CellKey near{key.x + ((corner & 1) ? step[0] : 0),
                             key.y + ((corner & 2) ? step[1] : 0),
                             key.z + ((corner & 4) ? step[2] : 0)};
                auto it = grid.find(near);
                if (it == grid.end())
                    continue;
                for (int b : it->second) {
                    if (b <= a)
                        continue;
                    float dist = Length(vstore[a].p - vstore[b].p);
                    if (dist < thresh)
                        pairs.push_back({dist, a, b});
                }
            }
        }
        std::sort(pairs.begin(), pairs.end());

        std::vector<char> used(numv, 0);
        bool weldedNow = false;
        for (const WeldPair& pr : pairs) {
            if (used[pr.a] || used[pr.b] || !CanWeld(pr.a, pr.b))
                continue;
            Weld(pr.a, pr.b);
            used[pr.a] = used[pr.b] = 1;
            weldedNow = true;
        }
        if (!weldedNow)
            break;
        weldedAny = true;
    }
    if (weldedAny)
        bboxValid = false;
    return weldedAny;
}

bool MNMesh::WeldBorderVerts(int v1, int v2, const Point3* destination) {
    auto liveBorder = [this](int vi) {
        if (vi < 0 || vi >= numv || (vstore[vi].flags & MN_DEAD))
            return false;
        for (int ed : vedg[vi])
            if (estore[ed].f2 < 0)
                return true;
        return false;
    };
    if (v1 == v2 || !liveBorder(v1) || !liveBorder(v2) || !CanWeld(v1, v2))
        return false;
    // The destination may be one of the two positions, which the weld overwrites.
    const Point3 at = destination ? *destination : (vstore[v1].p + vstore[v2].p) * 0.5f;
    Weld(v1, v2);
    vstore[v1].p = at;
    bboxValid = false;
    return true;
}

bool MNMesh::CanWeld(int a, int b) const {
    if (FindEdge(a, b) >= 0)
        return false;
    for (int ea : vedg[a])
        for (int fa : {estore[ea].f1, estore[ea].f2})
            for (int eb : vedg[b])
                if (fa >= 0 && (estore[eb].f1 == fa || estore[eb].f2 == fa))
                    return false;
    // Where both reach the same neighbour, the two edges must be one-sided and run
    // opposite ways, so that they join into one two-sided edge.
    for (int eb : vedg[b]) {
        const MNEdge& edgeB = estore[eb];
        int x = edgeB.OtherVert(b);
        int ea = FindEdge(a, x);
        if (ea < 0)
            continue;
        const MNEdge& edgeA = estore[ea];
        if (edgeA.f2 >= 0 || edgeB.f2 >= 0)
            return false;
        bool bLeavesX = edgeB.v1 == x, aLeavesX = edgeA.v1 == x;
        if (bLeavesX == aLeavesX)
            return false;
    }
    return true;
}

void MNMesh::Weld(int a, int b) {
    MNVert& va = vstore[a];
    va.p = (va.p + vstore[b].p) * 0.5f;
    va.flags |= vstore[b].flags & ~static_cast<DWORD>(MN_DEAD);

    std::vector<int> faces;
    for (int ed : vedg[b])
        for (int fc : {estore[ed].f1, estore[ed].f2})
            if (fc >= 0 && std::find(faces.begin(), faces.end(), fc) == faces.end())
                faces.push_back(fc);
    for (int fc : faces)
        for (int& corner : fstore[fc].vtx)
            if (corner == b)
                corner = a;

    const std::vector<int> edgesOfB(vedg[b].begin(), vedg[b].end());
    for (int eb : edgesOfB) {
        MNEdge& edgeB = estore[eb];
        int x = edgeB.OtherVert(b);
        int ea = FindEdge(a, x);
        if (ea >= 0) {
            // Two one-sided edges meet: b's face takes a's edge as its other side.
            MNEdge& edgeA = estore[ea];
            edgeA.f2 = edgeB.f1;
            edgeA.flags |= edgeB.flags & ~static_cast<DWORD>(MN_DEAD);
            MNFace& face = fstore[edgeB.f1];
            face.edg[face.EdgeIndex(eb)] = ea;
            KillEdge(eb);
        } else {
            if (edgeB.v1 == b)
                edgeB.v1 = a;
            else
                edgeB.v2 = a;
            vedg[a].push_back(eb);
        }
    }
    vedg[b].clear();
    vstore[b].flags |= MN_DEAD;
}
