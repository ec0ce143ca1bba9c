// How far apart a face's corners lie, in the mesh's own space.
#pragma once

#include "mnmesh.h"

// Takes a cuttable face (see IsCuttableFace). Gives the smallest 3D distance between
// two of its corners or between a corner and an edge that does not end at it, but
// no less than the rounding of single-precision coordinates at the corners' scale:
// copies of one point that two faces computed apart lie closer than that.
double FaceCornerSpacing(const MNMesh& mesh, int face);
