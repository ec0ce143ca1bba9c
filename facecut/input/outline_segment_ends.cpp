#include "facecut/input/outline_segment_ends.h"

#include <cstddef>

#include "facecut/segment_markers.h"

std::vector<char> OutlineSegmentEnds(const triangulateio& record, int count) {
    std::vector<char> ends(static_cast<size_t>(count > 0 ? count : 0), 0);
    if (record.segmentlist == nullptr || record.segmentmarkerlist == nullptr)
        return ends;
    for (int j = 0; j < record.numberofsegments; ++j) {
        if (record.segmentmarkerlist[j] != kOutlineSegmentMarker)
            continue;
        for (int end : {record.segmentlist[2 * j], record.segmentlist[2 * j + 1]})
            if (end >= 0 && end < count)
                ends[static_cast<size_t>(end)] = 1;
    }
    return ends;
}
