// Surface snapping, exhaustive against indexed, and collinear-vertex removal on
// large meshes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "placement/collinear_vertex.h"
#include "placement/remove_collinear_vertices.h"
#include "placement/snap_shape_points.h"
#include "placement/triangle_line_index.h"

namespace {

const Point3 kDirection = Normalize(Point3(0.1f, 0.05f, -1.0f));

// A wavy height field of n x n unit cells, two triangles each.
Mesh WavyField(int n) {
    Mesh mesh;
    mesh.setNumVerts((n + 1) * (n + 1));
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            mesh.verts[j * (n + 1) + i] = Point3(
                float(i), float(j), 3.0f * std::sin(0.05f * float(i)) * std::cos(0.07f * float(j)));
    mesh.setNumFaces(2 * n * n);
    int f = 0;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const int a = j * (n + 1) + i;
            mesh.faces[f++].setVerts(a, a + 1, a + n + 2);
            mesh.faces[f++].setVerts(a, a + n + 2, a + n + 1);
        }
    }
    return mesh;
}

// Cells per side for about the given number of triangles.
int CellsFor(int triangles) {
    return static_cast<int>(std::sqrt(triangles / 2.0));
}

// Points above the field, in polylines of 100.
PolyShape ShapeAbove(int points, int n) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> coord(0.0f, float(n));
    PolyShape shape;
    for (int i = 0; i < points; ++i) {
        if (i % 100 == 0)
            shape.NewLine();
        shape.lines[shape.numLines - 1].Append(PolyPt(Point3(coord(rng), coord(rng), 20.0f)));
    }
    return shape;
}

template <void (*Snap)(PolyShape&, const Matrix3&, const Matrix3&, const Point3&, bool,
                       const Mesh&)>
void BM_Snap(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    const int n = CellsFor(static_cast<int>(state.range(1)));
    const Mesh mesh = WavyField(n);
    const PolyShape original = ShapeAbove(points, n);
    const Matrix3 identity;
    for (auto _ : state) {
        PolyShape shape = original;
        Snap(shape, identity, identity, kDirection, false, mesh);
        benchmark::DoNotOptimize(shape.lines[0].pts[0].p);
    }
    state.counters["triangles"] = mesh.numFaces;
}

void SnapSizes(benchmark::internal::Benchmark* b) {
    for (int points : {1000, 10000})
        for (int triangles : {20000, 200000, 1000000}) b->Args({points, triangles});
    b->Unit(benchmark::kMillisecond);
}

void SnapIndexed(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM,
                 const Point3& direction, bool local, const Mesh& mesh) {
    SnapShapePoints(shape, shapeTM, objectTM, direction, local, mesh);
}

void SnapIndexedOnTwoThreads(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM,
                             const Point3& direction, bool local, const Mesh& mesh) {
    SnapShapePoints(shape, shapeTM, objectTM, direction, local, mesh, nullptr, 2);
}

BENCHMARK_TEMPLATE(BM_Snap, SnapIndexed)->Apply(SnapSizes);
BENCHMARK_TEMPLATE(BM_Snap, SnapIndexedOnTwoThreads)->Apply(SnapSizes);
BENCHMARK_TEMPLATE(BM_Snap, SnapShapePointsExhaustive)->Apply(SnapSizes)->Iterations(1);

void BM_IndexBuild(benchmark::State& state) {
    const Mesh mesh = WavyField(CellsFor(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        const TriangleLineIndex index(mesh, kDirection, nullptr, static_cast<int>(state.range(1)));
        benchmark::ClobberMemory();
    }
    state.counters["triangles"] = mesh.numFaces;
}
// Triangles x threads.
BENCHMARK(BM_IndexBuild)
    ->ArgsProduct({{20000, 200000, 1000000}, {1, 2}})
    ->Unit(benchmark::kMillisecond);

// n x n octagons: every cell side carries a middle vertex with two edges in line.
// Gives the middles to use as candidates.
MNMesh OctagonGrid(int n, std::vector<int>& middles) {
    MNMesh mesh;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) mesh.NewVert(Point3(float(i), float(j), 0.0f));
    const int alongX = mesh.numv;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i < n; ++i)
            middles.push_back(mesh.NewVert(Point3(i + 0.5f, float(j), 0.0f)));
    const int alongY = mesh.numv;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i <= n; ++i)
            middles.push_back(mesh.NewVert(Point3(float(i), j + 0.5f, 0.0f)));
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const int c = j * (n + 1) + i;
            int corners[8] = {
                c,         alongX + j * n + i,       c + 1,     alongY + j * (n + 1) + i + 1,
                c + n + 2, alongX + (j + 1) * n + i, c + n + 1, alongY + j * (n + 1) + i};
            mesh.CreateFace(8, corners);
        }
    }
    return mesh;
}

// 10,000 candidates on a mesh of about a million edges.
void BM_RemoveCollinearVertices(benchmark::State& state) {
    std::vector<int> middles;
    MNMesh original = OctagonGrid(500, middles);
    const size_t step = middles.size() / 10000;
    for (size_t k = 0; k < middles.size(); k += step) original.v[middles[k]].flags |= MN_SEL;
    for (auto _ : state) {
        state.PauseTiming();
        MNMesh mesh = original;
        state.ResumeTiming();
        RemoveCollinearVertices(mesh, 0.001f);
        benchmark::DoNotOptimize(mesh.numv);
    }
    state.counters["edges"] = original.nume;
}
BENCHMARK(BM_RemoveCollinearVertices)->Unit(benchmark::kMillisecond);

// The whole-table scan of the test alone, per candidate, for comparison.
void BM_MarkCollinearVertexScan(benchmark::State& state) {
    std::vector<int> middles;
    MNMesh mesh = OctagonGrid(500, middles);
    size_t k = 0;
    for (auto _ : state) {
        MarkCollinearVertex(mesh, middles[k], 0.001f, kCollinearMark);
        k = (k + 997) % middles.size();
    }
    state.counters["edges"] = mesh.nume;
}
BENCHMARK(BM_MarkCollinearVertexScan)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
