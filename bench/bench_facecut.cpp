// Throughput of the face cut's first phase over a large grid.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "facecut/face_cut_state.h"
#include "facecut/prepare_face_cut.h"
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
    Point3 down(0.0f, 0.0f, -1.0f);
    int cut = 0;
    for (auto _ : state) {
        cut = 0;
        for (int f = 0; f < mesh.numf; ++f) {
            FaceCutState faceState;
            cut += PrepareFaceCut(mesh, f, shape, false, down, false, faceState);
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

}  // namespace

BENCHMARK(BM_FirstPhaseCircle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstPhaseDiagonal)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
