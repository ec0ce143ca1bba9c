#include "facecut/input/merge_close_points.h"

#include <cmath>
#include <cstddef>

#include "facecut/input/sort_point_records.h"

namespace {

// Where a kept record ends: the running midpoint of its points' own places, or of
// its anchored points' alone once it holds one.
struct Place {
    double x = 0.0, y = 0.0, z = 0.0;
    bool anchored = false;

    void Take(const bstPoint& r, double ownX, bool anchor) {
        if (anchor && !anchored) {
            *this = Place{ownX, r.y, r.z, true};
        } else if (anchor || !anchored) {
            x = (x + ownX) * 0.5;
            y = (y + r.y) * 0.5;
            z = (z + r.z) * 0.5;
        }
    }
};

}  // namespace

std::vector<int> MergeClosePoints(bstPoint* records, int& count, double tol,
                                  const std::vector<char>& anchored) {
    std::vector<int> map(static_cast<size_t>(count > 0 ? count : 0), 0);
    if (count <= 0)
        return map;
    bstPoint* r = records;
    // The snapped x only lines up close points for the walk; the kept records end at
    // their own places. Moved along a chain of snaps, a point on a steep outline edge
    // left the edge.
    std::vector<double> ownX(map.size());
    for (int i = 0; i < count; ++i) ownX[static_cast<size_t>(r[i].index)] = r[i].x;
    auto isAnchored = [&](int input) {
        return static_cast<size_t>(input) < anchored.size() &&
               anchored[static_cast<size_t>(input)] != 0;
    };
    SortPointRecords(r, count);
    for (int i = 1; i < count; ++i) {
        if (std::fabs(r[i].x - r[i - 1].x) < tol)
            r[i].x = r[i - 1].x;
    }
    SortPointRecords(r, count);

    int inputCount = count;
    int kept = 0;
    std::vector<Place> places(map.size());
    places[0] =
        Place{ownX[static_cast<size_t>(r[0].index)], r[0].y, r[0].z, isAnchored(r[0].index)};
    map[static_cast<size_t>(r[0].index)] = 0;
    for (int i = 1; i < inputCount; ++i) {
        bstPoint& k = r[kept];
        double dx = k.x - r[i].x;
        double dy = k.y - r[i].y;
        double d = std::sqrt(dx * dx + dy * dy);
        int input = r[i].index;
        if (d < tol) {
            places[static_cast<size_t>(kept)].Take(r[i], ownX[static_cast<size_t>(input)],
                                                   isAnchored(input));
            // The walk's own midpoint, in x and y only: the place comes from places.
            k.x = (k.x + r[i].x) * 0.5;
            k.y = (k.y + r[i].y) * 0.5;
            k.flags = 0;
            k.index = -1;
            --count;
        } else {
            ++kept;
            r[kept] = r[i];
            places[static_cast<size_t>(kept)] =
                Place{ownX[static_cast<size_t>(input)], r[i].y, r[i].z, isAnchored(input)};
        }
        map[static_cast<size_t>(input)] = kept;
    }
    for (int i = 0; i < count; ++i) {
        const Place& place = places[static_cast<size_t>(i)];
        r[i].x = place.x;
        r[i].y = place.y;
        r[i].z = place.z;
        r[i].radius = std::sqrt(r[i].x * r[i].x + r[i].y * r[i].y);
    }
    return map;
}
