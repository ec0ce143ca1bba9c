// Throughput of the face cut's first phase over a large grid, and of the weld of
// the triangulation input.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "facecut/face_cut_state.h"
#include "facecut/input/weld_triangulation_input.h"
#include "facecut/prepare/prepare_face_cut.h"
#include "mnmesh.h"
#include "polyshp.h"

namespace {

// 400 by 250 unit quads in the xy plane, facing +z: 100,000 faces.
constexpr int kGridX = 400;
constexpr int kGridY = 250;

void Grid(MNMesh& m) {
    for (int j = 0; j <= kGridY; ++j)
        for (int i = 0; i <= kGridX; ++i) m.NewVert(Point3(float(i), float(j), 0.0f));
    for (int j = 0; j < kGridY; ++j)
        for (int i = 0; i < kGridX; ++i) {
            int a = j * (kGridX + 1) + i;
            int c[4] = {a, a + 1, a + kGridX + 2, a + kGridX + 1};
            m.CreateFace(4, c);
        }
}

// A closed circle of 1,000 points across the grid, slightly above it.
PolyShape Circle() {
    PolyShape shape;
    PolyLine& line = shape.NewLine();
    for (int k = 0; k < 1000; ++k) {
        double a = 2.0 * 3.14159265358979 * k / 1000.0;
        line.Append(PolyPt(
            Point3(float(200.0 + 110.0 * std::cos(a)), float(125.0 + 110.0 * std::sin(a)), 0.25f)));
    }
    line.Close();
    return shape;
}

// An open straight line of 1,000 points across the grid: every segment's line
// passes through the same faces.
PolyShape Diagonal() {
    PolyShape shape;
    PolyLine& line = shape.NewLine();
    for (int k = 0; k < 1000; ++k)
        line.Append(PolyPt(Point3(float(10.0 + 0.38 * k), float(10.0 + 0.23 * k), 0.25f)));
    return shape;
}

void RunFirstPhase(benchmark::State& state, const PolyShape& shape) {
    MNMesh mesh;
    Grid(mesh);
    CutSettings settings;
    settings.direction = Point3(0.0f, 0.0f, -1.0f);
    int cut = 0;
    for (auto _ : state) {
        cut = 0;
        for (int f = 0; f < mesh.numf; ++f) {
            FaceCutState faceState;
            cut += PrepareFaceCut(mesh, f, shape, settings, faceState);
        }
        benchmark::DoNotOptimize(cut);
    }
    state.counters["faces cut"] = cut;
    state.counters["faces/s"] =
        benchmark::Counter(double(mesh.numf), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_FirstPhaseCircle(benchmark::State& state) {
    RunFirstPhase(state, Circle());
}
void BM_FirstPhaseDiagonal(benchmark::State& state) {
    RunFirstPhase(state, Diagonal());
}

// A triangulation input as a cut builds it for a unit square face: the outline
// with the shape points that lie on it, then closed circles (crossing the outline
// and each other) and open wavy lines inside, about `points` points in all. Every shape
// point on the outline is there twice, once as an outline point.
struct WeldInput {
    std::vector<double> xy;
    std::vector<double> attributes;
    std::vector<int> segments;
    std::vector<int> markers;

    void Point(double x, double y, double depth, double tag) {
        xy.push_back(x);
        xy.push_back(y);
        attributes.push_back(depth);
        attributes.push_back(tag);
    }
    void Segment(int a, int b, int marker) {
        segments.push_back(a);
        segments.push_back(b);
        markers.push_back(marker);
    }
};

WeldInput MakeWeldInput(int points) {
    WeldInput in;
    int lines = points / 400 + 1;
    // Outline: the square's corners and, on its bottom edge, the points where the
    // circles cross it.
    std::vector<double> onEdge;
    for (int k = 0; k < lines; ++k) onEdge.push_back((k + 0.5) / lines);
    in.Point(0, 0, 0, -1);
    for (double x : onEdge) in.Point(x, 0, 0, -1);
    in.Point(1, 0, 0, -1);
    in.Point(1, 1, 0, -1);
    in.Point(0, 1, 0, -1);
    int outline = static_cast<int>(in.xy.size() / 2);
    for (int i = 0; i < outline; ++i) in.Segment(i, (i + 1) % outline, 2);
    // Closed circles centred on the bottom edge: their first point lies on it.
    int perLine = (points - outline) / (2 * lines);
    for (int k = 0; k < lines; ++k) {
        int first = static_cast<int>(in.xy.size() / 2);
        double r = 0.2;
        for (int j = 0; j < perLine; ++j) {
            double a = -1.5707963 + 6.2831853 * j / perLine;
            in.Point(onEdge[k] + r * std::cos(a) * (j == 0 ? 0.0 : 1.0), r + r * std::sin(a),
                     0.01 * j, j == 0 ? -2.0 : k + 1.0);
            if (j > 0)
                in.Segment(first + j - 1, first + j, 3);
        }
        in.Segment(first + perLine - 1, first, 3);
    }
    // Open wavy lines across the inside, with close pairs of points.
    for (int k = 0; k < lines; ++k) {
        int first = static_cast<int>(in.xy.size() / 2);
        for (int j = 0; j < perLine; ++j) {
            double x = 0.05 + 0.9 * j / perLine;
            double y = 0.5 + 0.4 * (k + 0.5) / lines + 0.01 * std::sin(40.0 * x);
            if (j % 7 == 3)
                x = in.xy[2 * (first + j - 1)] + 0.0004;
            bool end = j == 0 || j == perLine - 1;
            in.Point(x, y, 0.0, end ? -2.0 : lines + k + 1.0);
            if (j > 0)
                in.Segment(first + j - 1, first + j, 3);
        }
    }
    return in;
}

void BM_Weld(benchmark::State& state) {
    WeldInput in = MakeWeldInput(static_cast<int>(state.range(0)));
    int n = static_cast<int>(in.xy.size() / 2);
    int s = static_cast<int>(in.markers.size());
    int welded = 0;
    for (auto _ : state) {
        triangulateio io;
        std::memset(&io, 0, sizeof io);
        io.numberofpoints = n;
        io.numberofpointattributes = 2;
        io.numberofsegments = s;
        io.pointlist = static_cast<REAL*>(std::malloc(sizeof(REAL) * 2 * n));
        io.pointattributelist = static_cast<REAL*>(std::malloc(sizeof(REAL) * 2 * n));
        io.segmentlist = static_cast<int*>(std::malloc(sizeof(int) * 2 * s));
        io.segmentmarkerlist = static_cast<int*>(std::malloc(sizeof(int) * s));
        std::memcpy(io.pointlist, in.xy.data(), sizeof(REAL) * 2 * n);
        std::memcpy(io.pointattributelist, in.attributes.data(), sizeof(REAL) * 2 * n);
        std::memcpy(io.segmentlist, in.segments.data(), sizeof(int) * 2 * s);
        std::memcpy(io.segmentmarkerlist, in.markers.data(), sizeof(int) * s);
        WeldTriangulationInput(io, 0.001);
        welded = io.numberofpoints;
        std::free(io.pointlist);
        std::free(io.pointattributelist);
        std::free(io.segmentlist);
        std::free(io.segmentmarkerlist);
    }
    state.counters["points"] = n;
    state.counters["segments"] = s;
    state.counters["welded"] = welded;
}

}  // namespace

BENCHMARK(BM_Weld)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstPhaseCircle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstPhaseDiagonal)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
