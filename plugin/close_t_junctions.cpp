#include "plugin/close_t_junctions.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

namespace {

typedef std::tuple<std::int64_t, std::int64_t, std::int64_t> Cell;

// How far off an edge, as the sine of the angle seen from its nearer end, a vertex
// may lie and still be taken for a point of it.
constexpr float kAlongSine = 0.005f;
// Rounding steps of single precision that copies of a point may differ by.
constexpr float kRoundingSteps = 16.0f;

bool CellCoord(double c, double size, std::int64_t& out) {
    double q = std::floor(c / size);
    if (!(std::fabs(q) < 1e15))
        return false;
    out = static_cast<std::int64_t>(q);
    return true;
}

bool IsBorderVertex(const MNMesh& mesh, int vv) {
    for (int ed : mesh.VertEdges(vv))
        if (mesh.e[ed].f2 < 0)
            return true;
    return false;
}

bool TouchesFace(const MNMesh& mesh, int vv, int face) {
    for (int ed : mesh.VertEdges(vv))
        if (mesh.e[ed].f1 == face || mesh.e[ed].f2 == face)
            return true;
    return false;
}

// Whether a and b are corners of one face: the weld never joins such a pair.
bool ShareAFace(const MNMesh& mesh, int a, int b) {
    for (int ed : mesh.VertEdges(a)) {
        const MNEdge& edge = mesh.e[ed];
        if (TouchesFace(mesh, b, edge.f1) || (edge.f2 >= 0 && TouchesFace(mesh, b, edge.f2)))
            return true;
    }
    return false;
}

// Whether a border edge joins a and b.
bool BorderEdgeJoins(const MNMesh& mesh, int a, int b) {
    for (int ed : mesh.VertEdges(a)) {
        const MNEdge& edge = mesh.e[ed];
        if (edge.f2 < 0 && (edge.v1 == b || edge.v2 == b))
            return true;
    }
    return false;
}

// Whether the weld can take p to end (index vv) of an edge instead: the two lie closer
// than the threshold and are not corners of one face.
bool WeldsToEnd(const MNMesh& mesh, int vv, const Point3& p, int end, float thresh) {
    return !(Length(p - mesh.P(end)) >= thresh) && !ShareAFace(mesh, vv, end);
}

// Whether p, dist off the line of a->b, lies along the edge as seen from both ends.
// A point of the edge lies off it by rounding only; near a sharp corner (the pole of
// a sphere) a vertex inside the next face lies within the threshold of the edge too.
// A vertex that closes a triangular hole with the edge needs no such test.
bool AlongEdge(const Point3& p, const Point3& a, const Point3& b, float dist) {
    float scale = 0.0f;
    for (int k = 0; k < 3; ++k)
        scale = std::max({scale, std::fabs(p[k]), std::fabs(a[k]), std::fabs(b[k])});
    float rounding = kRoundingSteps * FLT_EPSILON * scale;
    return !(dist > std::max(kAlongSine * std::min(Length(p - a), Length(p - b)), rounding));
}

}  // namespace

int CloseTJunctions(MNMesh& mesh, float thresh, DWORD flag) {
    if (!(thresh > 0.0f))
        return 0;
    std::vector<int> borderEdges;
    double total = 0.0;
    for (int ed = 0; ed < mesh.nume; ++ed) {
        const MNEdge& edge = mesh.e[ed];
        if ((edge.flags & MN_DEAD) || edge.f2 >= 0)
            continue;
        double len = Length(mesh.P(edge.v2) - mesh.P(edge.v1));
        if (!std::isfinite(len))
            continue;
        borderEdges.push_back(ed);
        total += len;
    }
    if (borderEdges.empty())
        return 0;

    // Cells about as large as a border edge: each edge, widened by the threshold,
    // covers a few cells, and a vertex finds every edge near it in its own cell.
    double size = std::max(static_cast<double>(thresh), total / borderEdges.size());
    std::map<Cell, std::vector<int>> grid;
    auto insert = [&](int ed, const Point3& a, const Point3& b) {
        std::int64_t lo[3], hi[3];
        for (int k = 0; k < 3; ++k) {
            double mn = std::min(a[k], b[k]) - thresh, mx = std::max(a[k], b[k]) + thresh;
            if (!CellCoord(mn, size, lo[k]) || !CellCoord(mx, size, hi[k]) || hi[k] - lo[k] > 64)
                return;
        }
        for (std::int64_t x = lo[0]; x <= hi[0]; ++x)
            for (std::int64_t y = lo[1]; y <= hi[1]; ++y)
                for (std::int64_t z = lo[2]; z <= hi[2]; ++z) grid[Cell(x, y, z)].push_back(ed);
    };
    for (int ed : borderEdges) insert(ed, mesh.P(mesh.e[ed].v1), mesh.P(mesh.e[ed].v2));

    int splits = 0;
    int vertexCount = mesh.numv;  // vertices the splits add are not candidates
    for (int vv = 0; vv < vertexCount; ++vv) {
        const MNVert& vert = mesh.v[vv];
        if ((vert.flags & MN_DEAD) || !(vert.flags & flag) || !IsBorderVertex(mesh, vv))
            continue;
        Point3 p = vert.p;
        std::int64_t c[3];
        if (!CellCoord(p.x, size, c[0]) || !CellCoord(p.y, size, c[1]) ||
            !CellCoord(p.z, size, c[2]))
            continue;
        auto cell = grid.find(Cell(c[0], c[1], c[2]));
        if (cell == grid.end())
            continue;
        int best = -1;
        float bestDist = thresh, bestProp = 0.0f;
        for (int ed : cell->second) {
            const MNEdge& edge = mesh.e[ed];
            if ((edge.flags & MN_DEAD) || edge.f2 >= 0 || edge.v1 == vv || edge.v2 == vv ||
                TouchesFace(mesh, vv, edge.f1))
                continue;
            Point3 a = mesh.P(edge.v1), b = mesh.P(edge.v2);
            Point3 d = b - a;
            float len2 = d % d;
            if (!(len2 > 0.0f))
                continue;
            float prop = ((p - a) % d) / len2;
            // A triangular hole whose other two sides end at the vertex: the vertex
            // closes it from the edge's middle when the weld cannot take it to an end.
            bool hole = BorderEdgeJoins(mesh, vv, edge.v1) && BorderEdgeJoins(mesh, vv, edge.v2);
            if (hole && !(prop > 0.0f && prop < 1.0f) && Length(p - a) < thresh &&
                Length(p - b) < thresh)
                prop = 0.5f;
            if (!(prop > 0.0f && prop < 1.0f))
                continue;
            // A vertex near an end it can be welded to is left to the weld; one near an
            // end of its own face (a cut point beside the corner) never would be.
            if (WeldsToEnd(mesh, vv, p, edge.v1, thresh) ||
                WeldsToEnd(mesh, vv, p, edge.v2, thresh))
                continue;
            float dist = Length(p - (a + d * prop));
            if (!hole && !AlongEdge(p, a, b, dist))
                continue;
            if (dist < bestDist) {
                best = ed;
                bestDist = dist;
                bestProp = prop;
            }
        }
        if (best < 0)
            continue;
        Point3 a = mesh.P(mesh.e[best].v1), b = mesh.P(mesh.e[best].v2);
        int nv = mesh.SplitEdge(best, bestProp);
        if (nv < 0)
            continue;
        mesh.v[nv].SetFlag(flag);
        ++splits;
        // The piece beyond the new corner lies within the old edge's cells.
        for (int ed : mesh.VertEdges(nv))
            if (ed != best)
                insert(ed, a, b);
    }
    return splits;
}
