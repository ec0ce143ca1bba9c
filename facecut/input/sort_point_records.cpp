#include "facecut/input/sort_point_records.h"

#include <utility>

namespace {

// The only state that outlives a cut.
std::uint32_t pivotSeed = 1;

int NextPivot(int count) {
    pivotSeed = (pivotSeed * 1366u + 150889u) % 714025u;
    return static_cast<int>(pivotSeed / (714025u / static_cast<std::uint32_t>(count) + 1u));
}

}  // namespace

std::uint32_t PivotSeed() {
    return pivotSeed;
}

void SortPointRecords(bstPoint* records, int count) {
    if (count < 1)
        return;
    bstPoint* r = records;
    if (count == 2) {
        if (r[0].x > r[1].x || (r[0].x == r[1].x && r[0].y > r[1].y))
            std::swap(r[0], r[1]);
        return;
    }
    int pivot = NextPivot(count);
    double px = r[pivot].x;
    double py = r[pivot].y;
    int left = -1;
    int right = count;
    while (true) {
        ++left;
        while (left <= right && (r[left].x < px || (r[left].x == px && r[left].y < py))) ++left;
        --right;
        while (left <= right && (r[right].x > px || (r[right].x == px && r[right].y > py))) --right;
        if (left >= right)
            break;
        std::swap(r[left], r[right]);
    }
    if (left > 1)
        SortPointRecords(r, left);
    if (right < count - 2)
        SortPointRecords(r + right + 1, count - right - 1);
}
