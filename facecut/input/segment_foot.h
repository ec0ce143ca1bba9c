// The foot of a weld record on a segment, away from the segment's ends.
#pragma once

#include "facecut/input/bst_point.h"

struct SegmentFoot {
    double x = 0.0, y = 0.0;
    double t = 0.0;         // along a->b, 0 at a and 1 at b
    double distance = 0.0;  // of the point from the foot, in x and y
};

// The foot of p on a->b in x and y, when it falls at least margin from both ends
// (false otherwise, and for a segment no longer than twice margin).
bool FootInside(const bstPoint& p, const bstPoint& a, const bstPoint& b, double margin,
                SegmentFoot& foot);
