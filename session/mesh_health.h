// How whole a poly mesh is: its border edges, non-manifold edges and pieces.
#pragma once

#include "mnmesh.h"

struct MeshHealth {
    int borderEdges = 0;  // sides of exactly one live face
    // Places that are a side of more than two live faces. The poly mesh keeps at most
    // two faces on an edge, so these are found by position: where the faces' own
    // vertices lie on top of each other.
    int nonManifoldEdges = 0;
    int components = 0;  // pieces of live faces joined through shared vertices
};

MeshHealth MeasureMeshHealth(const MNMesh& mesh);
