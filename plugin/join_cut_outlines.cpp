#include "plugin/join_cut_outlines.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "contract/cut_mesh_flags.h"

namespace {

bool IsLive(const MNMesh& mesh, int vv) {
    return vv >= 0 && vv < mesh.numv && !(mesh.v[vv].flags & MN_DEAD);
}

// A corner that some face still uses: the cut's copies of it join it.
bool IsUsed(const MNMesh& mesh, int vv) {
    return IsLive(mesh, vv) && !mesh.VertEdges(vv).empty();
}

// A record with its edge's corners in ascending order.
CutOutlineVertex Normalised(CutOutlineVertex r) {
    if (r.from > r.to) {
        std::swap(r.from, r.to);
        r.t = 1.0 - r.t;
    }
    return r;
}

// How many points further along the edge a point looks for partners: a shape
// that runs along the edge puts many points on it, but few within one weld.
constexpr int kPartnersAhead = 16;

struct ChainPoint {
    double t;
    int vertex;
};

Point3 AlongEdge(const Point3& a, const Point3& b, double t) {
    return a + (b - a) * static_cast<float>(t);
}

// Puts vertex vv at t along a -> b, unless that place cannot be represented (the
// edge is longer than the largest float).
void MoveOntoEdge(MNMesh& mesh, int vv, const Point3& a, const Point3& b, double t) {
    const Point3 p = AlongEdge(a, b, t);
    if (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z))
        mesh.P(vv) = p;
}

// Splits the border edges along one mesh edge at the vertices of the chain (in
// order along the edge) that lie strictly between their ends.
int CloseChainJunctions(MNMesh& mesh, const std::vector<ChainPoint>& chain) {
    std::unordered_map<int, int> indexOf;
    for (size_t i = 0; i < chain.size(); ++i) indexOf.emplace(chain[i].vertex, static_cast<int>(i));
    std::vector<int> spanning;
    for (const ChainPoint& point : chain)
        for (int ed : mesh.VertEdges(point.vertex)) {
            const MNEdge& edge = mesh.e[ed];
            if (edge.f2 >= 0)
                continue;
            auto i = indexOf.find(edge.v1), j = indexOf.find(edge.v2);
            if (i == indexOf.end() || j == indexOf.end() || std::abs(i->second - j->second) < 2)
                continue;
            if (std::find(spanning.begin(), spanning.end(), ed) == spanning.end())
                spanning.push_back(ed);
        }
    int changes = 0;
    for (int ed : spanning) {
        const int first = indexOf[mesh.e[ed].v1], last = indexOf[mesh.e[ed].v2];
        const int end = mesh.e[ed].v2, step = last > first ? 1 : -1;
        int current = ed;
        double from = chain[first].t;
        for (int k = first + step; k != last && current >= 0; k += step) {
            const ChainPoint& x = chain[k];
            const double span = chain[last].t - from;
            const int nv = mesh.SplitEdge(current, static_cast<float>((x.t - from) / span));
            if (nv < 0)
                break;
            ++changes;
            const Point3 at = mesh.P(x.vertex);
            int kept = x.vertex;
            if (!mesh.WeldBorderVerts(x.vertex, nv, &at)) {
                kept = nv;
                mesh.v[nv].SetFlag(cutflags::kCutCornerVertex);
            }
            current = mesh.FindEdge(kept, end);
            from = x.t;
        }
    }
    return changes;
}

