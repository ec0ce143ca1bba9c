// Writing poly meshes as OFF (Object File Format).
#pragma once

#include <string>

#include "io/live_numbering.h"
#include "mnmesh.h"

// The OFF file content for the live components of mesh, numbered by numbering:
// the counts, one line per vertex and one per face (n-gons kept). OFF holds
// geometry alone.
std::string OffText(const MNMesh& mesh, const LiveNumbering& numbering);
