#include "facecut/merge_close_points.h"

#include <cmath>
#include <cstddef>

#include "facecut/sort_point_records.h"

std::vector<int> MergeClosePoints(bstPoint* records, int& count, double tol) {
    std::vector<int> map(static_cast<size_t>(count > 0 ? count : 0), 0);
    if (count <= 0)
        return map;
    bstPoint* r = records;
    SortPointRecords(r, count);
    for (int i = 1; i < count; ++i) {
        if (std::fabs(r[i].x - r[i - 1].x) < tol)
            r[i].x = r[i - 1].x;
    }
    SortPointRecords(r, count);

    int inputCount = count;
    int kept = 0;
    map[static_cast<size_t>(r[0].index)] = 0;
    for (int i = 1; i < inputCount; ++i) {
        bstPoint& k = r[kept];
        double dx = k.x - r[i].x;
        double dy = k.y - r[i].y;
        double d = std::sqrt(dx * dx + dy * dy);
        int input = r[i].index;
        if (d < tol) {
            k.x = (k.x + r[i].x) * 0.5;
            k.y = (k.y + r[i].y) * 0.5;
            k.z = (k.z + r[i].z) * 0.5;
            k.radius = std::sqrt(k.x * k.x + k.y * k.y);
            k.flags = 0;
            k.index = -1;
            --count;
        } else {
            ++kept;
            r[kept] = r[i];
        }
        map[static_cast<size_t>(input)] = kept;
    }
    return map;
}
