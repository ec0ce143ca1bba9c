// Orbiting the window's viewport around a cut UV sphere: frames drawn in a fixed
// time (the fps counter), with the mesh's buffers uploaded once beforehand; and
// the time to build those buffers for a new result. Needs
// an OpenGL context; on a machine without a display run it as
//   xvfb-run -a env QT_QPA_PLATFORM=offscreen LIBGL_ALWAYS_SOFTWARE=1 build/bench/bench_viewport
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>

#include "app/studio/gl_viewport.h"
#include "bench/uv_sphere.h"
#include "session/cut_session.h"
#include "session/demo_scene.h"

namespace {

// The sphere of about `faces` faces cut by a star lying above it, evaluated once
// per size: the viewport then draws a result with selected faces and cut edges.
const CutOutcome& CutSphere(int faces) {
    static int cutFaces = -1;
    static CutOutcome outcome;
    if (cutFaces == faces)
        return outcome;
    std::string error;
    std::unique_ptr<CutSession> session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
    if (!session)
        throw std::runtime_error(error);
    session->SetObject(UvSphere(faces), L"sphere");
    std::unique_ptr<SplineShape> star(MakeStar(5, 1.0f, 0.42f));
    session->SetFittedShape(star->shape);
    session->PickShape();
    outcome = session->Evaluate();
    cutFaces = faces;
    return outcome;
}

// range(0): faces; range(1): 1 with the edges shown.
void BM_OrbitFrames(benchmark::State& state) {
    if (!GlViewport::OpenGlAvailable()) {
        state.SkipWithError("no OpenGL context (run under xvfb-run, see the top of this file)");
        return;
    }
    const CutOutcome& result = CutSphere(static_cast<int>(state.range(0)));
    if (!result.evaluated) {
        state.SkipWithError(result.error.c_str());
        return;
    }
    GlViewport view;
    view.resize(800, 600);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view)) {
        state.SkipWithError("the viewport was never shown");
        return;
    }
    view.SetMesh(result.mesh, Matrix3());
    view.SetShowEdges(state.range(1) != 0);
    view.FrameAll();
    view.DrawFrameNow();  // the upload, outside the timing
    ViewCamera camera = view.Camera();
    for (auto _ : state) {
        camera.Orbit(4.0f, 1.0f);
        view.SetCamera(camera);
        view.DrawFrameNow();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["faces"] = result.counts.facesOut;
}
BENCHMARK(BM_OrbitFrames)
    ->ArgsProduct({{100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseRealTime();

// What a new result costs the window before its first frame: the buffers built
// on the CPU, the coarse level included (range(0): faces).
void BM_BuildBuffers(benchmark::State& state) {
    const CutOutcome& result = CutSphere(static_cast<int>(state.range(0)));
    if (!result.evaluated) {
        state.SkipWithError(result.error.c_str());
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(BuildMeshBuffers(result.mesh, Matrix3()));
}
BENCHMARK(BM_BuildBuffers)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
