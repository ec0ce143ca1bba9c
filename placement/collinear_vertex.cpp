#include "placement/collinear_vertex.h"

namespace {

// The end of edge that is not i: its first end, or its second when the first is i.
int FarEnd(const MNEdge& edge, int i) {
    return edge.v1 == i ? edge.v2 : edge.v1;
}

}  // namespace

void MarkCollinearVertexWithEdges(MNMesh& mesh, int i, const std::vector<int>& liveEdges,
                                  float threshold, DWORD mark) {
    if (i < 0 || i >= mesh.numv)
        return;
    if (liveEdges.size() > 2)
        return;
    if (liveEdges.size() < 2) {
        mesh.v[i].flags |= mark;
        return;
    }
    const int a = FarEnd(mesh.e[liveEdges[0]], i);
    const int b = FarEnd(mesh.e[liveEdges[1]], i);
    // An edge to a vertex outside the table is broken data: leave the vertex alone.
    if (a < 0 || a >= mesh.numv || b < 0 || b >= mesh.numv)
        return;
    const Point3 u1 = Normalize(mesh.v[a].p - mesh.v[i].p);
    const Point3 u2 = Normalize(mesh.v[b].p - mesh.v[i].p);
    const float s = Length(u1 ^ u2);
    if (!(s >= threshold))
        mesh.v[i].flags |= mark;
}

void MarkCollinearVertex(MNMesh& mesh, int i, float threshold, DWORD mark) {
    std::vector<int> liveEdges;
    // A third edge already decides the test.
    for (int edge = 0; edge < mesh.nume && liveEdges.size() < 3; ++edge) {
        const MNEdge& e = mesh.e[edge];
        if ((e.flags & MN_DEAD) == 0 && (e.v1 == i || e.v2 == i))
            liveEdges.push_back(edge);
    }
    MarkCollinearVertexWithEdges(mesh, i, liveEdges, threshold, mark);
}
