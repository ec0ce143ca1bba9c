// Building the host's poly mesh from a mesh as read from a file.
#pragma once

#include <string>
#include <vector>

#include "io/mesh_attributes.h"
#include "io/mesh_flags.h"
#include "mnmesh.h"
#include "slitform/mesh.h"

// Faces with more corners than this are skipped: making a face checks every pair
// of its corners, so one huge face could stall the reader.
constexpr int kMaxFaceDegree = 10000;

// Replaces out with mesh (whose faces' corners must be in range): vertices in order with
// their flags, then the faces through MNMesh::CreateFace with their flags, material and
// smoothing groups, then the edge flags; flags may be null for none. The dead bit (MN_DEAD) is
// never taken from a file. Faces the mesh refuses (fewer than 3 corners, a repeated corner, an edge
// used twice the same way or by a third face, too many corners) and edge records that match no edge
// are skipped; when warnings is given, one line naming path says which. When attributes is given it
// receives the names, the groups, the corners' texture coordinates and normals of the faces built
// and the vertices' colours.
void BuildMNMesh(const std::string& path, const slitform::Mesh& mesh, const MeshFlags* flags,
                 MNMesh& out, std::vector<std::string>* warnings,
                 MeshAttributes* attributes = nullptr);
