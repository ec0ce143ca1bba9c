// Gives the shape polylines a point wherever an outline point lies inside one of
// their segments.
#pragma once

#include "polyshp.h"

// Takes the shape (its polylines changed in place) and the outline, both in
// face-frame coordinates. For every polyline, every outline point in order walks
// the polyline's segments as they stand (insertions included); where the outline
// point lies strictly inside a segment, a copy of the outline's point (flags and
// auxiliary words included) is inserted between the segment's ends. The closing
// segment is walked only for a closed polyline; an insertion on it goes to
// position 0.
void AddOutlinePointsToShape(PolyShape& shape, const PolyLine& outline);
