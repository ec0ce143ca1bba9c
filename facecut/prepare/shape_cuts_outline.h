// Decides whether the shape cuts a face.
#pragma once

#include "polyshp.h"

// Takes the outline and the shape in face-frame coordinates (single precision).
// True when a shape point lies inside the outline, or a shape segment properly
// crosses an outline edge: both fractions, along the segment and along the edge,
// within [0.0001, 0.9999]. Pairs whose cross product is shorter than 0.0001 are
// taken as parallel and never cross. Also true when a segment runs from one
// outline point to another (corners, or points the overlay inserted) with its
// midpoint strictly inside the outline, off every edge. The last point of an
// open polyline is not tested (its segments are, through their first points).
bool ShapeCutsOutline(const PolyLine& outline, const PolyShape& shape);
