// Reading PLY meshes: ASCII, binary little-endian and binary big-endian.
#pragma once

#include <string>
#include <vector>

#include "io/mesh_flags.h"
#include "slitform/mesh.h"

// Reads the PLY file content bytes (from the file at path) into mesh and flags. Takes the
// vertex properties x, y, z (any number type) and flags; the face list
// vertex_indices (or vertex_index) with material_index, flags and smoothing; the
// edge properties vertex1, vertex2 and flags. Flags, indices, counts and
// material IDs must have integer types; other properties and elements are
// skipped. False, with a one-line error naming path (and the line, in ASCII
// files), for a malformed header, data that ends early or does not match the
// header, a vertex index out of range, a material ID above 65535, or a
// coordinate that is not a finite single-precision number. Content after the
// last element is ignored with a warning.
bool ReadPlyMesh(const std::string& path, const std::string& bytes, slitform::Mesh& mesh,
                 MeshFlags& flags, std::vector<std::string>* warnings, std::string& error);
