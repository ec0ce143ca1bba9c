// Shapes with very many points: a circle of 1,000 to 1,000,000 points cut into the
// example box, placed by the automatic fit as the command line places it. The cost
// should grow with the points, not with their square.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

#include "io/read_mesh.h"
#include "polyobj.h"
#include "session/cut_session.h"
#include "splshape.h"

namespace {

BezierShape Circle(int points) {
    BezierShape shape;
    Spline3D spline;
    for (int i = 0; i < points; ++i) {
        double a = 2.0 * 3.141592653589793 * i / points;
        Point3 p(static_cast<float>(40.0 * std::cos(a)), static_cast<float>(40.0 * std::sin(a)),
                 0.0f);
        spline.AddKnot(SplineKnot(p, p, p));
    }
    spline.closed = true;
    shape.splines.push_back(spline);
    return shape;
}

void BM_DenseCircleOverGridBox(benchmark::State& state) {
    std::string error;
    std::unique_ptr<CutSession> session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
    auto box = std::make_unique<PolyObject>();
    if (!session || !ReadMesh(SLITFORM_EXAMPLES "/grid_box.obj", box->mm, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    session->SetObject(box.release(), L"grid_box");
    session->SetFittedShape(Circle(static_cast<int>(state.range(0))), L"circle");
    session->PickShape();
    for (auto _ : state) benchmark::DoNotOptimize(session->Evaluate(CutProgress(), false));
    state.counters["points"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_DenseCircleOverGridBox)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
