// Inside tests of many points against the closed polylines of one shape.
#pragma once

#include <vector>

#include "point3.h"
#include "polyshp.h"

// Takes the shape (copied from; it may change afterwards). Contains(p) gives exactly
// what PointInClosedLines(p, shape) gives, in time proportional to the edges near p's
// height instead of all edges: the edges of the closed polylines are kept in rows by
// their y range, and only an edge whose y range holds p's y can be crossed by the ray.
class ClosedLinesIndex {
public:
    explicit ClosedLinesIndex(const PolyShape& shape);
    bool Contains(const Point3& p) const;

private:
    struct Edge {
        Point3 a;
        Point3 b;
    };
    int RowOf(double y) const;

    std::vector<Edge> edges;
    std::vector<int> rowStart;  // rows + 1 offsets into rowEdges
    std::vector<int> rowEdges;  // edge numbers, row by row
    std::vector<int> unsorted;  // edges with an end whose y is not finite: always tested
    double low = 0.0;
    double high = 0.0;
    double scale = 0.0;  // rows per unit of y
    int rows = 0;
};
