// Writing a mesh file.
#pragma once

#include <string>

#include "slitform/mesh.h"
#include "slitform/outcome.h"

namespace slitform {

// Takes a mesh file's path (.ply, .obj, .off, .stl, .gltf, .glb or .3mf) and a mesh (or
// a cut's outcome, whose selections a .ply keeps as flags) and writes it, with the
// attributes the format holds, whole or not at all; throws Error (unwritable file, or
// bad input for a mesh or selection that does not fit together) on failure.
void WriteMesh(const std::string& path, const Mesh& mesh);
void WriteMesh(const std::string& path, const Outcome& outcome);

}  // namespace slitform
