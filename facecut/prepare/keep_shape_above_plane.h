// Drops the shape points on or below the face plane.
#pragma once

#include "polyshp.h"

// Takes the shape in face-frame coordinates and keeps, in place, the runs of
// consecutive points with z > 0 as polylines of fresh points (flags and auxiliary
// words zero). A run is closed only when its source polyline was closed and lost no
// point; otherwise the runs are open and the run at the end of a closed polyline is
// not joined to the one at its start.
void KeepShapeAbovePlane(PolyShape& shape);
