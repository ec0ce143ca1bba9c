// What a cut did to the mesh, counted: what went in, what came out, what was cut
// and selected.
#pragma once

#include <vector>

#include "mnmesh.h"

struct CutCounts {
    int facesIn = 0, edgesIn = 0, verticesIn = 0;
    int facesOut = 0, edgesOut = 0, verticesOut = 0;
    int facesCut = 0;
    int selectedVertices = 0, selectedEdges = 0, selectedFaces = 0;
};

// What the counts need of the mesh going in: far less than a copy of it.
struct MeshCounts {
    int faces = 0, edges = 0, vertices = 0;
    std::vector<bool> liveFaces;  // one per face slot
};

MeshCounts CountMesh(const MNMesh& mesh);

// Counts live components of the mesh going out. A face counts as cut when it was
// live going in and was replaced by the cut: dead coming out without the mark of
// a face the shape did not reach (one that only the open step removed carries it).
CutCounts CountCut(const MeshCounts& in, const MNMesh& out);
