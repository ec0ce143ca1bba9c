#include "facecut/input/triangulation_input.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "facecut/input/weld_triangulation_input.h"
#include "facecut/segment_markers.h"

namespace {

// The graph as it is built: points with depth and source tag, segments with markers.
struct Graph {
    std::vector<double> xy;
    std::vector<double> attributes;
    std::vector<int> segments;
    std::vector<int> markers;

    int Add(const Point3& q, double tag) {
        xy.push_back(q.x);
        xy.push_back(q.y);
        attributes.push_back(q.z);
        attributes.push_back(tag);
        return static_cast<int>(xy.size() / 2) - 1;
    }
    void Join(int a, int b, int marker) {
        segments.push_back(a);
        segments.push_back(b);
        markers.push_back(marker);
    }
};

template <class T>
T* MallocCopy(const std::vector<T>& values) {
    T* data = static_cast<T*>(std::malloc(sizeof(T) * (values.empty() ? 1 : values.size())));
    std::copy(values.begin(), values.end(), data);
    return data;
}

// The x-y box of the outline, widened by margin.
struct Reach {
    double lo[2] = {INFINITY, INFINITY};
    double hi[2] = {-INFINITY, -INFINITY};

    // False only when the box of a and b lies wholly outside; anything not a number
    // counts as reaching.
    bool Touches(const Point3& a, const Point3& b) const {
        return !(std::max(a.x, b.x) < lo[0] || std::min(a.x, b.x) > hi[0] ||
                 std::max(a.y, b.y) < lo[1] || std::min(a.y, b.y) > hi[1]);
    }
};

Reach ReachOf(const PolyLine& outline, double tolerance) {
    Reach reach;
    for (int i = 0; i < outline.numPts; ++i) {
        const Point3& q = outline[i].p;
        reach.lo[0] = std::min(reach.lo[0], static_cast<double>(q.x));
        reach.hi[0] = std::max(reach.hi[0], static_cast<double>(q.x));
        reach.lo[1] = std::min(reach.lo[1], static_cast<double>(q.y));
        reach.hi[1] = std::max(reach.hi[1], static_cast<double>(q.y));
    }
    double extent = std::max(reach.hi[0] - reach.lo[0], reach.hi[1] - reach.lo[1]);
    // Room for points the weld could join to points inside the box, and for rounding.
    double margin =
        2.0 * (tolerance > 0.0 ? tolerance : 0.0) + 1e-4 * (extent == extent ? extent : 0.0);
    for (int a = 0; a < 2; ++a) {
        reach.lo[a] -= margin;
        reach.hi[a] += margin;
    }
    return reach;
}

// Adds polyline k of the shape: whole when every segment reaches the outline's box, else
// the runs of consecutive segments that do. A point keeps the tag it has in the whole
// polyline: -2 at the polyline's ends, k + 1 elsewhere, also where a run is cut off.
void AddPolyline(Graph& graph, const PolyLine& line, int k, const Reach& reach) {
    int m = line.numPts;
    if (m == 0)
        return;
    bool closed = line.IsClosed();
    auto tagOf = [&](int j) { return j == 0 || (!closed && j == m - 1) ? -2.0 : k + 1.0; };
    int segmentCount = closed ? m : m - 1;
    if (segmentCount == 0) {
        if (reach.Touches(line[0].p, line[0].p))
            graph.Add(line[0].p, -2.0);
        return;
    }
    std::vector<char> reaches(static_cast<size_t>(segmentCount));
    bool all = true;
    for (int j = 0; j < segmentCount; ++j) {
        reaches[j] = reach.Touches(line[j].p, line[(j + 1) % m].p);
        all = all && reaches[j];
    }
    if (all) {
        int first = graph.Add(line[0].p, tagOf(0));
        for (int j = 1; j < m; ++j) {
            int p = graph.Add(line[j].p, tagOf(j));
            graph.Join(p - 1, p, kShapeSegmentMarker);
        }
        if (closed)
            graph.Join(first + m - 1, first, kShapeSegmentMarker);
        return;
    }
    // A closed polyline's runs start after a segment that does not reach, so that no
    // run is split at the polyline's first point.
    int start = 0;
    if (closed) {
        while (reaches[start]) ++start;
        ++start;
    }
    int previous = -1;
    for (int step = 0; step < segmentCount; ++step) {
        int j = (start + step) % segmentCount;
        if (!reaches[j]) {
            previous = -1;
            continue;
        }
        if (previous < 0)
            previous = graph.Add(line[j].p, tagOf(j));
        int end = (j + 1) % m;
        int p = graph.Add(line[end].p, tagOf(end));
        graph.Join(previous, p, kShapeSegmentMarker);
        previous = p;
    }
}

}  // namespace

void BuildTriangulationInput(const FaceCutState& state, const CutSettings& settings,
                             FaceTriangulation& tri) {
    const PolyLine& outline = state.outline;
    const PolyShape& shape = state.frameShape;
    double tolerance = WeldReach(settings.weld, state.cornerSpacing);

    Graph graph;
    int n = outline.numPts;
    for (int i = 0; i < n; ++i) graph.Add(outline.pts[i].p, -1.0);
    for (int i = 0; i < n; ++i) graph.Join(i, i + 1 < n ? i + 1 : 0, kOutlineSegmentMarker);
    // Shape segments beyond the outline's reach would only shape triangles outside the
    // face, which the rebuild drops: the graph leaves them out.
    Reach reach = ReachOf(outline, tolerance);
    for (int k = 0; k < shape.numLines; ++k) AddPolyline(graph, shape.lines[k], k, reach);

    triangulateio& in = tri.in;
    in.numberofpoints = static_cast<int>(graph.xy.size() / 2);
    in.numberofpointattributes = 2;
    in.pointlist = MallocCopy(graph.xy);
    in.pointattributelist = MallocCopy(graph.attributes);
    in.numberofsegments = static_cast<int>(graph.markers.size());
    in.segmentlist = MallocCopy(graph.segments);
    in.segmentmarkerlist = MallocCopy(graph.markers);

    std::snprintf(tri.switches, sizeof tri.switches, "zpq%.3fQ",
                  static_cast<double>(settings.minAngle));
    if (settings.dumpInput) {
        settings.dumpInput("D:\\tri_0.bin", in, true);
        settings.dumpInput("D:\\tri_0.txt", in, false);
    }
    WeldTriangulationInput(in, tolerance);
    if (settings.dumpInput)
        settings.dumpInput("D:\\tri_1.txt", in, false);
}

bool RunTriangulation(FaceTriangulation& tri) {
    triangulate(tri.switches, &tri.in, &tri.out, nullptr);
    tri.refinementLimited = triangulate_refinement_limited() != 0;
    tri.tooManyCrossings = triangulate_last_error() == TRIANGULATE_TOO_MANY_CROSSINGS;
    return triangulate_last_error() == TRIANGULATE_OK;
}
