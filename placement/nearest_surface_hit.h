// The nearest point where a line meets the triangles of a mesh.
#pragma once

#include <vector>

#include "mesh.h"
#include "placement/snap_ray.h"
#include "point3.h"

// Hits this far from the origin, or farther, are ignored.
constexpr float kMaxSnapDistance = 10000000.0f;

struct SurfaceHit {
    bool found = false;
    Point3 point;
};

// Takes the line and the mesh. Tests every face in ascending index and gives the
// nearest hit; of hits at the same distance the lower face index wins. Faces with a
// vertex index outside the vertex table are skipped.
SurfaceHit NearestSurfaceHit(const SnapRay& ray, const Mesh& mesh);

// The same search restricted to faces (ascending, each a valid face index). Gives
// the same hit as the full search whenever faces holds every face the line can hit.
SurfaceHit NearestSurfaceHitAmong(const SnapRay& ray, const Mesh& mesh,
                                  const std::vector<int>& faces);

// Reads the corners of face; false when one of its vertex indices is out of range.
bool FaceCorners(const Mesh& mesh, int face, Point3& t0, Point3& t1, Point3& t2);
