#include "facecut/input/split_segments_at_points.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "facecut/input/outline_segment_ends.h"
#include "facecut/input/segment_foot.h"
#include "facecut/input/segment_grid.h"
#include "facecut/prepare/overlay_bounds.h"
#include "facecut/segment_key.h"
#include "facecut/segment_markers.h"

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

// How far from a segment's box the classification can still place a point
// strictly inside it.
double InsideMargin(const bstPoint& a, const bstPoint& b, double scale) {
    InsideReach reach;
    WidenReach(reach, Point3d(a.x, a.y, 0.0), Point3d(b.x, b.y, 0.0));
    return ReachDistance(reach, 0.0, scale);
}

}  // namespace

void SplitSegmentsAtPoints(triangulateio& record, const bstPoint* points, int count,
                           double bendReach) {
    if (count <= 0 || record.numberofsegments <= 0 || record.segmentlist == nullptr)
        return;
    SegmentList segments(record);
    SegmentGrid grid(points, count);
    bool exhaustive =
        !grid.Usable() || static_cast<std::int64_t>(count) * segments.Count() < kExhaustivePairs;
    auto valid = [count](int v) { return v >= 0 && v < count; };
    const int* markers = record.segmentmarkerlist;
    bool bending = bendReach > 0.0 && markers != nullptr;
    // The points that end an outline segment as the record comes in.
    std::vector<char> bends;
    if (bending)
        bends = OutlineSegmentEnds(record, count);
    auto bendable = [&](int j) {
        return bending && record.segmentmarkerlist[j] == kShapeSegmentMarker;
    };
    auto list = [&](int j) {
        int a = segments.Start(j);
        int b = segments.End(j);
        double margin = InsideMargin(points[a], points[b], grid.Scale());
        grid.List(j, a, b, bendable(j) ? std::max(margin, bendReach) : margin);
    };
    if (!exhaustive) {
        for (int j = 0; j < segments.Count(); ++j)
            if (valid(segments.Start(j)) && valid(segments.End(j)))
                list(j);
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
            bool inside = points[i].StrictlyInside(points[a], points[b], true, 1e-10) &&
                          points[i].StrictlyInside(points[b], points[a], true, 1e-10);
            if (!inside) {
                SegmentFoot foot;
                bool bent = bendable(j) && bends[static_cast<size_t>(i)] &&
                            FootInside(points[i], points[a], points[b], bendReach, foot) &&
                            foot.distance < bendReach;
                if (!bent)
                    continue;
            }
            if (segments.Joins(i, a)) {
                segments.Set(j, i, b);
            } else if (segments.Joins(i, b)) {
                segments.Set(j, a, i);
            } else {
                segments.Set(j, a, i);
                int added = segments.AppendLike(j, i, b);
                if (!exhaustive)
                    list(added);
            }
            if (!exhaustive)
                list(j);
        }
    }
}
