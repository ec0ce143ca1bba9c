// Welds the points of a triangulator input that lie closer than a tolerance.
#pragma once

#include "triangle.h"

// Takes the input record (points with their attributes, segments with their
// markers; changed in place) and the tolerance. Points closer than tol in x and y
// merge into one at their running midpoint, depth (attribute 0) included; the
// point and attribute arrays are replaced (free, then malloc). Segments are
// renumbered, cleared of degenerate and repeated ones, and split wherever a point
// lies inside them. The input point that gives a merged point its other
// attributes is the one whose source tag (attribute 1) ranks highest: a polyline
// end (-2), then an inner shape point (k + 1), then an outline point (-1); the
// first in input order among equals. A polyline end that lands on the outline thus
// stays a polyline end, so that its segment is rebuilt as a cut line.
void WeldTriangulationInput(triangulateio& record, double tol);
