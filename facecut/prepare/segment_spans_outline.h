// Whether a shape segment runs through a face between two points of its outline.
#pragma once

#include "polyshp.h"

// Takes a shape segment a->b and the outline, in face-frame coordinates. True when
// both ends lie at outline points in x and y (corners, or points the overlay
// inserted) and the midpoint lies strictly inside the outline, off every edge as the
// overlay places points (flat classification, tolerance 1e-10). Such a segment
// crosses no edge properly and has no point inside, yet it divides the face.
bool SegmentSpansOutline(const Point3& a, const Point3& b, const PolyLine& outline);