// Welds the points of one mesh edge (in order along it, the edge's ends first and
// last where they are given) that lie closer than reach along it, nearest pairs
// first; an end keeps its place, other points meet at their mean place. Every point
// moves onto the edge. Leaves in chain the points that are left, in order.
int WeldAlongEdge(MNMesh& mesh, const Point3& a, const Point3& b, bool hasStart, bool hasEnd,
                  float reach, std::vector<ChainPoint>& chain) {
    const double length = Length(b - a);
    const int n = static_cast<int>(chain.size());
    std::vector<std::tuple<double, int, int>> pairs;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1;
             j < n && j - i <= kPartnersAhead && (chain[j].t - chain[i].t) * length < reach; ++j)
            pairs.emplace_back(chain[j].t - chain[i].t, i, j);
    std::sort(pairs.begin(), pairs.end());
    // Each point's group: the point it was welded into, and the group's size.
    std::vector<int> into(static_cast<size_t>(n)), members(static_cast<size_t>(n), 1);
    for (int i = 0; i < n; ++i) into[i] = i;
    auto groupOf = [&](int i) {
        while (into[i] != i) i = into[i];
        return i;
    };
    // Groups in order along the edge: only neighbours weld, so that no point ends on
    // the far side of another and folds the faces along the edge.
    std::vector<int> next(static_cast<size_t>(n)), previous(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        next[i] = i + 1;
        previous[i] = i - 1;
    }
    const int first = hasStart ? 0 : -1, last = hasEnd ? n - 1 : -1;
    int welds = 0;
    for (const auto& [gap, i, j] : pairs) {
        const int lower = groupOf(i), upper = groupOf(j);
        if (lower == upper || next[lower] != upper)
            continue;
        if ((lower == first || lower == last) && (upper == first || upper == last))
            continue;
        const int keep = upper == last ? upper : lower, other = keep == upper ? lower : upper;
        double t = chain[keep].t;
        if (keep != first && keep != last)
            t = (t * members[keep] + chain[other].t * members[other]) /
                (members[keep] + members[other]);
        Point3 at = keep == first ? a : keep == last ? b : AlongEdge(a, b, t);
        if (!(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z)))
            at = mesh.P(chain[keep].vertex);
        if (!mesh.WeldBorderVerts(chain[keep].vertex, chain[other].vertex, &at))
            continue;
        ++welds;
        const int before = previous[other], after = next[other];
        if (before >= 0)
            next[before] = after;
        if (after < n)
            previous[after] = before;
        into[other] = keep;
        members[keep] += members[other];
        chain[keep].t = t;
    }
    std::vector<ChainPoint> left;
    for (int i = 0; i < n; ++i) {
        if (into[i] != i)
            continue;
        if (i != first && i != last)
            MoveOntoEdge(mesh, chain[i].vertex, a, b, chain[i].t);
        left.push_back(chain[i]);
    }
    std::stable_sort(left.begin(), left.end(),
                     [](const ChainPoint& p, const ChainPoint& q) { return p.t < q.t; });
    chain.swap(left);
    return welds;
}

}  // namespace

int JoinCutOutlines(MNMesh& mesh, const CutOutlineVertices& records, float reach) {
    std::vector<char> seen(static_cast<size_t>(mesh.numv), 0);
    std::vector<std::pair<int, int>> copies;  // (corner, copy)
    std::vector<CutOutlineVertex> onEdges;
    for (const CutOutlineVertex& record : records) {
        if (!IsLive(mesh, record.vertex) || seen[record.vertex])
            continue;
        if (record.from < 0 || record.to < 0 || record.from >= mesh.numv || record.to >= mesh.numv)
            continue;
        seen[record.vertex] = 1;
        const CutOutlineVertex r = Normalised(record);
        if (r.t == 0.0)
            copies.emplace_back(r.from, r.vertex);
        else if (r.t == 1.0)
            copies.emplace_back(r.to, r.vertex);
        else
            onEdges.push_back(r);
    }
    int changes = 0;

    // Each corner's copies join the corner where a face still keeps it, or the first copy.
    std::stable_sort(copies.begin(), copies.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::unordered_map<int, int> cornerVertex;
    for (size_t i = 0; i < copies.size();) {
        const int corner = copies[i].first;
        const Point3 at = mesh.P(corner);
        int kept = IsUsed(mesh, corner) ? corner : -1;
        for (; i < copies.size() && copies[i].first == corner; ++i) {
            const int copy = copies[i].second;
            if (kept < 0) {
                kept = copy;
                mesh.P(copy) = at;
            } else if (mesh.WeldBorderVerts(kept, copy, &at)) {
                ++changes;
            }
        }
        cornerVertex.emplace(corner, kept);
    }
    auto vertexOfCorner = [&](int corner) {
        auto found = cornerVertex.find(corner);
        if (found != cornerVertex.end())
            return found->second;
        return IsUsed(mesh, corner) ? corner : -1;
    };

    std::sort(
        onEdges.begin(), onEdges.end(), [](const CutOutlineVertex& a, const CutOutlineVertex& b) {
            return std::tie(a.from, a.to, a.t, a.vertex) < std::tie(b.from, b.to, b.t, b.vertex);
        });
    for (size_t i = 0; i < onEdges.size();) {
        const int from = onEdges[i].from, to = onEdges[i].to;
        size_t endOfEdge = i;
        while (endOfEdge < onEdges.size() && onEdges[endOfEdge].from == from &&
               onEdges[endOfEdge].to == to)
            ++endOfEdge;
        std::vector<ChainPoint> chain;
        const int startVertex = vertexOfCorner(from), endVertex = vertexOfCorner(to);
        if (startVertex >= 0)
            chain.push_back({0.0, startVertex});
        for (size_t j = i; j < endOfEdge; ++j) chain.push_back({onEdges[j].t, onEdges[j].vertex});
        if (endVertex >= 0)
            chain.push_back({1.0, endVertex});
        const Point3 a = mesh.P(from), b = mesh.P(to);
        changes += WeldAlongEdge(mesh, a, b, startVertex >= 0, endVertex >= 0, reach, chain);
        changes += CloseChainJunctions(mesh, chain);
        i = endOfEdge;
    }
    if (changes > 0)
        mesh.InvalidateGeomCache();
    return changes;
}
