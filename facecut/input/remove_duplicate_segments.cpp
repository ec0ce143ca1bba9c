#include "facecut/input/remove_duplicate_segments.h"

#include <cstddef>
#include <cstdint>
#include <unordered_set>

#include "facecut/segment_key.h"

void RemoveDuplicateSegments(int* segments, int* markers, int& count) {
    if (count <= 0)
        return;
    // A segment is marked a repeat only by an earlier kept one with the same ends,
    // and the first segment with given ends is always kept: the kept segments are
    // the first of each pair of ends.
    std::unordered_set<std::uint64_t> seen;
    seen.reserve(static_cast<size_t>(count));
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        int a = segments[2 * i];
        int b = segments[2 * i + 1];
        if (a == b || !seen.insert(SegmentKey(a, b)).second)
            continue;
        segments[2 * kept] = a;
        segments[2 * kept + 1] = b;
        if (markers != nullptr)
            markers[kept] = markers[i];
        ++kept;
    }
    count = kept;
}
