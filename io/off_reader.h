// Reading OFF meshes, our own reader: faces of any degree, every index checked.
#pragma once

#include <string>
#include <vector>

#include "slitform/mesh.h"

// Reads the OFF file content bytes (from the file at path) into data: an optional
// "OFF" or "COFF" keyword, the vertex, face and edge counts, then one vertex per
// line (x y z, and with COFF a colour of 3 or 4 components, 0..1 or 0..255) and one
// face per line (its degree, then that many vertex numbers from 0; anything after
// them, such as a face colour, is passed over). "#" starts a comment. Faces of
// fewer than 3 corners are skipped and counted in one warning. False, with a
// one-line error naming path and the line, for another keyword, a count the file
// is too short to hold, a number that is not one, a coordinate that is not a
// finite single-precision number, a vertex number out of range, or a face line
// shorter than its degree.
bool ReadOffMesh(const std::string& path, const std::string& bytes, slitform::Mesh& data,
                 std::vector<std::string>* warnings, std::string& error);
