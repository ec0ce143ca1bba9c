// A uniform grid over weld records that lists segments near each cell.
#pragma once

#include <vector>

#include "facecut/input/bst_point.h"
#include "facecut/prepare/overlay_bounds.h"

// Spans the x-y box of count records. A segment is listed in every cell within a
// margin of its box; a point's cell then holds every listed segment that lies
// within that margin of it. A segment that changes is listed again for its new
// ends; stale listings only cost a test. Unusable (list nothing) when the box is
// empty or not tame.
class SegmentGrid {
public:
    SegmentGrid(const bstPoint* points, int count);

    bool Usable() const { return usable_; }
    // The largest coordinate magnitude of the box.
    double Scale() const { return scale_; }

    // Lists segment a->b (record numbers) in the cells within margin of its box.
    void List(int segment, int a, int b, double margin);
    // The segments listed in the cell of point i, ascending, each once.
    void Near(int i, std::vector<int>& out) const;

private:
    int Cell(double v, double lo, double hi) const;
    int Column(double x) const { return Cell(x, box_.lo[0], box_.hi[0]); }
    int Row(double y) const { return Cell(y, box_.lo[1], box_.hi[1]); }

    const bstPoint* points_;
    OverlayBox box_;
    int cells_ = 1;
    double scale_ = 0.0;
    bool usable_ = false;
    std::vector<std::vector<int>> lists_;
};
