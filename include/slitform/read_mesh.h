// Reading a mesh file.
#pragma once

#include <string>

#include "slitform/mesh.h"

namespace slitform {

// Takes a .ply or .obj path and gives its mesh (live faces, material IDs); throws
// Error when the file cannot be read, is malformed or holds faces the mesh refuses.
Mesh ReadMesh(const std::string& path);

}  // namespace slitform
