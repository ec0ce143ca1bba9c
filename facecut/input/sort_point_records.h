// Sorts weld records by x, then y.
#pragma once

#include <cstdint>

#include "facecut/input/bst_point.h"

// Takes count records and sorts them in place by ascending x, ties by ascending
// y, with a quicksort whose pivots come from one process-wide pseudo-random seed:
// every call on a count other than 2, recursive calls included, advances it as
// seed = (seed * 1366 + 150889) mod 714025. Records with equal x and y may end in
// either order, which depends on every earlier sort in the process.
void SortPointRecords(bstPoint* records, int count);

// The pivot seed as it stands: 1 when the library is loaded, never reset.
std::uint32_t PivotSeed();
