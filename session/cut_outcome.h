// What one evaluation of a cut session gives back.
#pragma once

#include <string>

#include "io/mesh_attributes.h"
#include "mnmesh.h"
#include "session/cut_counts.h"

constexpr const char* kInsideMaterialName = "slitform_inside";

struct CutOutcome {
    bool evaluated = false;  // false: error says why, and mesh is the mesh going in
    std::string error;
    // Stopped through the cancel flag; mesh is then left empty, since whoever
    // cancels keeps what they had.
    bool cancelled = false;
    // Ran out of memory; mesh is then left empty too, since a copy could fail as well.
    bool outOfMemory = false;
    MNMesh mesh;  // the modifier's output, in the object's space
    // The input's attributes carried onto mesh (see CarryAttributes); the material
    // that matid gives the inside faces is named kInsideMaterialName when the input
    // had no name for it.
    MeshAttributes attributes;
    CutCounts counts;
    // The projection direction as the modifier computed it, in the object's space;
    // directionKnown is false when the evaluation did not reach the cut.
    bool directionKnown = false;
    Point3 direction;
    // Faces whose refinement stopped at its point limit, short of min_angle.
    int facesAtPointLimit = 0;
    // Faces left uncut because the shape crosses itself too often inside them.
    int facesOverCrossingLimit = 0;
    double seconds = 0.0;  // of the evaluation alone
};
