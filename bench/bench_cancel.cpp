// How soon a cancelled evaluation stops: a UV sphere of about a million faces cut
// by a star, cancelled after a given time into the evaluation (range(0), in ms),
// timed from the flag set to Evaluate's return. The total counter is a whole
// evaluation's time, for where in it the delays fall.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "bench/uv_sphere.h"
#include "session/cut_session.h"
#include "session/demo_scene.h"

namespace {

const int kFaces = 1000000;

std::unique_ptr<CutSession> SphereSession(std::string& error) {
    std::unique_ptr<CutSession> session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
    if (!session)
        return nullptr;
    session->SetObject(UvSphere(kFaces), L"sphere");
    std::unique_ptr<SplineShape> star(MakeStar(5, 1.0f, 0.42f));
    session->SetFittedShape(star->shape);
    session->PickShape();
    return session;
}

void BM_CancelLatency(benchmark::State& state) {
    std::string error;
    std::unique_ptr<CutSession> session = SphereSession(error);
    if (!session) {
        state.SkipWithError(error.c_str());
        return;
    }
    using Clock = std::chrono::steady_clock;
    auto start = Clock::now();
    CutOutcome whole = session->Evaluate(CutProgress(), false);
    double total = std::chrono::duration<double>(Clock::now() - start).count();
    if (!whole.evaluated) {
        state.SkipWithError(whole.error.c_str());
        return;
    }
    int stopped = 0;
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        std::future<CutOutcome> running = std::async(
            std::launch::async, [&] { return session->Evaluate(CutProgress(), false, &cancel); });
        std::this_thread::sleep_for(std::chrono::milliseconds(state.range(0)));
        auto flagged = Clock::now();
        cancel = true;
        CutOutcome outcome = running.get();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - flagged).count());
        stopped += outcome.cancelled;
    }
    state.counters["total_s"] = total;
    state.counters["stopped"] = benchmark::Counter(stopped, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CancelLatency)
    ->Arg(0)
    ->Arg(100)
    ->Arg(300)
    ->Arg(600)
    ->Arg(1000)
    ->Arg(1500)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
