// Moves shape points that lie within the weld tolerance of an outline edge onto it.
#pragma once

#include "facecut/input/bst_point.h"
#include "triangle.h"

// Takes the welded input record's segments (marker 2: outline, 3: shape) and its
// count points as weld records, changed in place. A point that ends no outline
// segment and lies closer than tol to the inside of outline segment a->b, with its
// foot on the segment at least tol from both ends, moves to that foot (the nearest
// such segment's), its depth z interpolated between the ends' along the segment.
// A shape line that runs along an outline edge within the tolerance then runs on
// it, instead of leaving a sliver narrower than the weld between them. Returns
// the number of points moved.
int MovePointsOntoOutline(const triangulateio& record, bstPoint* points, int count, double tol);
