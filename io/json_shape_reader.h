// Reading 3D spline shapes from our JSON shape format.
#pragma once

#include <string>
#include <vector>

#include "splshape.h"

// The format: an object whose "splines" array holds the splines in order; a
// spline is an object with a "knots" array (at least one knot) and an optional
// "closed" flag (false when absent); a knot is an object with its position
// "knot" and optional handles "in" and "out", each an array of three numbers
// x, y, z (a missing handle lies on the knot, which makes a corner):
//
//   {"splines": [{"closed": true,
//                 "knots": [{"knot": [0, 0, 0]},
//                           {"in": [8, -2, 0], "knot": [10, 0, 0], "out": [12, 2, 0]},
//                           {"knot": [10, 10, 0]}]}]}
//
// Reads the JSON file content bytes (from the file at path) into splines. False,
// with a one-line error naming path and the place (line, or the member such as
// splines[0].knots[2].in), for malformed JSON, a missing or mistyped member, an
// unknown member, or a number that is not a finite single-precision number.
bool ReadJsonShape(const std::string& path, const std::string& bytes,
                   std::vector<Spline3D>& splines, std::string& error);
