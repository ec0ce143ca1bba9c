// Reading poly meshes from files.
#pragma once

#include <string>
#include <vector>

#include "io/mesh_attributes.h"
#include "io/mesh_flags.h"
#include "mnmesh.h"
#include "slitform/mesh.h"

// Reads the file at path, in the format its extension names (.ply: ASCII or binary;
// .obj; .off; .gltf, .glb, .stl, .3mf and .fbx through Assimp in a child process, see
// ReadAssimpMesh and ReadInChildProcess), into the flat mesh value with every attribute the file
// holds, and what only this program's PLY files keep (flags, smoothing groups) into flags. Nothing
// is built or refused yet: see BuildMNMesh. False, with a one-line error naming path, for a missing
// or unreadable file, an unknown extension or malformed content.
bool ReadMeshFile(const std::string& path, slitform::Mesh& mesh, MeshFlags& flags,
                  std::vector<std::string>* warnings, std::string& error);

// Reads the mesh in the file at path (see ReadMeshFile) into out. Vertices keep the file's order,
// faces keep their corners (n-gons, shared vertices), flags (never the dead bit), material IDs and
// smoothing groups. Faces the mesh refuses are skipped and reported in warnings (when given), as
// are other things the reader passed over. False, with a one-line error naming path, for a missing
// or unreadable file, an unknown extension or malformed content; out is then left as it was. An
// empty mesh is not an error: the caller decides. When attributes is given it receives what the
// file carries besides (see MeshAttributes), aligned with out's faces and vertices.
bool ReadMesh(const std::string& path, MNMesh& out, std::string& error,
              std::vector<std::string>* warnings = nullptr, MeshAttributes* attributes = nullptr);
