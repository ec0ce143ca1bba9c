// Removes candidate vertices that lie on straight runs of edges.
#pragma once

#include "mnmesh.h"

// Takes the mesh and the threshold. Tests every live vertex carrying flag 0x1 in
// ascending index with MarkCollinearVertex and removes it (MNMesh::RemoveVertex)
// when it carries the removal mark afterwards; each removal is in place before the
// next vertex is tested.
void RemoveCollinearVertices(MNMesh& mesh, float threshold);
