#include "app/studio/mesh_buffers.h"

#include <algorithm>
#include <cmath>

namespace {

bool Finite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

MeshBuffers BuildMeshBuffers(const MNMesh& mesh, const Matrix3& tm) {
    MeshBuffers b;
    const int numv = mesh.numv;
    std::vector<bool> drawable(static_cast<size_t>(std::max(numv, 0)), false);
    b.positions.resize(static_cast<size_t>(std::max(numv, 0)) * 3u, 0.0f);
    b.lo = Point3(INFINITY, INFINITY, INFINITY);
    b.hi = Point3(-INFINITY, -INFINITY, -INFINITY);
    for (int i = 0; i < numv; ++i) {
        Point3 p = mesh.v[i].p * tm;
        if (mesh.v[i].GetFlag(MN_DEAD) || !Finite(p))
            continue;
        drawable[i] = true;
        b.positions[3u * i] = p.x;
        b.positions[3u * i + 1] = p.y;
        b.positions[3u * i + 2] = p.z;
        b.lo = Point3(std::min(b.lo.x, p.x), std::min(b.lo.y, p.y), std::min(b.lo.z, p.z));
        b.hi = Point3(std::max(b.hi.x, p.x), std::max(b.hi.y, p.y), std::max(b.hi.z, p.z));
        b.empty = false;
    }
    auto usable = [&](int v) { return v >= 0 && v < numv && drawable[v]; };

    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        if (face.GetFlag(MN_DEAD) || face.deg < 3 || static_cast<int>(face.vtx.size()) < face.deg)
            continue;
        bool whole = true;
        for (int j = 0; j < face.deg && whole; ++j) whole = usable(face.vtx[j]);
        if (!whole)
            continue;
        std::vector<std::uint32_t>& into = face.GetFlag(MN_SEL) ? b.selectedTriangles : b.plainTriangles;
        for (int j = 1; j + 1 < face.deg; ++j) {
            into.push_back(static_cast<std::uint32_t>(face.vtx[0]));
            into.push_back(static_cast<std::uint32_t>(face.vtx[j]));
            into.push_back(static_cast<std::uint32_t>(face.vtx[j + 1]));
        }
    }

    double lengthSum = 0.0;
    for (int e = 0; e < mesh.nume; ++e) {
        const MNEdge& edge = mesh.e[e];
        if (edge.GetFlag(MN_DEAD) || !usable(edge.v1) || !usable(edge.v2))
            continue;
        std::uint32_t a = static_cast<std::uint32_t>(edge.v1), c = static_cast<std::uint32_t>(edge.v2);
        b.edges.push_back(a);
        b.edges.push_back(c);
        if (edge.GetFlag(MN_SEL)) {
            b.cutEdges.push_back(a);
            b.cutEdges.push_back(c);
        }
        Point3 d(b.positions[3u * a] - b.positions[3u * c], b.positions[3u * a + 1] - b.positions[3u * c + 1],
                 b.positions[3u * a + 2] - b.positions[3u * c + 2]);
        lengthSum += d.Length();
    }
    if (!b.edges.empty())
        b.meanEdgeLength = static_cast<float>(lengthSum / static_cast<double>(b.edges.size() / 2u));
    return b;
}
