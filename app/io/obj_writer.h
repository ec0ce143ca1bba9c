// Writing poly meshes as Wavefront OBJ.
#pragma once

#include <string>

#include "app/io/live_numbering.h"
#include "mnmesh.h"

// The OBJ file content for the live components of mesh, numbered by numbering:
// one "v" line per vertex and one "f" line per face (n-gons kept), with a
// "usemtl" line wherever the material ID changes. Material ID k is named
// "mtl<k + 1>", as the host counts IDs from 1 in its interface. Flags and
// smoothing groups are not written.
std::string ObjText(const MNMesh& mesh, const LiveNumbering& numbering);
