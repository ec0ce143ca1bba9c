// Reading a mesh file.
#pragma once

#include <string>

#include "slitform/mesh.h"

namespace slitform {

// Takes a mesh file's path (.ply, .obj, .gltf, .glb, .stl, .off, .3mf or .fbx) and gives
// its mesh with every attribute the file holds (texture coordinates, normals, colours,
// material and group names, the object's name); throws Error (unreadable file) when the
// file cannot be read, is malformed or holds faces the mesh refuses.
Mesh ReadMesh(const std::string& path);

}  // namespace slitform
