// The attributes of the mesh going into a cut, carried onto its result.
#pragma once

#include <vector>

#include "io/mesh_attributes.h"
#include "mnmesh.h"

// The attributes of out, the cut's result of in, from in's, where origin gives for
// every face of out the face of in it came from (-1: none, as for a dead face): names
// as they were; each face corner's texture coordinate and normal taken from the corner
// of the face it came from at the same vertex and place, or else
// interpolated over that face at the corner's position with mean-value
// coordinates (normals then made unit length); each vertex's colour kept where
// the vertex stayed, or else interpolated over the face of one face using it.
// Groups follow the face. Seams stay seams, as every face draws on its own face's corners alone.
MeshAttributes CarryAttributes(const MNMesh& in, const MeshAttributes& attributes,
                               const MNMesh& out, const std::vector<int>& origin);
