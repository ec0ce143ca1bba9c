// Which face of the mesh going into a cut each face of its result came from.
#pragma once

#include <vector>

#include "mnmesh.h"

// Per face of out (the cut's result of in): the face of in it lies on, or -1 for a
// dead face. A face of out at an index in still holds live is that face (the cut
// keeps the faces it does not replace where they were, at most with new corners
// on their edges); a face the cut appended lies on the live face of in nearest to
// a point inside it and to its corners.
std::vector<int> OriginFaces(const MNMesh& in, const MNMesh& out);
