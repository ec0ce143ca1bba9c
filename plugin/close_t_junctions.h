// Closes T-junctions before the border weld: a cut can leave a vertex on the
// border edge of a face it did not cut (refinement split the outline there, or a
// shape line ended on it), where the weld finds no partner.
#pragma once

#include "mnmesh.h"

// Takes the mesh, the weld threshold and the vertex flag of the weld. Every live
// border vertex carrying flag that lies closer than thresh to another face's border
// edge, strictly inside it and along it (off its line by at most 0.005 of the
// distance to the nearer end, or by the rounding of the coordinates), splits that
// edge at its nearest point; the new corner carries flag too, so that the weld
// joins the two. A vertex within thresh of an end of the edge is left to the weld,
// unless the two are corners of one face, which the weld never joins. A vertex that
// closes a triangular hole (border edges join it to both ends) need not lie along
// the edge; when it lies beyond the edge's ends, each closer than thresh, it splits
// the edge in its middle. Returns the number of edges split.
int CloseTJunctions(MNMesh& mesh, float thresh, DWORD flag);
