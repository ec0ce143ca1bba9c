// OutToTri: the triangle-mesh form of a poly mesh.
#include <cmath>
#include <vector>

#include "evaluation_cancel.h"
#include "mesh.h"
#include "mnmesh.h"

namespace {

struct P2 {
    double x, y;
};

double Cross(const P2& a, const P2& b, const P2& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Whether p lies in the counter-clockwise triangle abc, border included.
bool InTriangle(const P2& p, const P2& a, const P2& b, const P2& c) {
    return Cross(a, b, p) >= 0.0 && Cross(b, c, p) >= 0.0 && Cross(c, a, p) >= 0.0;
}

// Splits a polygon (corner positions in order) into triangles of corner numbers
// by ear clipping in the plane across its normal, keeping its orientation.
// Degenerate or non-finite polygons fall back to a fan.
void EarClip(const std::vector<Point3>& pts, const Point3& normal, std::vector<int>& tris) {
    int n = static_cast<int>(pts.size());
    std::vector<int> left(n);
    for (int i = 0; i < n; ++i) left[i] = i;

    int axis = 2;
    float ax = std::fabs(normal.x), ay = std::fabs(normal.y), az = std::fabs(normal.z);
    if (ax >= ay && ax >= az)
        axis = 0;
    else if (ay >= az)
        axis = 1;
    bool usable = std::isfinite(normal.x) && std::isfinite(normal.y) && std::isfinite(normal.z) &&
                  normal[axis] != 0.0f;
    std::vector<P2> q(n);
    if (usable) {
        // Drop the dominant axis; swap the other two where needed so that the polygon
        // turns counter-clockwise in the plane.
        int u = (axis + 1) % 3, w = (axis + 2) % 3;
        if (normal[axis] < 0.0f)
            std::swap(u, w);
        for (int i = 0; i < n; ++i) q[i] = P2{pts[i][u], pts[i][w]};
    }

    while (static_cast<int>(left.size()) > 3) {
        int m = static_cast<int>(left.size());
        int ear = 0;
        if (usable) {
            ear = -1;
            for (int k = 0; k < m && ear < 0; ++k) {
                const P2& a = q[left[(k + m - 1) % m]];
                const P2& b = q[left[k]];
                const P2& c = q[left[(k + 1) % m]];
                if (!(Cross(a, b, c) > 0.0))
                    continue;
                bool empty = true;
                for (int j = 0; j < m && empty; ++j) {
                    if (j == k || j == (k + 1) % m || j == (k + m - 1) % m)
                        continue;
                    if (InTriangle(q[left[j]], a, b, c))
                        empty = false;
                }
                if (empty)
                    ear = k;
            }
            if (ear < 0)
                ear = 0;
        }
        tris.push_back(left[(ear + m - 1) % m]);
        tris.push_back(left[ear]);
        tris.push_back(left[(ear + 1) % m]);
        left.erase(left.begin() + ear);
    }
    tris.insert(tris.end(), left.begin(), left.end());
}

}  // namespace

void MNMesh::OutToTri(Mesh& out) const {
    std::vector<int> map(numv, -1);
    int count = 0;
    for (int i = 0; i < numv; ++i)
        if (!(vstore[i].flags & MN_DEAD))
            map[i] = count++;
    out.setNumVerts(count);
    for (int i = 0; i < numv; ++i)
        if (map[i] >= 0)
            out.verts[map[i]] = vstore[i].p;

    std::vector<Face> faces;
    std::vector<Point3> pts;
    std::vector<int> tris;
    for (int fi = 0; fi < numf; ++fi) {
        // A large mesh takes a while: a cancelled evaluation stops here too.
        if (fi % 4096 == 0)
            ThrowIfEvaluationCancelled();
        const MNFace& face = fstore[fi];
        if (face.flags & MN_DEAD)
            continue;
        pts.clear();
        tris.clear();
        for (int vv : face.vtx) pts.push_back(vstore[vv].p);
        EarClip(pts, GetFaceNormal(fi), tris);
        for (size_t t = 0; t + 2 < tris.size(); t += 3) {
            Face tri;
            tri.setVerts(map[face.vtx[tris[t]]], map[face.vtx[tris[t + 1]]],
                         map[face.vtx[tris[t + 2]]]);
            tri.smGroup = face.smGroup;
            faces.push_back(tri);
        }
    }
    out.setNumFaces(static_cast<int>(faces.size()));
    for (size_t i = 0; i < faces.size(); ++i) out.faces[i] = faces[i];
}
