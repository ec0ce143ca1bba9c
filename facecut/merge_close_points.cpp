#include "facecut/merge_close_points.h"

#include <cmath>
#include <cstddef>

#include "facecut/sort_point_records.h"

std::vector<int> MergeClosePoints(bstPoint* records, int& count, double tol) {
    std::vector<int> map(static_cast<size_t>(count > 0 ? count : 0), 0);
    if (count <= 0)
        return map;
    bstPoint* r = records;
    // The snapped x only lines up close points for the walk; the kept records end at
    // their own x, or the running midpoint of the own x of those merged. Moved along
    // a chain of snaps, a point on a steep outline edge left the edge.
    std::vector<double> ownX(map.size());
    for (int i = 0; i < count; ++i) ownX[static_cast<size_t>(r[i].index)] = r[i].x;
    SortPointRecords(r, count);
    for (int i = 1; i < count; ++i) {
        if (std::fabs(r[i].x - r[i - 1].x) < tol)
            r[i].x = r[i - 1].x;
    }
    SortPointRecords(r, count);

    int inputCount = count;
    int kept = 0;
    std::vector<double> keptX(map.size());
    keptX[0] = ownX[static_cast<size_t>(r[0].index)];
    map[static_cast<size_t>(r[0].index)] = 0;
    for (int i = 1; i < inputCount; ++i) {
        bstPoint& k = r[kept];
        double dx = k.x - r[i].x;
        double dy = k.y - r[i].y;
        double d = std::sqrt(dx * dx + dy * dy);
        int input = r[i].index;
        if (d < tol) {
            keptX[static_cast<size_t>(kept)] =
                (keptX[static_cast<size_t>(kept)] + ownX[static_cast<size_t>(input)]) * 0.5;
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
            keptX[static_cast<size_t>(kept)] = ownX[static_cast<size_t>(input)];
        }
        map[static_cast<size_t>(input)] = kept;
    }
    for (int i = 0; i < count; ++i) {
        r[i].x = keptX[static_cast<size_t>(i)];
        r[i].radius = std::sqrt(r[i].x * r[i].x + r[i].y * r[i].y);
    }
    return map;
}
