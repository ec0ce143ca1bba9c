#include "facecut/input/segment_grid.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

SegmentGrid::SegmentGrid(const bstPoint* points, int count) : points_(points) {
    for (int i = 0; i < count; ++i) AddToBox(box_, Point3d(points[i].x, points[i].y, 0.0));
    cells_ = std::max(1, std::min(256, static_cast<int>(std::sqrt(static_cast<double>(count)))));
    scale_ = std::max(std::max(std::fabs(box_.lo[0]), std::fabs(box_.hi[0])),
                      std::max(std::fabs(box_.lo[1]), std::fabs(box_.hi[1])));
    usable_ = !box_.empty && box_.tame;
    if (usable_)
        lists_.resize(static_cast<size_t>(cells_) * cells_);
}

void SegmentGrid::List(int segment, int a, int b, double margin) {
    if (!usable_)
        return;
    const bstPoint& pa = points_[a];
    const bstPoint& pb = points_[b];
    int x0 = Column(std::min(pa.x, pb.x) - margin);
    int x1 = Column(std::max(pa.x, pb.x) + margin);
    int y0 = Row(std::min(pa.y, pb.y) - margin);
    int y1 = Row(std::max(pa.y, pb.y) + margin);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            lists_[static_cast<size_t>(y) * cells_ + x].push_back(segment);
}

void SegmentGrid::Near(int i, std::vector<int>& out) const {
    out.clear();
    if (!usable_)
        return;
    const std::vector<int>& list =
        lists_[static_cast<size_t>(Row(points_[i].y)) * cells_ + Column(points_[i].x)];
    out.assign(list.begin(), list.end());
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

int SegmentGrid::Cell(double v, double lo, double hi) const {
    double extent = hi - lo;
    if (!(extent > 0.0))
        return 0;
    double c = std::floor((v - lo) / extent * cells_);
    // Also clamps infinite margins; no NaN reaches here.
    if (!(c >= 0.0))
        return 0;
    if (c >= cells_)
        return cells_ - 1;
    return static_cast<int>(c);
}
