// The worker that evaluates the window's sessions, newest first.
#include "app/studio/evaluator.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "app/session/demo_scene.h"

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
        Evaluator evaluator([&](int number, const CutOutcome& outcome) {
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
