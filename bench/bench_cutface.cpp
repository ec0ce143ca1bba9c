// CutFace whole, and the share of its time spent inside the triangulator: a
// 10 by 10 grid cut by a 50-point zig-zag, and one face cut by a 1,000-point circle.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

#include "facecut/face_triangulation.h"
#include "facecut/input/triangulation_input.h"
#include "facecut/prepare/prepare_face_cut.h"
#include "facecut/rebuild/rebuild_face.h"

namespace {

void Grid(MNMesh& m, int n, float size) {
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) m.NewVert(Point3(size * i / n, size * j / n, 0.0f));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i;
            int c[4] = {a, a + 1, a + n + 2, a + n + 1};
            int face = m.CreateFace(4, c);
            m.f[face].SetFlag(MN_SEL);
        }
}

// Cuts every face of the mesh as the pipeline does, timing the triangulator apart.
void CutAll(benchmark::State& state, void (*build)(MNMesh&, PolyShape&)) {
    double inside = 0.0, total = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        MNMesh m;
        PolyShape shape;
        build(m, shape);
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        int faces = m.numf;
        CutSettings settings;
        settings.direction = Point3(0, 0, -1);
        settings.removeUnused = true;
        settings.minAngle = 27.0f;
        settings.weld = 0.001f;
        CutTrace trace;
        for (int f = 0; f < faces; ++f) {
            FaceCutState cut;
            if (!PrepareFaceCut(m, f, shape, settings, cut))
                continue;
            FaceTriangulation tri;
            BuildTriangulationInput(cut, settings, tri);
            auto a = std::chrono::steady_clock::now();
            bool ok = RunTriangulation(tri);
            inside += std::chrono::duration<double>(std::chrono::steady_clock::now() - a).count();
            if (ok)
                RebuildFace(m, f, cut, settings, tri, trace);
        }
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["triangulate_share"] = total > 0.0 ? inside / total : 0.0;
}

void ZigZagOverGrid(MNMesh& m, PolyShape& shape) {
    Grid(m, 10, 10.0f);
    PolyLine& line = shape.NewLine();
    for (int i = 0; i < 50; ++i)
        line.Append(PolyPt(Point3(-0.5f + 11.0f * i / 49, i % 2 ? 8.5f : 1.5f, 0.0f)));
}

void CircleOverFace(MNMesh& m, PolyShape& shape) {
    Grid(m, 1, 1.0f);
    PolyLine& line = shape.NewLine();
    for (int i = 0; i < 1000; ++i) {
        float a = 2.0f * 3.14159265f * i / 1000;
        line.Append(PolyPt(Point3(0.5f + 0.4f * std::cos(a), 0.5f + 0.4f * std::sin(a), 0.0f)));
    }
    line.Close();
}

void BM_CutFaceZigZagGrid(benchmark::State& state) {
    CutAll(state, ZigZagOverGrid);
}
void BM_CutFaceCircle(benchmark::State& state) {
    CutAll(state, CircleOverFace);
}
BENCHMARK(BM_CutFaceZigZagGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CutFaceCircle)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
