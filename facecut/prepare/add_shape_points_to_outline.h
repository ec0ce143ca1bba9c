// Gives the face outline a corner wherever a shape point lies inside one of its edges.
#pragma once

#include "polyshp.h"

// Takes the outline (changed in place) and the shape, both in face-frame
// coordinates. Every shape point, in order, walks the outline's edges as they
// stand (insertions included); where the point lies strictly inside an edge, as
// seen from either end, a copy of the shape's point is inserted between the edge's
// ends. An insertion on
// the closing edge goes to position 0. The closing edge of an open outline is not
// walked.
void AddShapePointsToOutline(PolyLine& outline, const PolyShape& shape);
