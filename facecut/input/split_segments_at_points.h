// Splits the segments of a triangulator input at the points that lie inside them.
#pragma once

#include "facecut/input/bst_point.h"
#include "triangle.h"

// Takes the input record (segments and markers changed in place; the segment
// arrays are grown with realloc when segments are added) and its count points as
// weld records. For every point in order, and every segment in order (segments
// added on the way included): when the point lies strictly inside the segment in x
// and y as seen from either end (Point3d::SegmentPosition, flat, tolerance 1e-10,
// from a to b and from b to a), the segment is
// shortened to end at the point; unless a segment already joins the point and
// either end (then the segment is shortened to the other piece), the remaining
// piece is appended with the segment's marker. With bendReach above 0, a point
// that ends an outline segment (marker 2) as the record comes in also splits a
// shape segment (marker 3) that passes closer than bendReach to it, with its foot
// at least bendReach from both ends: the shape line bends through the point
// instead of leaving a sliver beside it.
void SplitSegmentsAtPoints(triangulateio& record, const bstPoint* points, int count,
                           double bendReach = 0.0);
