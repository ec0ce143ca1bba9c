// The worker that evaluates the window's sessions, newest first.
#include "app/studio/evaluator.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "session/demo_scene.h"

TEST(Evaluator, DeliversOnlyTheNewestRequest) {
    std::string error;
    std::unique_ptr<CutSession> session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
    ASSERT_NE(session, nullptr) << error;
    std::unique_ptr<PolyObject> box(MakeRoundedBox(Point3(4.0f, 4.0f, 1.5f), 0.3f, 8));
    std::unique_ptr<SplineShape> star(MakeStar(5, 1.0f, 0.42f));
    session->SetMesh(box->mm);
    session->SetFittedShape(star->shape);
    session->PickShape();
    int closedFaces = CountMesh(session->Evaluate().mesh).faces;

    std::mutex mutex;
    std::condition_variable heard;
    std::vector<int> delivered;
    std::vector<int> liveFaces;
    {
        Evaluator evaluator([&](int number, const CutSession&, const CutOutcome& outcome) {
            std::lock_guard<std::mutex> lock(mutex);
            delivered.push_back(number);
            liveFaces.push_back(CountMesh(outcome.mesh).faces);
            heard.notify_one();
        });
        int last = 0;
        for (int i = 0; i < 6; ++i) {
            ASSERT_TRUE(session->SetParameter("open", i % 2 == 1 ? "on" : "off", error)) << error;
            last = evaluator.Submit(session->Clone());
        }
        EXPECT_EQ(last, 6);
        std::unique_lock<std::mutex> lock(mutex);
        heard.wait(lock, [&] { return !delivered.empty() && delivered.back() == last; });
    }
    for (size_t i = 1; i < delivered.size(); ++i) EXPECT_LT(delivered[i - 1], delivered[i]);
    EXPECT_LT(liveFaces.back(), closedFaces);  // the last request had "open" on
}

TEST(Evaluator, CancelStopsTheNewestRequestAndTheNextOneStillCuts) {
    std::string error;
    std::unique_ptr<CutSession> session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
    ASSERT_NE(session, nullptr) << error;
    std::unique_ptr<PolyObject> box(MakeRoundedBox(Point3(4.0f, 4.0f, 1.5f), 0.3f, 24));
    std::unique_ptr<SplineShape> star(MakeStar(5, 1.0f, 0.42f));
    session->SetMesh(box->mm);
    session->SetFittedShape(star->shape);
    session->PickShape();

    std::mutex mutex;
    std::condition_variable heard;
    std::vector<std::pair<int, CutOutcome>> delivered;
    Evaluator evaluator([&](int number, const CutSession&, const CutOutcome& outcome) {
        std::lock_guard<std::mutex> lock(mutex);
        delivered.emplace_back(number, outcome);
        heard.notify_one();
    });
    auto waitFor = [&](int number) {
        std::unique_lock<std::mutex> lock(mutex);
        heard.wait(lock, [&] { return !delivered.empty() && delivered.back().first == number; });
        return delivered.back().second;
    };
    // Whether the first request is still waiting or already running when Cancel
    // comes, the newest request ends cancelled, with no mesh to copy.
    int first = evaluator.Submit(session->Clone());
    evaluator.Cancel();
    CutOutcome stopped = waitFor(first);
    if (!stopped.evaluated) {
        EXPECT_TRUE(stopped.cancelled) << stopped.error;
        EXPECT_EQ(stopped.mesh.numf, 0);
    }
    int second = evaluator.Submit(session->Clone());
    CutOutcome cut = waitFor(second);
    ASSERT_TRUE(cut.evaluated) << cut.error;
    EXPECT_FALSE(cut.cancelled);
    EXPECT_GT(cut.counts.facesCut, 0);
    evaluator.Cancel();  // nothing runs: nothing heard
    std::lock_guard<std::mutex> lock(mutex);
    EXPECT_EQ(delivered.back().first, second);
}
