// Drops degenerate and repeated segments.
#pragma once

// Takes the segment list (two point numbers per segment), its marker list (one per
// segment; may be null) and the count. A segment whose ends are the same point is
// dropped, and so is a segment joining the same two points as an earlier kept one,
// in either order. The kept segments move to the front in their order, each with
// its marker; count becomes their number.
void RemoveDuplicateSegments(int* segments, int* markers, int& count);
