// The markers of the segments in a face's triangulation input.
#pragma once

// An edge of the face's outline (pieces between its corners and the points the
// overlay put on it).
constexpr int kOutlineSegmentMarker = 2;
// A piece of a shape line.
constexpr int kShapeSegmentMarker = 3;
