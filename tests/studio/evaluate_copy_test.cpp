// Evaluations on copies of the scene, and the worker that runs them newest first.
#include "app/studio/evaluate_copy.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "app/demo_scene.h"
#include "app/shape_placement.h"
#include "app/studio/evaluator.h"
#include "polyobj.h"

namespace {

class EvaluateCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(lib.Load(SLITFORM_PLUGIN_FILE, error)) << error;
        std::unique_ptr<PolyObject> box(MakeRoundedBox(Point3(4.0f, 4.0f, 1.5f), 0.3f, 8));
        std::unique_ptr<SplineShape> star(MakeStar(5, 1.0f, 0.42f));
        input.mesh = box->mm;
        input.hasShape = true;
        input.shape = star->shape;
        ShapePlacement placement;
        ASSERT_TRUE(DefaultShapePlacement(input.mesh, input.objectTM, input.shape, placement));
        CentreShape(input.shape, placement);
        input.shapeTM = TransMatrix(placement.position);
        Modifier* mod = NewModifier();
        IParamBlock2* block = mod->GetParamBlockByID(0);
        openID = block->GetDesc()->FindParam(L"open")->id;
        input.parameters = ParameterValuesOf(block);
        mod->DeleteThis();
    }
    Modifier* NewModifier() {
        return static_cast<Modifier*>(
            lib.CreateInstance(OSM_CLASS_ID, Class_ID(0x99B58387, 0xD1918693)));
    }
    static int LiveFaces(const MNMesh& m) {
        int n = 0;
        for (int f = 0; f < m.numf; ++f) n += !m.f[f].GetFlag(MN_DEAD);
        return n;
    }
    void SetOpen(bool on) {
        for (ParameterValue& v : input.parameters)
            if (v.id == openID)
                v.whole = on ? 1 : 0;
    }

    PluginLibrary lib;
    EvaluationInput input;
    ParamID openID = -1;
};

}  // namespace

TEST_F(EvaluateCopyTest, CopiesTheParametersOfABlock) {
    Modifier* mod = NewModifier();
    IParamBlock2* block = mod->GetParamBlockByID(0);
    block->SetValue(openID, 0, 1);
    block->SetValue(block->GetDesc()->FindParam(L"min_angle")->id, 0, 12.5f);
    std::vector<ParameterValue> values = ParameterValuesOf(block);
    EXPECT_EQ(static_cast<int>(values.size()), block->GetDesc()->Count() - 1);  // the node left out
    int seen = 0;
    for (const ParameterValue& v : values) {
        const ParamDef* def = block->GetDesc()->GetParamDef(v.id);
        ASSERT_NE(def, nullptr);
        EXPECT_NE(def->type, TYPE_INODE);
        if (v.id == openID)
            seen += !v.isFloat && v.whole == 1;
        if (def->intName == L"min_angle")
            seen += v.isFloat && v.value == 12.5f;
    }
    EXPECT_EQ(seen, 2);
    mod->DeleteThis();
}

TEST_F(EvaluateCopyTest, EvaluatesThePickedShapeWithTheParametersAndLeavesTheInput) {
    int facesIn = LiveFaces(input.mesh);

    EvaluationResult unpicked = EvaluateCopy(lib, input);
    EXPECT_TRUE(unpicked.evaluated) << unpicked.error;
    EXPECT_EQ(LiveFaces(unpicked.mesh), facesIn);  // nothing picked: the object as it came

    input.shapePicked = true;
    EvaluationResult closed = EvaluateCopy(lib, input);
    SetOpen(true);
    EvaluationResult open = EvaluateCopy(lib, input);
    EXPECT_TRUE(open.evaluated) << open.error;
    EXPECT_LT(LiveFaces(open.mesh), LiveFaces(closed.mesh));  // the faces inside the star are gone
    EXPECT_EQ(LiveFaces(input.mesh), facesIn);
    EXPECT_GE(open.seconds, 0.0);

    input.shape.splines.clear();  // an empty shape: the object as it came, or an error
    EvaluationResult empty = EvaluateCopy(lib, input);
    EXPECT_TRUE(empty.evaluated || !empty.error.empty());
    EXPECT_EQ(LiveFaces(empty.mesh), facesIn);
}

TEST_F(EvaluateCopyTest, TheWorkerDeliversOnlyTheNewestRequest) {
    std::mutex mutex;
    std::condition_variable heard;
    std::vector<int> delivered;
    std::vector<int> liveFaces;
    input.shapePicked = true;
    int closedFaces = LiveFaces(EvaluateCopy(lib, input).mesh);
    {
        Evaluator evaluator(lib, [&](int number, const EvaluationResult& result) {
            std::lock_guard<std::mutex> lock(mutex);
            delivered.push_back(number);
            liveFaces.push_back(LiveFaces(result.mesh));
            heard.notify_one();
        });
        int last = 0;
        for (int i = 0; i < 6; ++i) {
            SetOpen(i % 2 == 1);
            last = evaluator.Submit(input);
        }
        EXPECT_EQ(last, 6);
        std::unique_lock<std::mutex> lock(mutex);
        heard.wait(lock, [&] { return !delivered.empty() && delivered.back() == last; });
    }
    for (size_t i = 1; i < delivered.size(); ++i) EXPECT_LT(delivered[i - 1], delivered[i]);
    EXPECT_LT(liveFaces.back(), closedFaces);  // the last request had "open" on
}
