// Reading Wavefront OBJ meshes through tinyobjloader.
#pragma once

#include <string>
#include <vector>

#include "io/mesh_flags.h"
#include "slitform/mesh.h"

// Reads the OBJ file content bytes (from the file at path) into data and flags (the
// smoothing groups): the "v"
// positions and the "f" faces as they stand (n-gons and shared vertices kept,
// nothing triangulated). The names of "usemtl" lines become material IDs 0, 1,
// 2 ... in order of first appearance (faces before any "usemtl" get 0); "s N"
// smoothing groups 1 to 32 become the bit 1 << (N - 1) of the face's groups
// (higher numbers wrap around, of any length, with one warning for those past 32
// bits; "s 0", "s off" and negative numbers give none). The names, the
// first "o" and "mtllib" values, the corners' "vt" and "vn" values (zero for a
// corner without when others have them), vertex colours and, when the file has
// "g" lines, every face's group are kept in data.
// Lines and points are ignored. False, with a one-line error
// naming path, for a line that CheckObjLines refuses (with its number), a face
// line the library cannot parse, a vertex, texture or normal index out of
// range, more than 65536 material names, or a coordinate that is not a finite
// single-precision number. The library's warnings are passed on.
bool ReadObjMesh(const std::string& path, const std::string& bytes, slitform::Mesh& data,
                 MeshFlags& flags, std::vector<std::string>* warnings, std::string& error);
