// The arrays the viewport uploads for one result: the mesh's vertices in world
// space and index lists of its triangles and edges, split by what the cut marked.
// Built once per result on the CPU, so that orbiting only draws.
#pragma once

#include <cstdint>
#include <vector>

#include "matrix3.h"
#include "mnmesh.h"

struct MeshBuffers {
    std::vector<float> positions;                  // x, y, z per vertex, in world space
    std::vector<std::uint32_t> plainTriangles;     // three vertices each
    std::vector<std::uint32_t> selectedTriangles;  // of the selected faces
    std::vector<std::uint32_t> edges;              // two vertices each, every live edge
    std::vector<std::uint32_t> cutEdges;           // the selected edges, drawn bold
    Point3 lo, hi;                                 // the box of the drawn vertices
    bool empty = true;                             // no vertex to draw
    float meanEdgeLength = 0.0f;                   // of the drawn edges, in world units
};

// Faces are fanned from their first corner (the cut leaves triangles; n-gons
// going in are taken as convex). Faces and edges with a corner that is not a
// finite point are left out.
MeshBuffers BuildMeshBuffers(const MNMesh& mesh, const Matrix3& tm);
