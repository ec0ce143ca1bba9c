#include "facecut/closed_lines_index.h"

#include <algorithm>
#include <cmath>

#include "facecut/ray_crossing.h"

ClosedLinesIndex::ClosedLinesIndex(const PolyShape& shape) {
    for (int i = 0; i < shape.numLines; ++i) {
        const PolyLine& line = shape[i];
        if (!line.IsClosed())
            continue;
        int n = line.numPts;
        for (int k = 0; k < n; ++k) edges.push_back({line[k].p, line[(k + 1) % n].p});
    }
    low = INFINITY;
    high = -INFINITY;
    std::vector<int> sortable;
    for (int e = 0; e < static_cast<int>(edges.size()); ++e) {
        const Edge& edge = edges[e];
        if (!std::isfinite(edge.a.y) || !std::isfinite(edge.b.y)) {
            unsorted.push_back(e);
            continue;
        }
        sortable.push_back(e);
        low = std::min({low, static_cast<double>(edge.a.y), static_cast<double>(edge.b.y)});
        high = std::max({high, static_cast<double>(edge.a.y), static_cast<double>(edge.b.y)});
    }
    if (sortable.empty())
        return;
    rows = std::max(1, std::min(static_cast<int>(sortable.size() / 2), 1 << 16));
    scale = high > low ? rows / (high - low) : 0.0;
    // Each edge in every row its y range touches: counted first, then filled.
    rowStart.assign(static_cast<size_t>(rows) + 1, 0);
    for (int e : sortable) {
        const Edge& edge = edges[e];
        int first = RowOf(std::min(edge.a.y, edge.b.y)), last = RowOf(std::max(edge.a.y, edge.b.y));
        for (int r = first; r <= last; ++r) ++rowStart[r + 1];
    }
    for (int r = 0; r < rows; ++r) rowStart[r + 1] += rowStart[r];
    rowEdges.resize(static_cast<size_t>(rowStart[rows]));
    std::vector<int> fill(rowStart.begin(), rowStart.end() - 1);
    for (int e : sortable) {
        const Edge& edge = edges[e];
        int first = RowOf(std::min(edge.a.y, edge.b.y)), last = RowOf(std::max(edge.a.y, edge.b.y));
        for (int r = first; r <= last; ++r) rowEdges[fill[r]++] = e;
    }
}

int ClosedLinesIndex::RowOf(double y) const {
    double r = std::floor((y - low) * scale);
    return static_cast<int>(std::min(std::max(r, 0.0), static_cast<double>(rows - 1)));
}

bool ClosedLinesIndex::Contains(const Point3& p) const {
    int count = 0;
    for (int e : unsorted) count += RayCrossesEdge(p, edges[e].a, edges[e].b);
    // An edge counts only when p's y lies in [its lower y, its upper y): none outside
    // the rows' range, and within it only edges of p's row. Rows are monotone in y, so
    // every such edge is listed in that row.
    if (rows > 0 && p.y >= low && p.y < high) {
        int r = RowOf(p.y);
        for (int k = rowStart[r]; k < rowStart[r + 1]; ++k) {
            const Edge& edge = edges[rowEdges[k]];
            count += RayCrossesEdge(p, edge.a, edge.b);
        }
    }
    return count % 2 == 1;
}
