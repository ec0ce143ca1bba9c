#include "io/live_numbering.h"

#include <cmath>

bool NumberLiveComponents(const MNMesh& mesh, LiveNumbering& numbering, std::string& problem) {
    numbering = LiveNumbering();
    numbering.newVert.assign(static_cast<std::size_t>(mesh.numv), -1);
    for (int i = 0; i < mesh.numv; ++i) {
        const MNVert& vert = mesh.v[i];
        if (vert.GetFlag(MN_DEAD))
            continue;
        if (!std::isfinite(vert.p.x) || !std::isfinite(vert.p.y) || !std::isfinite(vert.p.z)) {
            problem =
                "vertex " + std::to_string(i) + " has a coordinate that is not a finite number";
            return false;
        }
        numbering.newVert[i] = static_cast<int>(numbering.verts.size());
        numbering.verts.push_back(i);
    }
    auto live = [&](int vi) { return vi >= 0 && vi < mesh.numv && numbering.newVert[vi] >= 0; };
    for (int i = 0; i < mesh.numf; ++i) {
        const MNFace& face = mesh.f[i];
        if (face.GetFlag(MN_DEAD))
            continue;
        bool ok = face.deg >= 3 && static_cast<int>(face.vtx.size()) == face.deg;
        for (int j = 0; ok && j < face.deg; ++j) ok = live(face.vtx[j]);
        if (!ok) {
            problem = "face " + std::to_string(i) + " has fewer than 3 corners or a dead corner";
            return false;
        }
        numbering.faces.push_back(i);
    }
    for (int i = 0; i < mesh.nume; ++i) {
        const MNEdge& edge = mesh.e[i];
        if (edge.GetFlag(MN_DEAD))
            continue;
        if (!live(edge.v1) || !live(edge.v2)) {
            problem = "edge " + std::to_string(i) + " has a dead or missing end";
            return false;
        }
        numbering.edges.push_back(i);
    }
    return true;
}
