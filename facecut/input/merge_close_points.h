// Merges weld records that lie closer together than a tolerance.
#pragma once

#include <vector>

#include "facecut/input/bst_point.h"

// Takes count records (one per input point, index = the point's number), the
// tolerance and, per input point, whether it is anchored (may be empty: none is).
// Sorts the records, snaps each x within tol of its predecessor's (snapped) x to it,
// sorts again, and walks the sorted records keeping one at a time: a record closer
// than tol (in x and y, snapped x) to the kept one is absorbed into it, which moves
// to the running midpoint (x, y and z) and gets flags word 0 and index -1. The
// snapped x and the walk's midpoints serve the walk only: a kept record ends at the
// running midpoint of its points' own places, or of its anchored points' alone when
// it holds one (an outline point stays on the outline). The kept records end in
// slots 0 to count - 1 (count updated). Returns the index map: for every input
// point, its number among the kept records.
std::vector<int> MergeClosePoints(bstPoint* records, int& count, double tol,
                                  const std::vector<char>& anchored);
