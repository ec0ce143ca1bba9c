// The arrays the viewport uploads for one result: the mesh's vertices in world
// space and index lists of its triangles and edges, split by what the cut marked.
// Built once per result on the CPU, so that orbiting only draws.
#pragma once

#include <cstdint>
#include <vector>

#include "matrix3.h"
#include "mnmesh.h"

// Triangles and edges over one array of vertices.
struct MeshLevel {
    std::vector<float> positions;                  // x, y, z per vertex, in world space
    std::vector<std::uint32_t> plainTriangles;     // three vertices each
    std::vector<std::uint32_t> selectedTriangles;  // of the selected faces
    std::vector<std::uint32_t> edges;              // two vertices each
};

struct MeshBuffers {
    MeshLevel full;                       // every live face and edge
    std::vector<std::uint32_t> cutEdges;  // the selected edges of full, drawn bold
    // A large mesh also comes with its vertices clustered on a grid of cells
    // coarseCell wide (zero when there is no coarse level), for views in which a
    // cell covers no more than a pixel or two: far fewer triangles, the same picture.
    MeshLevel coarse;
    float coarseCell = 0.0f;
    Point3 lo, hi;                // the box of the drawn vertices
    bool empty = true;            // no vertex to draw
    float meanEdgeLength = 0.0f;  // of the drawn edges, in world units
};

// Above this many triangles a mesh gets a coarse level.
constexpr std::size_t kCoarseLevelFromTriangles = 300000;

// Convex faces are fanned from their first corner; the others (the cut's joined
// polygons often are not) are triangulated as the host's triangle conversion does.
// Faces and edges with a corner that is not a finite point are left out.
MeshBuffers BuildMeshBuffers(const MNMesh& mesh, const Matrix3& tm);
// Clusters full's vertices on a grid of cells `cell` wide (each cluster at the
// mean of its vertices) and keeps the triangles and edges whose corners fall in
// distinct cells, once each.
MeshLevel ClusterLevel(const MeshLevel& full, const Point3& lo, float cell);
