// Reading spline shapes from files.
#pragma once

#include <string>
#include <vector>

#include "splshape.h"

// Reads the shape in the file at path into out's splines, in the format its
// extension names (.svg: a 2D drawing in the z = 0 plane; .json: our 3D shape
// format, see json_shape_reader.h); out's steps and optimize stay as they were.
// False, with a one-line error naming path, for a missing or unreadable file, an
// unknown extension, malformed content, or a shape without any knot (the cut
// needs points); out is then left as it was. warnings, when given, receives what
// the reader passed over (see ReadSvgShape).
bool ReadShape(const std::string& path, BezierShape& out, std::string& error,
               std::vector<std::string>* warnings = nullptr);
