// Keeps the interior edges that hold a cut line which ends inside a face.
#pragma once

#include "mnmesh.h"

// Takes the mesh and the first edge of one face's rebuild. Among the live edges from
// firstEdge on, those flagged interior (0x2000000) but neither cut line (0x1) nor
// outline (0x8000000) are removable; the others are kept. Removing every removable
// edge would strip a kept edge that lies on no cycle of kept edges (a line that ends
// inside the face) as a spur. For each end of such a line, in vertex order, the
// shortest chain of removable edges to a vertex on a cycle of kept edges loses its
// interior flag, so that the line divides the face instead. Returns the number of
// edges kept this way.
int KeepLineAnchors(MNMesh& mesh, int firstEdge);
