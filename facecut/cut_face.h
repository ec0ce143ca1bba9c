// The cut of one mesh face along the shape's lines.
#pragma once

#include "facecut/cut_settings.h"
#include "mnmesh.h"
#include "polyshp.h"

// Takes the mesh (changed in place), the face index, the shape in object space and the
// settings (on one thread, whatever they say). Runs the phases of the cut in order; a
// face the shape does not cut is only marked (see PrepareFaceCut).
void CutFace(MNMesh& mesh, int face, const PolyShape& shape, const CutSettings& settings);
