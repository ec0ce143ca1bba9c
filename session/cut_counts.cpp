#include "session/cut_counts.h"

#include <algorithm>

#include "contract/cut_mesh_flags.h"

namespace {

template <class T>
int CountLive(const T* items, int n, DWORD flag) {
    int count = 0;
    for (int i = 0; i < n; ++i)
        if (!(items[i].flags & MN_DEAD) && (flag == 0 || (items[i].flags & flag)))
            ++count;
    return count;
}

}  // namespace

MeshCounts CountMesh(const MNMesh& mesh) {
    MeshCounts counts;
    counts.faces = CountLive(mesh.f, mesh.numf, 0);
    counts.edges = CountLive(mesh.e, mesh.nume, 0);
    counts.vertices = CountLive(mesh.v, mesh.numv, 0);
    counts.liveFaces.resize(static_cast<std::size_t>(mesh.numf));
    for (int f = 0; f < mesh.numf; ++f) counts.liveFaces[f] = !mesh.f[f].GetFlag(MN_DEAD);
    return counts;
}

CutCounts CountCut(const MeshCounts& in, const MNMesh& out) {
    CutCounts r;
    r.facesIn = in.faces;
    r.edgesIn = in.edges;
    r.verticesIn = in.vertices;
    r.facesOut = CountLive(out.f, out.numf, 0);
    r.edgesOut = CountLive(out.e, out.nume, 0);
    r.verticesOut = CountLive(out.v, out.numv, 0);
    r.selectedVertices = CountLive(out.v, out.numv, cutflags::kSelectedByCut);
    r.selectedEdges = CountLive(out.e, out.nume, cutflags::kSelectedByCut);
    r.selectedFaces = CountLive(out.f, out.numf, cutflags::kSelectedByCut);
    int shared = std::min(static_cast<int>(in.liveFaces.size()), out.numf);
    for (int f = 0; f < shared; ++f)
        if (in.liveFaces[f] && out.f[f].GetFlag(MN_DEAD) &&
            !out.f[f].GetFlag(cutflags::kCutHandledFace))
            ++r.facesCut;
    return r;
}
