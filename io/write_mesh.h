// Writing poly meshes to files.
#pragma once

#include <string>

#include "io/mesh_attributes.h"
#include "io/ply_format.h"
#include "mnmesh.h"

// Writes the live components of mesh to path, in the format its extension names
// (.ply: everything, with plyEncoding; .obj: geometry, materials (NAME.mtl beside
// it, see MaterialLibraryText) and the selection as groups; .off: geometry; .gltf, .glb, .stl,
// .3mf: see AssimpFiles, a .gltf's .bin beside it, written first), dead components dropped and the
// rest renumbered in order. The file is replaced only once the new content is complete. False, with
// a one-line error naming path, for an unknown extension, a mesh that cannot be written (see
// NumberLiveComponents) or a failure to write; path is then left as it was.
bool WriteMesh(const std::string& path, const MNMesh& mesh, std::string& error,
               PlyEncoding plyEncoding = PlyEncoding::Ascii);

// The PLY encoding for a mesh of faces faces when the user names none: text below
// 100 000 faces, binary (little-endian) from there on, where text is much larger and
// slower to read.
PlyEncoding DefaultPlyEncoding(long long faces);

// How WriteMesh writes beyond the geometry and flags.
struct MeshWriteOptions {
    PlyEncoding plyEncoding = PlyEncoding::Ascii;
    const MeshAttributes* attributes = nullptr;  // names, corner values, colours, groups
    bool cutLines = false;                       // OBJ: the cut lines as "l" elements
};

// WriteMesh with the attributes the format holds (OBJ: see ObjText).
bool WriteMesh(const std::string& path, const MNMesh& mesh, const MeshWriteOptions& options,
               std::string& error);

// Whether WriteMesh could write to path, checked before any work: false, with a
// one-line error naming path, for an unknown extension or a path that
// CheckWritablePath refuses.
bool CheckMeshPath(const std::string& path, std::string& error);
