// The points of a face's triangulation input that lie on its outline.
#pragma once

#include <vector>

#include "triangle.h"

// Takes the input record and its point count. Gives, per point, whether it ends a
// segment with the outline marker (all false without segments or markers); ends
// outside 0 to count - 1 are passed over.
std::vector<char> OutlineSegmentEnds(const triangulateio& record, int count);
