#include "facecut/rebuild/anchor_dangling_lines.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <queue>
#include <unordered_map>
#include <utility>
#include <vector>

#include "facecut/cut_flags.h"

namespace {

constexpr DWORD kEdgeInterior = cutflags::kInteriorEdge;
constexpr DWORD kEdgeKept = cutflags::kCutLineEdge | cutflags::kOutlineEdge;

// The new edges as a graph on local vertex numbers.
struct LocalGraph {
    std::vector<int> vertexOf;                          // local number -> mesh vertex
    std::vector<std::vector<std::pair<int, int>>> adj;  // (neighbour, mesh edge)
};

bool Removable(const MNEdge& edge) {
    return (edge.flags & kEdgeInterior) && !(edge.flags & kEdgeKept);
}

LocalGraph BuildGraph(const MNMesh& mesh, int firstEdge) {
    LocalGraph g;
    std::unordered_map<int, int> local;
    auto number = [&](int vv) {
        auto found = local.emplace(vv, static_cast<int>(g.vertexOf.size()));
        if (found.second) {
            g.vertexOf.push_back(vv);
            g.adj.emplace_back();
        }
        return found.first->second;
    };
    for (int ed = firstEdge; ed < mesh.nume; ++ed) {
        const MNEdge& edge = mesh.e[ed];
        if (edge.GetFlag(MN_DEAD))
            continue;
        int a = number(edge.v1), b = number(edge.v2);
        g.adj[a].emplace_back(b, ed);
        g.adj[b].emplace_back(a, ed);
    }
    return g;
}

// Marks the vertices that lie on a cycle of kept edges: ends of kept edges that are
// not bridges of the kept graph (Tarjan's low links, iteratively).
std::vector<char> OnKeptCycle(const MNMesh& mesh, const LocalGraph& g) {
    int n = static_cast<int>(g.vertexOf.size());
    std::vector<int> order(n, -1), low(n, 0);
    std::vector<char> onCycle(n, 0);
    int counter = 0;
    struct Frame {
        int vertex;
        int viaEdge;
        size_t next;
    };
    for (int root = 0; root < n; ++root) {
        if (order[root] >= 0)
            continue;
        std::vector<Frame> stack{{root, -1, 0}};
        order[root] = low[root] = counter++;
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (top.next < g.adj[top.vertex].size()) {
                auto [w, ed] = g.adj[top.vertex][top.next++];
                if (ed == top.viaEdge || Removable(mesh.e[ed]))
                    continue;
                if (order[w] < 0) {
                    order[w] = low[w] = counter++;
                    stack.push_back({w, ed, 0});
                } else {
                    low[top.vertex] = std::min(low[top.vertex], order[w]);
                }
                continue;
            }
            Frame done = top;
            stack.pop_back();
            if (stack.empty())
                break;
            int parent = stack.back().vertex;
            low[parent] = std::min(low[parent], low[done.vertex]);
            // The edge into done is on a cycle unless nothing below done reaches above it.
            if (low[done.vertex] <= order[parent])
                onCycle[parent] = onCycle[done.vertex] = 1;
        }
    }
    return onCycle;
}

// The removable edges of the shortest chain from start to a marked vertex, or none.
std::vector<int> ShortestChain(const MNMesh& mesh, const LocalGraph& g, int start,
                               const std::vector<char>& target) {
    int n = static_cast<int>(g.vertexOf.size());
    std::vector<double> dist(n, std::numeric_limits<double>::infinity());
    std::vector<int> viaEdge(n, -1), from(n, -1);
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    dist[start] = 0.0;
    queue.push({0.0, start});
    while (!queue.empty()) {
        auto [d, v] = queue.top();
        queue.pop();
        if (d > dist[v])
            continue;
        if (target[v] && v != start) {
            std::vector<int> chain;
            for (int at = v; at != start; at = from[at]) chain.push_back(viaEdge[at]);
            return chain;
        }
        for (auto [w, ed] : g.adj[v]) {
            if (!Removable(mesh.e[ed]))
                continue;
            double length = Length(mesh.P(g.vertexOf[w]) - mesh.P(g.vertexOf[v]));
            double next = d + (length == length ? length : 0.0);
            if (next < dist[w]) {
                dist[w] = next;
                viaEdge[w] = ed;
                from[w] = v;
                queue.push({next, w});
            }
        }
    }
    return {};
}

int KeptDegree(const MNMesh& mesh, const LocalGraph& g, int v) {
    int degree = 0;
    for (auto [w, ed] : g.adj[v]) degree += !Removable(mesh.e[ed]);
    return degree;
}

// Whether some vertex ends exactly one kept edge and has a selected edge: the only
// kind of vertex that can start an anchor. Most faces have none, and this is far
// cheaper than the graph.
bool MayHaveFreeEnd(const MNMesh& mesh, int firstEdge) {
    std::vector<int> keptEnds;
    for (int ed = firstEdge; ed < mesh.nume; ++ed) {
        const MNEdge& edge = mesh.e[ed];
        if (edge.GetFlag(MN_DEAD) || Removable(edge))
            continue;
        keptEnds.push_back(edge.v1);
        keptEnds.push_back(edge.v2);
    }
    std::sort(keptEnds.begin(), keptEnds.end());
    std::vector<int> once;
    for (size_t k = 0; k < keptEnds.size();) {
        size_t end = k;
        while (end < keptEnds.size() && keptEnds[end] == keptEnds[k]) ++end;
        if (end - k == 1)
            once.push_back(keptEnds[k]);
        k = end;
    }
    if (once.empty())
        return false;
    for (int ed = firstEdge; ed < mesh.nume; ++ed) {
        const MNEdge& edge = mesh.e[ed];
        if (edge.GetFlag(MN_DEAD) || !edge.GetFlag(MN_SEL))
            continue;
        if (std::binary_search(once.begin(), once.end(), edge.v1) ||
            std::binary_search(once.begin(), once.end(), edge.v2))
            return true;
    }
    return false;
}

}  // namespace

int KeepLineAnchors(MNMesh& mesh, int firstEdge) {
    if (!MayHaveFreeEnd(mesh, firstEdge))
        return 0;
    LocalGraph g = BuildGraph(mesh, firstEdge);
    int n = static_cast<int>(g.vertexOf.size());
    std::vector<int> freeEnds;
    for (int v = 0; v < n; ++v) {
        if (KeptDegree(mesh, g, v) != 1)
            continue;
        for (auto [w, ed] : g.adj[v])
            if (mesh.e[ed].GetFlag(MN_SEL))
                freeEnds.push_back(v);
    }
    std::sort(freeEnds.begin(), freeEnds.end(),
              [&g](int a, int b) { return g.vertexOf[a] < g.vertexOf[b]; });
    int kept = 0;
    std::vector<char> onCycle;
    for (int v : freeEnds) {
        // An earlier anchor may have closed a cycle through this end already.
        if (KeptDegree(mesh, g, v) != 1)
            continue;
        // The cycles change only where an anchor was kept.
        if (onCycle.empty())
            onCycle = OnKeptCycle(mesh, g);
        std::vector<int> chain = ShortestChain(mesh, g, v, onCycle);
        for (int ed : chain) mesh.e[ed].ClearFlag(kEdgeInterior);
        if (!chain.empty())
            onCycle.clear();
        kept += static_cast<int>(chain.size());
    }
    return kept;
}
