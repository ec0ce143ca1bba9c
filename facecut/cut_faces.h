// The cut of many faces of one mesh, on several threads.
#pragma once

#include <atomic>
#include <cmath>
#include <vector>

#include "facecut/cut_outline_vertex.h"
#include "facecut/cut_settings.h"
#include "mnmesh.h"
#include "point3.h"
#include "polyshp.h"

// What a cut of many faces reports besides the changed mesh.
struct CutFacesSummary {
    // Faces cut whose refinement stopped at the triangulator's point limit, short of
    // the minimum angle.
    int facesAtPointLimit = 0;
    // Faces left uncut because the shape crosses itself too often inside them.
    int facesOverCrossingLimit = 0;
    // The smallest FaceCornerSpacing of the faces cut; infinite when none was cut.
    double cornerSpacing = INFINITY;
    // Where the new vertices on the outlines of the faces cut lie on the mesh's edges,
    // in the order of the faces.
    CutOutlineVertices outlineVertices;
    // For each face the cut appended, in index order from the mesh's face count before
    // the cut, the face it replaced.
    std::vector<int> createdFrom;
};

// Takes the mesh (changed in place), the faces to cut in ascending order, the shape in
// object space and the settings (with the number of threads).
// The result is the one that cutting each face with CutFace in the given order gives,
// byte for byte, whatever the number of threads: the first phase and the triangulation
// run in parallel, while the triangulation input (whose weld keeps process-wide state)
// and the rebuild run in face order. Gives the summary above. With visited given, adds
// to it the faces done: those the first phase leaves uncut, a few at a time, and the
// cut ones as each batch of them is rebuilt. Once *stop turns true the cut ends at
// the next face, leaving the mesh part cut.
CutFacesSummary CutFaces(MNMesh& mesh, const std::vector<int>& faces, const PolyShape& shape,
                         const CutSettings& settings, std::atomic<long long>* visited = nullptr,
                         const std::atomic<bool>* stop = nullptr);
