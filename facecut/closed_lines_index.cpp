#include "facecut/closed_lines_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "facecut/ray_crossing.h"

namespace {

// Enough rows that a row holds a few short edges, few enough that the cell offsets stay
// small beside the edges.
const int kMaxRows = 1 << 16;

}  // namespace

ClosedLinesIndex::ClosedLinesIndex(const PolyShape& shape) {
    for (int i = 0; i < shape.numLines; ++i) {
        const PolyLine& line = shape[i];
        if (!line.IsClosed())
            continue;
        int n = line.numPts;
        for (int k = 0; k < n; ++k) edges.push_back({line[k].p, line[(k + 1) % n].p});
    }
    if (edges.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("closed lines index: too many edges");
    low = INFINITY;
    high = -INFINITY;
    std::vector<std::uint32_t> sortable;
    for (std::size_t e = 0; e < edges.size(); ++e) {
        const Edge& edge = edges[e];
        if (!std::isfinite(edge.a.y) || !std::isfinite(edge.b.y)) {
            unsorted.push_back(static_cast<std::uint32_t>(e));
            continue;
        }
        sortable.push_back(static_cast<std::uint32_t>(e));
        low = std::min({low, static_cast<double>(edge.a.y), static_cast<double>(edge.b.y)});
        high = std::max({high, static_cast<double>(edge.a.y), static_cast<double>(edge.b.y)});
    }
    if (sortable.empty())
        return;
    rows = 1;
    levels = 1;
    while (rows < kMaxRows && static_cast<std::size_t>(rows) * 4 <= sortable.size()) {
        rows *= 2;
        ++levels;
    }
    scale = high > low ? rows / (high - low) : 0.0;
    levelCell.assign(static_cast<std::size_t>(levels) + 1, 0);
    for (int level = 0; level < levels; ++level)
        levelCell[level + 1] = levelCell[level] + static_cast<std::size_t>(rows >> level);
    // Each edge in the one or two cells of its level: counted first, then filled.
    cellStart.assign(levelCell[levels] + 1, 0);
    auto cellsOf = [this](const Edge& edge, std::size_t& first, std::size_t& last) {
        int firstRow = RowOf(std::min(edge.a.y, edge.b.y));
        int lastRow = RowOf(std::max(edge.a.y, edge.b.y));
        int level = LevelOf(firstRow, lastRow);
        first = levelCell[level] + static_cast<std::size_t>(firstRow >> level);
        last = levelCell[level] + static_cast<std::size_t>(lastRow >> level);
    };
    for (std::uint32_t e : sortable) {
        std::size_t first, last;
        cellsOf(edges[e], first, last);
        ++cellStart[first + 1];
        if (last != first)
            ++cellStart[last + 1];
    }
    for (std::size_t c = 0; c + 1 < cellStart.size(); ++c) cellStart[c + 1] += cellStart[c];
    cellEdges.resize(cellStart.back());
    std::vector<std::size_t> fill(cellStart.begin(), cellStart.end() - 1);
    for (std::uint32_t e : sortable) {
        std::size_t first, last;
        cellsOf(edges[e], first, last);
        cellEdges[fill[first]++] = e;
        if (last != first)
            cellEdges[fill[last]++] = e;
    }
}

int ClosedLinesIndex::RowOf(double y) const {
    double r = std::floor((y - low) * scale);
    return static_cast<int>(std::min(std::max(r, 0.0), static_cast<double>(rows - 1)));
}

int ClosedLinesIndex::LevelOf(int first, int last) const {
    int level = 0;
    while ((last >> level) - (first >> level) > 1) ++level;
    return level;
}

bool ClosedLinesIndex::Contains(const Point3& p) const {
    int count = 0;
    for (std::uint32_t e : unsorted) count += RayCrossesEdge(p, edges[e].a, edges[e].b);
    // An edge counts only when p's y lies in [its lower y, its upper y): none outside
    // the rows' range, and within it only edges whose rows hold p's row. Rows are
    // monotone in y, so every such edge is in the cell of its level that holds p's row,
    // and in no other cell looked at.
    if (rows > 0 && p.y >= low && p.y < high) {
        int r = RowOf(p.y);
        for (int level = 0; level < levels; ++level) {
            std::size_t cell = levelCell[level] + static_cast<std::size_t>(r >> level);
            for (std::size_t k = cellStart[cell]; k < cellStart[cell + 1]; ++k) {
                const Edge& edge = edges[cellEdges[k]];
                count += RayCrossesEdge(p, edge.a, edge.b);
            }
        }
    }
    return count % 2 == 1;
}
