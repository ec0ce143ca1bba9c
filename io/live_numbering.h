// The numbering a written file gives the live components of a poly mesh.
#pragma once

#include <string>
#include <vector>

#include "mnmesh.h"

struct LiveNumbering {
    std::vector<int> newVert;  // per vertex of the mesh: its index in the file, -1 if dead
    std::vector<int> verts;    // the live vertices, edges and faces in ascending order
    std::vector<int> edges;
    std::vector<int> faces;
};

// Numbers the live (not MN_DEAD) vertices, edges and faces of mesh in ascending
// order, dropping the dead ones. False, with a one-line problem, when the mesh
// cannot be written as it is: a live vertex with a coordinate that is not a
// finite number, or a live face or edge that uses a dead or missing vertex or
// has fewer than 3 corners.
bool NumberLiveComponents(const MNMesh& mesh, LiveNumbering& numbering, std::string& problem);
