// Weld records and triangulator input records for the weld and dump tests.
#pragma once

#include <cstdlib>
#include <cstring>
#include <vector>

#include "facecut/input/bst_point.h"
#include "triangle.h"

inline bstPoint Record(double x, double y, double z, int index) {
    bstPoint r;
    r.x = x;
    r.y = y;
    r.z = z;
    r.index = index;
    r.flags = kRecordSinglePoint;
    return r;
}

struct InputPoint {
    double x;
    double y;
    double depth;
    double tag;
};

// Weld records for points (index = position in the list).
inline std::vector<bstPoint> RecordsOf(const std::vector<InputPoint>& points) {
    std::vector<bstPoint> records;
    for (size_t i = 0; i < points.size(); ++i)
        records.push_back(Record(points[i].x, points[i].y, points[i].depth, static_cast<int>(i)));
    return records;
}

// An input record as the cut builds it: malloc'd arrays, two attributes per point;
// released with free when it goes.
class InputRecord {
public:
    InputRecord(const std::vector<InputPoint>& points, const std::vector<int>& segments,
                const std::vector<int>& markers) {
        std::memset(&io, 0, sizeof io);
        io.numberofcorners = 3;
        int n = static_cast<int>(points.size());
        io.numberofpoints = n;
        io.numberofpointattributes = 2;
        io.pointlist = static_cast<REAL*>(std::malloc(sizeof(REAL) * 2 * (n > 0 ? n : 1)));
        io.pointattributelist = static_cast<REAL*>(std::malloc(sizeof(REAL) * 2 * (n > 0 ? n : 1)));
        for (int i = 0; i < n; ++i) {
            io.pointlist[2 * i] = points[i].x;
            io.pointlist[2 * i + 1] = points[i].y;
            io.pointattributelist[2 * i] = points[i].depth;
            io.pointattributelist[2 * i + 1] = points[i].tag;
        }
        int s = static_cast<int>(markers.size());
        io.numberofsegments = s;
        io.segmentlist = static_cast<int*>(std::malloc(sizeof(int) * 2 * (s > 0 ? s : 1)));
        io.segmentmarkerlist = static_cast<int*>(std::malloc(sizeof(int) * (s > 0 ? s : 1)));
        for (int j = 0; j < 2 * s; ++j) io.segmentlist[j] = segments[j];
        for (int j = 0; j < s; ++j) io.segmentmarkerlist[j] = markers[j];
    }
    InputRecord(const InputRecord&) = delete;
    InputRecord& operator=(const InputRecord&) = delete;
    ~InputRecord() {
        std::free(io.pointlist);
        std::free(io.pointattributelist);
        std::free(io.pointmarkerlist);
        std::free(io.segmentlist);
        std::free(io.segmentmarkerlist);
    }

    std::vector<int> Segments() const {
        return std::vector<int>(io.segmentlist, io.segmentlist + 2 * io.numberofsegments);
    }
    std::vector<int> Markers() const {
        return std::vector<int>(io.segmentmarkerlist, io.segmentmarkerlist + io.numberofsegments);
    }

    triangulateio io;
};
