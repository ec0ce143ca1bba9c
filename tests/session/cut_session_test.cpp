// The cut session on the built plug-in: placement, parameters, the outcome with
// the plug-in's own projection direction, progress and clones.
#include "session/cut_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "session/demo_scene.h"
#include "session/parameter_values.h"

namespace {

class CutSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
        ASSERT_NE(session, nullptr) << error;
        box.reset(MakeRoundedBox(Point3(4.0f, 4.0f, 1.5f), 0.3f, 8));
        star.reset(MakeStar(5, 1.0f, 0.42f));
    }
    // The demo: the star fitted over the box and picked.
    void Demo() {
        session->SetMesh(box->mm, L"box");
        session->SetFittedShape(star->shape, L"star");
        session->PickShape();
    }

    std::unique_ptr<CutSession> session;
    std::unique_ptr<PolyObject> box;
    std::unique_ptr<SplineShape> star;
};

}  // namespace

TEST(CutSessionOpen, NamesTheFileItCannotLoad) {
    std::string error;
    EXPECT_EQ(CutSession::Open("/no/such/Slitform.dlm", error), nullptr);
    EXPECT_NE(error.find("/no/such/Slitform.dlm"), std::string::npos) << error;
}

TEST_F(CutSessionTest, CutsAndTakesTheDirectionFromThePlugin) {
    Demo();
    CutOutcome down = session->Evaluate();
    ASSERT_TRUE(down.evaluated) << down.error;
    EXPECT_GT(down.counts.facesCut, 0);
    EXPECT_GT(down.counts.selectedEdges, 0);
    EXPECT_EQ(down.counts.facesIn, CountMesh(box->mm).faces);
    EXPECT_EQ(down.counts.facesOut, CountMesh(down.mesh).faces);
    ASSERT_TRUE(down.directionKnown);
    EXPECT_NEAR(down.direction.z, -1.0f, 1e-5f);  // the fit lays the shape above

    // Below the box, the modifier turns the direction towards the object.
    session->SetPlacedShape(star->shape, TransMatrix(Point3(0, 0, -5)), L"star");
    session->PickShape();
    CutOutcome up = session->Evaluate();
    ASSERT_TRUE(up.evaluated) << up.error;
    ASSERT_TRUE(up.directionKnown);
    EXPECT_NEAR(up.direction.z, 1.0f, 1e-5f);
}

TEST_F(CutSessionTest, NothingPickedGivesTheObjectBackWithoutADirection) {
    session->SetMesh(box->mm);
    session->SetFittedShape(star->shape);
    CutOutcome outcome = session->Evaluate();
    ASSERT_TRUE(outcome.evaluated) << outcome.error;
    EXPECT_FALSE(outcome.directionKnown);
    EXPECT_EQ(outcome.counts.facesCut, 0);
    EXPECT_EQ(CountMesh(outcome.mesh).faces, CountMesh(box->mm).faces);

    Demo();
    ASSERT_TRUE(session->Evaluate().directionKnown);
    session->PickShape(false);  // the record of the cut before does not linger
    EXPECT_FALSE(session->Evaluate().directionKnown);
}

TEST_F(CutSessionTest, ParametersByNameAreCheckedAndTakeEffect) {
    Demo();
    std::string error;
    EXPECT_FALSE(session->SetParameter("matid", "0", error));
    EXPECT_NE(error.find("out of range"), std::string::npos) << error;
    EXPECT_FALSE(session->SetParameter("frobnicate", "1", error));
    EXPECT_NE(error.find("remove_unused"), std::string::npos) << error;  // lists the names
    int closedFaces = CountMesh(session->Evaluate().mesh).faces;
    ASSERT_TRUE(session->SetParameter("open", "on", error)) << error;
    EXPECT_LT(CountMesh(session->Evaluate().mesh).faces, closedFaces);  // the star's faces are gone
}

TEST_F(CutSessionTest, TheFitFollowsTheMeshAndTakesTheAdjustment) {
    session->SetMesh(box->mm);
    session->SetFittedShape(star->shape, L"star", TransMatrix(Point3(0.5f, 0, 0)));
    Point3 fitted = session->ShapeNode()->GetNodeTM(0).GetTrans();
    EXPECT_NEAR(fitted.x, 0.5f, 1e-5f);  // moved from the box's centre
    EXPECT_GT(fitted.z, 0.75f);          // above its top

    session->SetMesh(box->mm, L"box", TransMatrix(Point3(10, 0, 0)));
    EXPECT_NEAR(session->ShapeNode()->GetNodeTM(0).GetTrans().x, 10.5f, 1e-4f);

    // A shape placed by hand stays where it was put.
    session->SetPlacedShape(star->shape, TransMatrix(Point3(1, 2, 3)));
    session->SetMesh(box->mm);
    EXPECT_EQ(session->ShapeNode()->GetNodeTM(0).GetTrans(), Point3(1, 2, 3));
}

TEST_F(CutSessionTest, ProgressCountsTheFacesThatMayBeCut) {
    Demo();
    long long calls = 0, lastDone = -1, lastTotal = -1;
    CutOutcome outcome = session->Evaluate([&](long long done, long long total, double seconds) {
        ++calls;
        lastDone = done;
        lastTotal = total;
        EXPECT_GE(seconds, 0.0);
    });
    ASSERT_TRUE(outcome.evaluated) << outcome.error;
    EXPECT_GE(calls, 1);
    EXPECT_EQ(lastTotal, CountMesh(box->mm).faces);  // object level: every live face
    EXPECT_GE(lastDone, outcome.counts.facesCut);    // each face the cut replaced
}

