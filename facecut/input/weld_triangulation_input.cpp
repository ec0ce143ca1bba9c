#include "facecut/input/weld_triangulation_input.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <vector>

#include "facecut/input/bst_point.h"
#include "facecut/input/merge_close_points.h"
#include "facecut/input/move_points_onto_outline.h"
#include "facecut/input/outline_segment_ends.h"
#include "facecut/input/remove_duplicate_segments.h"
#include "facecut/input/split_segments_at_points.h"

namespace {

// How strongly a source tag claims a merged point.
int TagRank(double tag) {
    if (std::fabs(tag + 2.0) < 0.5)
        return 3;  // polyline end
    if (tag >= 0.5)
        return 2;  // inner point of shape polyline k (k + 1)
    if (std::fabs(tag + 1.0) < 0.5)
        return 1;  // outline point
    return 0;
}

// For every welded point, the input point whose attributes 1 and up it takes.
std::vector<int> AttributeSources(const std::vector<bstPoint>& records, int welded,
                                  const std::vector<int>& map,
                                  const std::vector<double>& attributes, int attributeCount) {
    std::vector<int> source(static_cast<size_t>(welded), -1);
    for (int k = 0; k < welded; ++k) source[static_cast<size_t>(k)] = records[k].index;
    for (size_t input = 0; input < map.size(); ++input) {
        int& chosen = source[static_cast<size_t>(map[input])];
        if (records[map[input]].index >= 0)
            continue;
        if (chosen < 0) {
            chosen = static_cast<int>(input);
        } else if (attributeCount > 1) {
            double tag = attributes[input * attributeCount + 1];
            double chosenTag = attributes[static_cast<size_t>(chosen) * attributeCount + 1];
            if (TagRank(tag) > TagRank(chosenTag))
                chosen = static_cast<int>(input);
        }
    }
    return source;
}

}  // namespace

void WeldTriangulationInput(triangulateio& record, double tol) {
    int n = record.numberofpoints;
    int a = record.numberofpointattributes;
    if (n <= 0 || record.pointlist == nullptr || a < 0)
        return;
    if (a > 0 && record.pointattributelist == nullptr)
        return;

    std::vector<bstPoint> records(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        bstPoint& r = records[static_cast<size_t>(i)];
        r.x = record.pointlist[2 * i];
        r.y = record.pointlist[2 * i + 1];
        r.z = a > 0 ? record.pointattributelist[static_cast<size_t>(a) * i] : 0.0;
        r.radius = std::sqrt(r.x * r.x + r.y * r.y);
        r.flags = kRecordSinglePoint;
        r.index = i;
    }
    std::vector<double> attributes;
    if (a > 0)
        attributes.assign(record.pointattributelist,
                          record.pointattributelist + static_cast<size_t>(a) * n);

    // The outline's points keep their places when they absorb shape points: moved
    // off the outline, they left the faces beside it open or overlapping.
    std::vector<char> onOutline = OutlineSegmentEnds(record, n);
    int welded = n;
    std::vector<int> map = MergeClosePoints(records.data(), welded, tol, onOutline);
    std::vector<int> source = AttributeSources(records, welded, map, attributes, a);

    bool segments = record.segmentlist != nullptr && record.numberofsegments > 0;
    if (segments) {
        // An end outside the point list cannot be renumbered: the segment becomes
        // degenerate and is dropped with the others.
        for (int s = 0; s < 2 * record.numberofsegments; ++s) {
            int& end = record.segmentlist[s];
            end = end >= 0 && end < n ? map[static_cast<size_t>(end)] : -1;
        }
        for (int s = 0; s < record.numberofsegments; ++s) {
            if (record.segmentlist[2 * s] < 0 || record.segmentlist[2 * s + 1] < 0) {
                record.segmentlist[2 * s] = -1;
                record.segmentlist[2 * s + 1] = -1;
            }
        }
        RemoveDuplicateSegments(record.segmentlist, record.segmentmarkerlist,
                                record.numberofsegments);
        MovePointsOntoOutline(record, records.data(), welded, tol);
    }

    std::free(record.pointlist);
    std::free(record.pointattributelist);
    record.numberofpoints = welded;
    record.pointlist = static_cast<REAL*>(std::malloc(sizeof(REAL) * 2 * welded));
    record.pointattributelist = static_cast<REAL*>(std::malloc(sizeof(REAL) * a * welded));
    for (int k = 0; k < welded; ++k) {
        const bstPoint& r = records[static_cast<size_t>(k)];
        record.pointlist[2 * k] = r.x;
        record.pointlist[2 * k + 1] = r.y;
        if (a == 0)
            continue;
        size_t to = static_cast<size_t>(a) * k;
        size_t from = static_cast<size_t>(a) * source[static_cast<size_t>(k)];
        record.pointattributelist[to] = r.z;
        for (int j = 1; j < a; ++j) record.pointattributelist[to + j] = attributes[from + j];
    }

    if (segments)
        SplitSegmentsAtPoints(record, records.data(), welded, tol);
}
