// Writing a mesh file.
#pragma once

#include <string>

#include "slitform/mesh.h"
#include "slitform/outcome.h"

namespace slitform {

// Takes a .ply or .obj path and a mesh (or a cut's outcome, whose selections a
// .ply keeps as flags) and writes it whole or not at all; throws Error on failure.
void WriteMesh(const std::string& path, const Mesh& mesh);
void WriteMesh(const std::string& path, const Outcome& outcome);

}  // namespace slitform
