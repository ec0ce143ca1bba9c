#include "facecut/input/move_points_onto_outline.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "facecut/input/outline_segment_ends.h"
#include "facecut/input/segment_foot.h"
#include "facecut/input/segment_grid.h"
#include "facecut/segment_markers.h"

namespace {

// Below this many point and segment pairs, testing them all is cheapest.
constexpr std::int64_t kExhaustivePairs = 256;

}  // namespace

int MovePointsOntoOutline(const triangulateio& record, bstPoint* points, int count, double tol) {
    if (count <= 0 || !(tol > 0.0) || record.segmentlist == nullptr ||
        record.segmentmarkerlist == nullptr)
        return 0;
    auto valid = [count](int v) { return v >= 0 && v < count; };
    std::vector<int> outline;
    for (int j = 0; j < record.numberofsegments; ++j) {
        int a = record.segmentlist[2 * j];
        int b = record.segmentlist[2 * j + 1];
        if (record.segmentmarkerlist[j] == kOutlineSegmentMarker && valid(a) && valid(b) && a != b)
            outline.push_back(j);
    }
    std::vector<char> onOutline = OutlineSegmentEnds(record, count);
    if (outline.empty())
        return 0;

    SegmentGrid grid(points, count);
    bool exhaustive = !grid.Usable() ||
                      static_cast<std::int64_t>(count) * static_cast<std::int64_t>(outline.size()) <
                          kExhaustivePairs;
    if (!exhaustive)
        for (int j : outline)
            grid.List(j, record.segmentlist[2 * j], record.segmentlist[2 * j + 1], tol);

    // Feet are found on the points as they came in, then applied, so that the
    // order of the points does not matter.
    std::vector<int> segmentOf(static_cast<size_t>(count), -1);
    std::vector<SegmentFoot> feet(static_cast<size_t>(count));
    std::vector<int> near;
    for (int i = 0; i < count; ++i) {
        if (onOutline[static_cast<size_t>(i)])
            continue;
        if (exhaustive)
            near = outline;
        else
            grid.Near(i, near);
        SegmentFoot best;
        best.distance = tol;
        for (int j : near) {
            const bstPoint& a = points[record.segmentlist[2 * j]];
            const bstPoint& b = points[record.segmentlist[2 * j + 1]];
            SegmentFoot foot;
            if (FootInside(points[i], a, b, tol, foot) && foot.distance < best.distance) {
                best = foot;
                segmentOf[static_cast<size_t>(i)] = j;
            }
        }
        feet[static_cast<size_t>(i)] = best;
    }
    int moved = 0;
    for (int i = 0; i < count; ++i) {
        int j = segmentOf[static_cast<size_t>(i)];
        if (j < 0)
            continue;
        const SegmentFoot& foot = feet[static_cast<size_t>(i)];
        const bstPoint& a = points[record.segmentlist[2 * j]];
        const bstPoint& b = points[record.segmentlist[2 * j + 1]];
        bstPoint& p = points[i];
        p.x = foot.x;
        p.y = foot.y;
        p.z = a.z + (b.z - a.z) * foot.t;
        p.radius = std::sqrt(p.x * p.x + p.y * p.y);
        ++moved;
    }
    return moved;
}
