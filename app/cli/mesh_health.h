// How whole a poly mesh is: its border edges, non-manifold edges and pieces.
#pragma once

#include "mnmesh.h"

struct MeshHealth {
    int borderEdges = 0;       // sides of exactly one live face
    int nonManifoldEdges = 0;  // vertex pairs that are sides of more than two live faces
    int components = 0;        // pieces of live faces joined through shared vertices
};

MeshHealth MeasureMeshHealth(const MNMesh& mesh);
