// Writing poly meshes as PLY.
#pragma once

#include <string>

#include "io/live_numbering.h"
#include "io/ply_format.h"
#include "mnmesh.h"

// The PLY file content for the live components of mesh, numbered by numbering:
// vertex x, y, z (float) and flags (uint); face vertex_indices (a list counted by
// uchar, or by uint when a face has more than 255 corners), flags (uint),
// material_index (ushort) and smoothing (uint); edge vertex1, vertex2 (int) and
// flags (uint). Every flags word is the mesh's full 32-bit word.
std::string PlyBytes(const MNMesh& mesh, const LiveNumbering& numbering, PlyEncoding encoding);
