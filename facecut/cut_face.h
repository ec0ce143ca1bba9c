// The cut of one mesh face along the shape's lines.
#pragma once

#include "mnmesh.h"
#include "point3.h"
#include "polyshp.h"

// Takes the mesh (changed in place), the face index, the shape in object space,
// through, the projection direction, local, removeUnused, the minimum angle in
// degrees and the weld threshold. Runs the phases of the cut in order; a face the
// shape does not cut is only marked (see PrepareFaceCut).
void CutFace(MNMesh& mesh, int face, const PolyShape& shape, bool through, const Point3& direction,
             bool local, bool removeUnused, float minAngle, float weldThreshold);
