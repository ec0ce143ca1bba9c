#include "placement/nearest_surface_hit.h"

#include "placement/intersect_ray_triangle.h"

namespace {

struct NearestSearch {
    float best = kMaxSnapDistance;
    SurfaceHit result;
};

// One step of the search: the written form "not (best <= dist)" keeps the earlier
// face on a tie.
void TestFace(const SnapRay& ray, const Mesh& mesh, int face, NearestSearch& search) {
    Point3 t0;
    Point3 t1;
    Point3 t2;
    if (!FaceCorners(mesh, face, t0, t1, t2))
        return;
    Point3 hit;
    if (IntersectRayTriangle(ray, t0, t1, t2, hit) != 1)
        return;
    const float dist = Length(hit - ray.origin);
    if (!(search.best <= dist)) {
        search.best = dist;
        search.result.point = hit;
        search.result.found = true;
    }
}

}  // namespace

bool FaceCorners(const Mesh& mesh, int face, Point3& t0, Point3& t1, Point3& t2) {
    const Face& f = mesh.faces[face];
    const DWORD vertexCount = mesh.numVerts > 0 ? static_cast<DWORD>(mesh.numVerts) : 0;
    if (f.v[0] >= vertexCount || f.v[1] >= vertexCount || f.v[2] >= vertexCount)
        return false;
    t0 = mesh.verts[f.v[0]];
    t1 = mesh.verts[f.v[1]];
    t2 = mesh.verts[f.v[2]];
    return true;
}

SurfaceHit NearestSurfaceHit(const SnapRay& ray, const Mesh& mesh) {
    NearestSearch search;
    for (int face = 0; face < mesh.numFaces; ++face) TestFace(ray, mesh, face, search);
    return search.result;
}

SurfaceHit NearestSurfaceHitAmong(const SnapRay& ray, const Mesh& mesh,
                                  const std::vector<int>& faces) {
    NearestSearch search;
    for (int face : faces) TestFace(ray, mesh, face, search);
    return search.result;
}