// On a mesh that takes a while, the count climbs through the faces the cut visits,
// never past them, and ends full.
TEST_F(CutSessionTest, ProgressFillsAsTheCutVisitsTheFaces) {
    std::unique_ptr<PolyObject> big(MakeRoundedBox(Point3(4.0f, 4.0f, 1.5f), 0.3f, 240));
    session->SetMesh(big->mm, L"big box");
    session->SetFittedShape(star->shape, L"star");
    session->PickShape();
    std::string error;
    ASSERT_TRUE(session->SetParameter("through", "on", error)) << error;
    std::vector<std::pair<long long, long long>> seen;
    CutOutcome outcome = session->Evaluate(
        [&](long long done, long long total, double) { seen.emplace_back(done, total); });
    ASSERT_TRUE(outcome.evaluated) << outcome.error;
    const long long faces = CountMesh(big->mm).faces;
    ASSERT_GE(seen.size(), 3u) << "the evaluation ended too soon to watch";
    bool partway = false;
    long long most = 0;
    for (size_t i = 0; i + 1 < seen.size(); ++i) {
        most = std::max(most, seen[i].first);
        EXPECT_LE(seen[i].first, seen[i].second);
        if (i > 0) {
            EXPECT_GE(seen[i].first, seen[i - 1].first);
        }
        partway =
            partway || (seen[i].first > 0 && seen[i].first < faces && seen[i].second == faces);
    }
    EXPECT_TRUE(partway) << "no count between the start and the end";
    // It counts every face visited, not only the few the cut replaced (how far it
    // gets between two looks depends on the machine).
    EXPECT_GT(most, outcome.counts.facesCut);
    EXPECT_EQ(seen.back(), std::make_pair(faces, faces));
}

TEST_F(CutSessionTest, ACancelledEvaluationDeletesNoFaceAndTheNextOneCuts) {
    Demo();
    CutOutcome whole = session->Evaluate();
    ASSERT_TRUE(whole.evaluated) << whole.error;
    std::atomic<bool> cancel{true};
    for (bool onWorker : {false, true}) {
        long long before = HostDeletedFaceCount();
        CutProgress progress;
        if (onWorker)
            progress = [](long long, long long, double) {};
        CutOutcome stopped = session->Evaluate(progress, true, &cancel);
        EXPECT_FALSE(stopped.evaluated) << onWorker;
        EXPECT_EQ(stopped.error, "the evaluation was cancelled") << onWorker;
        EXPECT_TRUE(stopped.cancelled) << onWorker;
        EXPECT_EQ(stopped.mesh.numf, 0) << onWorker;  // no copy: the caller keeps what it had
        EXPECT_EQ(HostDeletedFaceCount(), before) << onWorker;
    }
    cancel = false;
    CutOutcome again = session->Evaluate(CutProgress(), true, &cancel);
    ASSERT_TRUE(again.evaluated) << again.error;
    EXPECT_EQ(again.counts.facesCut, whole.counts.facesCut);
    EXPECT_EQ(again.counts.facesOut, whole.counts.facesOut);
}

TEST_F(CutSessionTest, AMeshCopyCanBeLeftOut) {
    Demo();
    CutOutcome outcome = session->Evaluate(CutProgress(), false);
    ASSERT_TRUE(outcome.evaluated) << outcome.error;
    EXPECT_EQ(outcome.mesh.numf, 0);
    EXPECT_GT(outcome.counts.facesCut, 0);
}

TEST_F(CutSessionTest, AClonePicksUpEverythingAndThenGoesItsOwnWay) {
    Demo();
    std::string error;
    ASSERT_TRUE(session->SetParameter("min_angle", "12.5", error)) << error;
    std::unique_ptr<CutSession> clone = session->Clone();
    ASSERT_NE(clone->PickedNode(), nullptr);
    EXPECT_EQ(clone->PickedNode(), clone->ShapeNode());
    EXPECT_EQ(clone->ShapeNode()->GetNodeTM(0).GetTrans(),
              session->ShapeNode()->GetNodeTM(0).GetTrans());
    std::vector<ParameterValue> mine = ParameterValuesOf(session->Block());
    std::vector<ParameterValue> its = ParameterValuesOf(clone->Block());
    ASSERT_EQ(mine.size(), its.size());
    for (size_t i = 0; i < mine.size(); ++i) {
        EXPECT_EQ(mine[i].value, its[i].value) << i;
        EXPECT_EQ(mine[i].whole, its[i].whole) << i;
    }

    ASSERT_TRUE(session->SetParameter("open", "on", error)) << error;
    std::future<CutOutcome> onWorker =
        std::async(std::launch::async, [&clone] { return clone->Evaluate(); });
    CutOutcome open = session->Evaluate();
    CutOutcome closed = onWorker.get();
    ASSERT_TRUE(closed.evaluated) << closed.error;
    EXPECT_LT(CountMesh(open.mesh).faces, CountMesh(closed.mesh).faces);
    EXPECT_EQ(closed.counts.facesCut, open.counts.facesCut);
}

TEST_F(CutSessionTest, ParameterValuesLeaveThePickedNodeOut) {
    IParamBlock2* block = session->Block();
    std::vector<ParameterValue> values = ParameterValuesOf(block);
    EXPECT_EQ(static_cast<int>(values.size()), block->GetDesc()->Count() - 1);
    for (const ParameterValue& v : values)
        EXPECT_NE(block->GetDesc()->GetParamDef(v.id)->type, TYPE_INODE);
}
