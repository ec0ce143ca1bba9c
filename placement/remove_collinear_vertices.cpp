#include "placement/remove_collinear_vertices.h"

#include <algorithm>
#include <vector>

#include "placement/collinear_vertex.h"

namespace {

// Edges by vertex, built once, so that a test need not scan the whole edge table.
// Lists may hold edges that no longer end at the vertex or are dead; the reader
// filters them against the mesh as it stands.
class VertexEdgeLookup {
public:
    explicit VertexEdgeLookup(const MNMesh& mesh) : edgesAt(static_cast<size_t>(mesh.numv)) {
        for (int edge = 0; edge < mesh.nume; ++edge) Add(mesh, edge);
        edgeCount = mesh.nume;
    }

    // The live edges at vertex i, ascending: what a scan of the edge table finds.
    void LiveEdges(const MNMesh& mesh, int i, std::vector<int>& out) const {
        out.clear();
        if (i < 0 || static_cast<size_t>(i) >= edgesAt.size())
            return;
        for (int edge : edgesAt[static_cast<size_t>(i)]) {
            if (edge >= mesh.nume)
                continue;
            const MNEdge& e = mesh.e[edge];
            if ((e.flags & MN_DEAD) == 0 && (e.v1 == i || e.v2 == i))
                out.push_back(edge);
        }
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }

    // After vertex i was removed: the host's removal re-ends only edges that ended at
    // i and appends any edge it creates.
    void Refresh(const MNMesh& mesh, int i) {
        if (i < 0 || static_cast<size_t>(i) >= edgesAt.size())
            return;
        const std::vector<int> moved = edgesAt[static_cast<size_t>(i)];
        for (int edge : moved)
            if (edge < mesh.nume)
                Add(mesh, edge);
        for (int edge = edgeCount; edge < mesh.nume; ++edge) Add(mesh, edge);
        edgeCount = std::max(edgeCount, mesh.nume);
    }

private:
    void Add(const MNMesh& mesh, int edge) {
        const MNEdge& e = mesh.e[edge];
        for (int end : {e.v1, e.v2}) {
            // An end outside the vertex table is broken data that no test reaches.
            if (end < 0 || static_cast<size_t>(end) >= edgesAt.size())
                continue;
            std::vector<int>& list = edgesAt[static_cast<size_t>(end)];
            if (list.empty() || list.back() != edge)
                list.push_back(edge);
        }
    }

    std::vector<std::vector<int>> edgesAt;
    int edgeCount = 0;
};

}  // namespace

void RemoveCollinearVertices(MNMesh& mesh, float threshold) {
    VertexEdgeLookup lookup(mesh);
    std::vector<int> liveEdges;
    for (int j = 0; j < mesh.numv; ++j) {
        const DWORD flags = mesh.v[j].flags;
        if ((flags & MN_DEAD) != 0 || (flags & MN_SEL) == 0)
            continue;
        lookup.LiveEdges(mesh, j, liveEdges);
        MarkCollinearVertexWithEdges(mesh, j, liveEdges, threshold, kCollinearMark);
        if ((mesh.v[j].flags & kCollinearMark) != 0) {
            mesh.RemoveVertex(j);
            lookup.Refresh(mesh, j);
        }
    }
}
