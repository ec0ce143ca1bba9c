// Inside tests of many points against the closed polylines of one shape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "point3.h"
#include "polyshp.h"

// Takes the shape (copied from; it may change afterwards). Contains(p) gives exactly
// what PointInClosedLines(p, shape) gives, in time proportional to the edges near p's
// height instead of all edges: only an edge whose y range holds p's y can be crossed
// by the ray.
//
// The y range of the edges is cut into rows, and the rows are grouped in levels of
// cells, each cell of level L holding 2^L rows. Every edge is kept in the lowest level
// where its rows touch at most two cells, and in those cells only, so the index holds
// at most two entries per edge however long the edges are; a point looks at one cell
// per level.
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
    int LevelOf(int first, int last) const;

    std::vector<Edge> edges;
    std::vector<std::size_t> levelCell;    // levels + 1: the first cell of each level
    std::vector<std::size_t> cellStart;    // cells + 1: offsets into cellEdges
    std::vector<std::uint32_t> cellEdges;  // edge numbers, cell by cell
    std::vector<std::uint32_t> unsorted;   // edges with an end whose y is not finite: always tested
    double low = 0.0;
    double high = 0.0;
    double scale = 0.0;  // rows per unit of y
    int rows = 0;        // a power of two
    int levels = 0;
};
