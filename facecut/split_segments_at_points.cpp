#include "facecut/split_segments_at_points.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "facecut/overlay_bounds.h"
#include "facecut/segment_key.h"

namespace {

// Below this many point and segment pairs, testing them all is cheapest.
constexpr std::int64_t kExhaustivePairs = 256;

// The record's segments, with the counts of segments per pair of ends that the
// existence searches ask for.
class SegmentList {
public:
    explicit SegmentList(triangulateio& record)
        : record_(record), capacity_(record.numberofsegments) {
        for (int j = 0; j < record.numberofsegments; ++j) ++pairs_[SegmentKey(Start(j), End(j))];
    }

    int Count() const { return record_.numberofsegments; }
    int Start(int j) const { return record_.segmentlist[2 * j]; }
    int End(int j) const { return record_.segmentlist[2 * j + 1]; }
    bool Joins(int a, int b) const {
        auto found = pairs_.find(SegmentKey(a, b));
        return found != pairs_.end() && found->second > 0;
    }

    void Set(int j, int a, int b) {
        --pairs_[SegmentKey(Start(j), End(j))];
        record_.segmentlist[2 * j] = a;
        record_.segmentlist[2 * j + 1] = b;
        ++pairs_[SegmentKey(a, b)];
    }

    // Appends the segment a-b with segment j's marker; returns its number.
    int AppendLike(int j, int a, int b) {
        int n = record_.numberofsegments;
        if (n == capacity_)
            Grow();
        record_.segmentlist[2 * n] = a;
        record_.segmentlist[2 * n + 1] = b;
        if (record_.segmentmarkerlist != nullptr)
            record_.segmentmarkerlist[n] = record_.segmentmarkerlist[j];
        ++pairs_[SegmentKey(a, b)];
        record_.numberofsegments = n + 1;
        return n;
    }

private:
    void Grow() {
        capacity_ = capacity_ * 2 + 16;
        size_t count = static_cast<size_t>(capacity_);
        record_.segmentlist =
            static_cast<int*>(std::realloc(record_.segmentlist, 2 * count * sizeof(int)));
        if (record_.segmentmarkerlist != nullptr)
            record_.segmentmarkerlist =
                static_cast<int*>(std::realloc(record_.segmentmarkerlist, count * sizeof(int)));
    }

    triangulateio& record_;
    int capacity_;
    std::unordered_map<std::uint64_t, int> pairs_;
};

// A uniform grid over the points in x and y; each segment is listed in every cell
// within its reach, the distance at which the classification can still place a
// point strictly inside it. A segment that changes is listed again for its new
// ends; stale listings only cost a test.
class SegmentGrid {
public:
    SegmentGrid(const bstPoint* points, int count) : points_(points) {
        for (int i = 0; i < count; ++i) AddToBox(box_, Point3d(points[i].x, points[i].y, 0.0));
        cells_ =
            std::max(1, std::min(256, static_cast<int>(std::sqrt(static_cast<double>(count)))));
        scale_ = std::max(std::max(std::fabs(box_.lo[0]), std::fabs(box_.hi[0])),
                          std::max(std::fabs(box_.lo[1]), std::fabs(box_.hi[1])));
        usable_ = !box_.empty && box_.tame;
        if (usable_)
            lists_.resize(static_cast<size_t>(cells_) * cells_);
    }

    bool Usable() const { return usable_; }

    void List(int segment, int a, int b) {
        Point3d pa(points_[a].x, points_[a].y, 0.0);
        Point3d pb(points_[b].x, points_[b].y, 0.0);
        InsideReach reach;
        WidenReach(reach, pa, pb);
        double margin = ReachDistance(reach, 0.0, scale_);
        int x0 = Column(std::min(pa.x, pb.x) - margin);
        int x1 = Column(std::max(pa.x, pb.x) + margin);
        int y0 = Row(std::min(pa.y, pb.y) - margin);
        int y1 = Row(std::max(pa.y, pb.y) + margin);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                lists_[static_cast<size_t>(y) * cells_ + x].push_back(segment);
    }

    // The segments listed in the cell of point i, ascending, each once.
    void Near(int i, std::vector<int>& out) const {
        const std::vector<int>& list =
            lists_[static_cast<size_t>(Row(points_[i].y)) * cells_ + Column(points_[i].x)];
        out.assign(list.begin(), list.end());
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }

private:
    int Cell(double v, double lo, double hi) const {
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
    int Column(double x) const { return Cell(x, box_.lo[0], box_.hi[0]); }
    int Row(double y) const { return Cell(y, box_.lo[1], box_.hi[1]); }

    const bstPoint* points_;
    OverlayBox box_;
    int cells_ = 1;
    double scale_ = 0.0;
    bool usable_ = false;
    std::vector<std::vector<int>> lists_;
};

}  // namespace

void SplitSegmentsAtPoints(triangulateio& record, const bstPoint* points, int count) {
    if (count <= 0 || record.numberofsegments <= 0 || record.segmentlist == nullptr)
        return;
    SegmentList segments(record);
    SegmentGrid grid(points, count);
    bool exhaustive =
        !grid.Usable() || static_cast<std::int64_t>(count) * segments.Count() < kExhaustivePairs;
    auto valid = [count](int v) { return v >= 0 && v < count; };
    if (!exhaustive) {
        for (int j = 0; j < segments.Count(); ++j)
            if (valid(segments.Start(j)) && valid(segments.End(j)))
                grid.List(j, segments.Start(j), segments.End(j));
    }

    // Segments that change or are added while point i walks the list all end at
    // i, so they cannot take i again: the segments to test are known beforehand.
    std::vector<int> near;
    for (int i = 0; i < count; ++i) {
        if (exhaustive) {
            near.resize(static_cast<size_t>(segments.Count()));
            for (int j = 0; j < segments.Count(); ++j) near[static_cast<size_t>(j)] = j;
        } else {
            grid.Near(i, near);
        }
        for (int j : near) {
            int a = segments.Start(j);
            int b = segments.End(j);
            if (i == a || i == b || !valid(a) || !valid(b))
                continue;
            // Seen from a far end, a point beside the near end would count as on
            // the segment (see AddShapePointsToOutline).
            if (!points[i].StrictlyInside(points[a], points[b], true, 1e-10) ||
                !points[i].StrictlyInside(points[b], points[a], true, 1e-10))
                continue;
            if (segments.Joins(i, a)) {
                segments.Set(j, i, b);
            } else if (segments.Joins(i, b)) {
                segments.Set(j, a, i);
            } else {
                segments.Set(j, a, i);
                int added = segments.AppendLike(j, i, b);
                if (!exhaustive)
                    grid.List(added, i, b);
            }
            if (!exhaustive)
                grid.List(j, segments.Start(j), segments.End(j));
        }
    }
}
