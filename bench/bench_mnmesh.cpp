// Throughput of the poly mesh's building, copying and welding on large meshes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "mnmesh.h"

namespace {

// n by n quads, each with its own four corners, flagged for the weld: every inner
// corner has up to three partners at distance zero.
void LooseGrid(MNMesh& m, int n) {
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int c[4];
            c[0] = m.NewVert(Point3(float(i), float(j), 0.0f));
            c[1] = m.NewVert(Point3(float(i + 1), float(j), 0.0f));
            c[2] = m.NewVert(Point3(float(i + 1), float(j + 1), 0.0f));
            c[3] = m.NewVert(Point3(float(i), float(j + 1), 0.0f));
            m.CreateFace(4, c);
        }
    for (int i = 0; i < m.numv; ++i) m.v[i].SetFlag(0x4000000);
}

// n by n quads sharing their corners.
void SharedGrid(MNMesh& m, int n) {
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) m.NewVert(Point3(float(i), float(j), 0.0f));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i;
            int c[4] = {a, a + 1, a + n + 2, a + n + 1};
            m.CreateFace(4, c);
        }
}

// A shared-vertex grid of about `faces` quads.
void BM_CreateFace(benchmark::State& state) {
    int n = static_cast<int>(std::sqrt(double(state.range(0))));
    for (auto _ : state) {
        MNMesh m;
        SharedGrid(m, n);
        benchmark::DoNotOptimize(m.nume);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(n) * n);
    state.SetLabel("faces/s");
}
BENCHMARK(BM_CreateFace)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Copying and then freeing a grid of about `faces` quads: what an evaluation does
// with the object before the modifiers see it, and with the last result.
void BM_CopyAndFree(benchmark::State& state) {
    int n = static_cast<int>(std::sqrt(double(state.range(0))));
    MNMesh original;
    SharedGrid(original, n);
    for (auto _ : state) {
        MNMesh* copy = new MNMesh(original);
        benchmark::DoNotOptimize(copy->numf);
        delete copy;
    }
    state.SetItemsProcessed(state.iterations() * int64_t(n) * n);
    state.SetLabel("faces/s");
}
BENCHMARK(BM_CopyAndFree)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Welding border vertices of about `verts` vertices.
void BM_WeldBorderVerts(benchmark::State& state) {
    int n = static_cast<int>(std::sqrt(double(state.range(0)) / 4.0));
    for (auto _ : state) {
        state.PauseTiming();
        MNMesh m;
        LooseGrid(m, n);
        state.ResumeTiming();
        benchmark::DoNotOptimize(m.WeldBorderVerts(0.001f, 0x4000000));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(n) * n * 4);
    state.SetLabel("vertices/s");
}
BENCHMARK(BM_WeldBorderVerts)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
