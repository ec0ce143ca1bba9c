// Whole evaluations of the loaded plug-in, and where their time goes: a UV sphere
// cut by a star or a circle lying above it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>

#include "bench/uv_sphere.h"
#include "facecut/face_triangulation.h"
#include "facecut/input/triangulation_input.h"
#include "facecut/prepare/prepare_face_cut.h"
#include "facecut/rebuild/rebuild_face.h"
#include "placement/orient_projection_direction.h"
#include "placement/projection_frame.h"
#include "placement/snap_shape_points.h"
#include "polyobj.h"
#include "session/cut_session.h"
#include "splshape.h"

namespace {

SplineShape* Polygon(int points, float outer, float inner) {
    SplineShape* shape = new SplineShape();
    Spline3D spline;
    for (int i = 0; i < points; ++i) {
        float r = (i % 2 == 0) ? outer : inner;
        float a = 2.0f * 3.14159265f * i / points;
        Point3 p(r * std::cos(a), r * std::sin(a), 0.0f);
        spline.AddKnot(SplineKnot(p, p, p));
    }
    spline.closed = true;
    shape->shape.splines.push_back(spline);
    return shape;
}

// Shape 0: a 10-point star; shape 1: a 1,000-point circle.
SplineShape* TestShape(int which) {
    return which == 0 ? Polygon(10, 0.6f, 0.25f) : Polygon(1000, 0.5f, 0.5f);
}

void BM_Evaluate(benchmark::State& state) {
    std::string error;
    std::unique_ptr<CutSession> session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
    if (!session || !session->SetParameter("weld_on", "on", error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    session->SetObject(UvSphere(static_cast<int>(state.range(0))), L"sphere");
    std::unique_ptr<SplineShape> shape(TestShape(static_cast<int>(state.range(1))));
    session->SetPlacedShape(shape->shape, TransMatrix(Point3(0, 0, 3)));
    session->PickShape();
    for (auto _ : state) benchmark::DoNotOptimize(session->Evaluate(CutProgress(), false));
}
BENCHMARK(BM_Evaluate)
    ->Args({20000, 0})
    ->Args({20000, 1})
    ->Args({200000, 0})
    ->Unit(benchmark::kMillisecond);

// The same evaluation taken apart: each stage timed on its own.
void BM_Stages(benchmark::State& state) {
    double snap = 0, prepare = 0, build = 0, triangulate = 0, rebuild = 0;
    int cut = 0;
    for (auto _ : state) {
        PolyObject* obj = UvSphere(static_cast<int>(state.range(0)));
        SplineShape* spline = TestShape(static_cast<int>(state.range(1)));
        MNMesh& m = obj->mm;
        PolyShape shape;
        spline->MakePolyShape(0, shape, 6, TRUE);
        Matrix3 shapeTM = TransMatrix(Point3(0, 0, 3)), objectTM;
        Tab<Point3> points;
        for (int i = 0; i < shape.numLines; ++i)
            for (int j = 0; j < shape[i].numPts; ++j) {
                Point3 p = shape[i][j].p * shapeTM;
                points.Append(1, &p);
            }
        auto clock = [] { return std::chrono::steady_clock::now(); };
        auto seconds = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
        auto t0 = clock();
        Point3 d = OrientProjectionDirection(ComputeProjectionFrame(points), objectTM, shapeTM);
        Mesh tri;
        m.OutToTri(tri);
        SnapShapePoints(shape, shapeTM, objectTM, d, false, tri);
        snap += seconds(t0, clock());
        int faces = m.numf;
        CutSettings settings;
        settings.direction = d;
        settings.removeUnused = true;
        settings.minAngle = 27.0f;
        settings.weld = 0.001f;
        CutTrace trace;
        for (int f = 0; f < faces; ++f) {
            auto a = clock();
            FaceCutState cutState;
            bool cuts = PrepareFaceCut(m, f, shape, settings, cutState);
            auto b = clock();
            prepare += seconds(a, b);
            if (!cuts)
                continue;
            FaceTriangulation job;
            BuildTriangulationInput(cutState, settings, job);
            auto c = clock();
            bool ok = RunTriangulation(job);
            auto e = clock();
            if (ok)
                RebuildFace(m, f, cutState, settings, job, trace);
            auto g = clock();
            build += seconds(b, c);
            triangulate += seconds(c, e);
            rebuild += seconds(e, g);
            ++cut;
        }
        delete obj;
        delete spline;
    }
    double n = static_cast<double>(state.iterations());
    state.counters["snap_ms"] = 1000 * snap / n;
    state.counters["first_phase_ms"] = 1000 * prepare / n;
    state.counters["input_and_weld_ms"] = 1000 * build / n;
    state.counters["triangulate_ms"] = 1000 * triangulate / n;
    state.counters["rebuild_ms"] = 1000 * rebuild / n;
    state.counters["faces_cut"] = cut / n;
}
BENCHMARK(BM_Stages)
    ->Args({20000, 0})
    ->Args({20000, 1})
    ->Args({200000, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
