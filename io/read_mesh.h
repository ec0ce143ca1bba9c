// Reading poly meshes from files.
#pragma once

#include <string>
#include <vector>

#include "io/mesh_attributes.h"
#include "mnmesh.h"

// Reads the mesh in the file at path into out, in the format its extension names
// (.ply: ASCII or binary; .obj; .gltf, .glb, .stl, .off, .3mf and .fbx through
// Assimp, see ReadAssimpMesh). Vertices keep the file's order, faces keep their
// corners (n-gons, shared vertices), flags (never the dead bit), material IDs
// and smoothing groups. Faces the mesh refuses are skipped and reported in
// warnings (when given), as are other things the reader passed over. False, with
// a one-line error naming path, for a missing or unreadable file, an unknown
// extension or malformed content; out is then left as it was. An empty mesh is
// not an error: the caller decides.
// When attributes is given it receives what the file carries besides (see
// MeshAttributes), aligned with out's faces and vertices.
bool ReadMesh(const std::string& path, MNMesh& out, std::string& error,
              std::vector<std::string>* warnings = nullptr, MeshAttributes* attributes = nullptr);
