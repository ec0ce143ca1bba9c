// References, notifications, parameter blocks and pipelines of the host framework.
#include <gtest/gtest.h>

#include "derivob.h"
#include "inode.h"
#include "iparamb2.h"
#include "polyobj.h"
#include "splshape.h"

namespace {

// A modifier that records what reaches it and moves every vertex up by one.
class Lift : public Modifier {
public:
    explicit Lift(int* counter = nullptr) : deletions(counter) {}
    ~Lift() override {
        if (deletions)
            ++*deletions;
    }
    Class_ID ClassID() const override { return Class_ID(0x1234, 0x5678); }
    ChannelMask ChannelsUsed() override { return GEOM_CHANNEL; }
    ChannelMask ChannelsChanged() override { return GEOM_CHANNEL; }
    Class_ID InputType() override { return polyObjectClassID; }
    void ModifyObject(TimeValue, ModContext& mc, ObjectState* os, INode*) override {
        contexts.push_back(&mc);
        MNMesh& m = static_cast<PolyObject*>(os->obj)->mm;
        for (int i = 0; i < m.numv; ++i) m.v[i].p.z += 1.0f;
    }
    RefResult NotifyRefChanged(const Interval&, ReferenceTarget* target, PartID& part,
                               RefMessage msg, bool) override {
        heard.push_back({target, part, msg});
        return REF_SUCCEED;
    }
    struct Heard {
        ReferenceTarget* target;
        PartID part;
        RefMessage msg;
    };
    std::vector<Heard> heard;
    std::vector<ModContext*> contexts;
    int* deletions;
};

PolyObject* Triangle() {
    PolyObject* obj = new PolyObject();
    obj->mm.NewVert(Point3(0, 0, 0));
    obj->mm.NewVert(Point3(1, 0, 0));
    obj->mm.NewVert(Point3(0, 1, 0));
    int c[3] = {0, 1, 2};
    obj->mm.CreateFace(3, c);
    return obj;
}

}  // namespace

TEST(Framework, DerivedObjectEvaluatesACopyThroughItsStack) {
    INode node;
    PolyObject* base = Triangle();
    IDerivedObject* derived = new IDerivedObject();
    derived->ReferenceObject(base);
    node.SetObjectRef(derived);
    Lift* lower = new Lift();
    Lift* upper = new Lift();
    derived->AddModifier(lower);
    derived->AddModifier(upper);  // on top: modifier 0
    EXPECT_EQ(derived->GetModifier(0), upper);

    Object* out = node.EvalWorldState(0).obj;
    ASSERT_NE(out, nullptr);
    EXPECT_NE(out, base);
    EXPECT_EQ(static_cast<PolyObject*>(out)->mm.P(0).z, 2.0f);
    EXPECT_EQ(base->mm.P(0).z, 0.0f);  // the base object is never changed
    EXPECT_EQ(lower->contexts.back(), derived->GetModContext(1));
    node.EvalWorldState(0);
    EXPECT_EQ(upper->contexts.size(), 2u);
}

TEST(Framework, NotificationsPassThroughTargetsUnlessStopped) {
    INode node;
    IDerivedObject* derived = new IDerivedObject();
    PolyObject* base = Triangle();
    derived->ReferenceObject(base);
    node.SetObjectRef(derived);
    int deleted = 0;
    Lift* mod = new Lift(&deleted);
    derived->AddModifier(mod);

    // The modifier hears nothing from below; the node hears the base's change
    // through the derived object.
    base->NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE);
    EXPECT_TRUE(mod->heard.empty());

    struct Collect : DependentEnumProc {
        std::vector<ReferenceMaker*> seen;
        int proc(ReferenceMaker* rm) override {
            seen.push_back(rm);
            return DEP_ENUM_CONTINUE;
        }
    } collect;
    mod->DoEnumDependents(&collect);
    ASSERT_EQ(collect.seen.size(), 2u);
    EXPECT_EQ(collect.seen[0], derived);
    EXPECT_EQ(collect.seen[1], &node);

    // Removing the modifier from the stack deletes it: nothing else references it.
    derived->DeleteModifier(0);
    EXPECT_EQ(deleted, 1);
}

TEST(Framework, ParamBlockDefaultsAnimationValidityAndPickedNodes) {
    ParamBlockDesc2 desc(
        7, L"params", 0, nullptr, P_AUTO_CONSTRUCT, 0, {},
        {ParamDef::Node(0, L"pick", 0, 1), ParamDef::Bool(1, L"flag", P_ANIMATABLE, 2, true),
         ParamDef::Float(2, L"size", P_ANIMATABLE, 3, 0.5f).Range(0.0f, 10.0f),
         ParamDef::Int(3, L"level", 0, 4, 4).Range(0, 4)});
    IParamBlock2* block = new IParamBlock2(&desc);
    Lift owner;
    owner.ReplaceReference(0, block);

    Interval valid = FOREVER;
    float size = 0.0f;
    int flag = 0, level = 0;
    EXPECT_TRUE(block->GetValue(2, 100, size, valid));
    EXPECT_TRUE(block->GetValue(1, 100, flag, valid));
    EXPECT_TRUE(block->GetValue(3, 100, level, valid));
    EXPECT_EQ(size, 0.5f);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(level, 4);
    EXPECT_EQ(valid, FOREVER);
    EXPECT_FALSE(block->GetValue(3, 0, size, valid));  // an int is not read as float
    EXPECT_FALSE(block->GetValue(9, 0, level, valid));
    EXPECT_FALSE(block->SetKey(3, 0, 1.0f));  // not animatable

    ASSERT_TRUE(block->SetKey(2, 0, 0.0f));
    ASSERT_TRUE(block->SetKey(2, 100, 10.0f));
    valid = FOREVER;
    EXPECT_TRUE(block->GetValue(2, 25, size, valid));
    EXPECT_FLOAT_EQ(size, 2.5f);
    EXPECT_EQ(valid, Interval(25, 25));
    EXPECT_EQ(block->GetFloat(2, 500), 10.0f);
    // An on/off track holds its value from key to key instead of flipping half-way.
    ASSERT_TRUE(block->SetKey(1, 0, 1.0f));
    ASSERT_TRUE(block->SetKey(1, 100, 0.0f));
    for (TimeValue t : {0, 25, 50, 75, 99}) EXPECT_EQ(block->GetInt(1, t), 1) << t;
    EXPECT_EQ(block->GetInt(1, 100), 0);
    EXPECT_EQ(block->GetInt(1, 200), 0);

    INode picked;
    owner.heard.clear();
    block->SetValue(0, 0, &picked);
    EXPECT_EQ(block->GetINode(0), &picked);
    EXPECT_EQ(block->LastNotifyParamID(), 0);
    block->SetValue(3, 0, 2);
    EXPECT_EQ(block->LastNotifyParamID(), 3);
    owner.heard.clear();
    picked.SetNodeTM(0, TransMatrix(Point3(1, 2, 3)));
    ASSERT_EQ(owner.heard.size(), 1u);
    EXPECT_EQ(owner.heard[0].target, block);
    EXPECT_EQ(owner.heard[0].part, PartID(PART_TM));
    EXPECT_EQ(block->LastNotifyParamID(), 0);

    RemapDir remap;
    IParamBlock2* copy = static_cast<IParamBlock2*>(remap.CloneRef(block));
    EXPECT_NE(copy, block);
    EXPECT_EQ(remap.CloneRef(block), copy);  // cloned once per remapping
    EXPECT_EQ(copy->GetINode(0), &picked);
    EXPECT_EQ(copy->GetInt(3), 2);
    EXPECT_TRUE(copy->IsAnimated(2));
    delete copy;
    delete block;  // the test's modifier has no reference slots to let it go through
}

TEST(Framework, NodeDeletionClearsReferencesToIt) {
    ParamBlockDesc2 desc(0, L"p", 0, nullptr, 0, 0, {}, {ParamDef::Node(0, L"pick", 0, 1)});
    IParamBlock2 block(&desc);
    {
        INode picked;
        block.SetValue(0, 0, &picked);
        EXPECT_EQ(block.GetINode(0), &picked);
    }
    EXPECT_EQ(block.GetINode(0), nullptr);
}

TEST(Framework, ConversionsBetweenPolyAndTriangleObjects) {
    PolyObject* poly = Triangle();
    EXPECT_TRUE(poly->CanConvertToType(triObjectClassID));
    EXPECT_FALSE(poly->CanConvertToType(splineShapeClassID));
    EXPECT_EQ(poly->ConvertToType(0, polyObjectClassID), poly);
    Object* tri = poly->ConvertToType(0, triObjectClassID);
    ASSERT_NE(tri, nullptr);
    EXPECT_EQ(static_cast<TriObject*>(tri)->mesh.getNumFaces(), 1);
    Object* back = tri->ConvertToType(0, polyObjectClassID);
    EXPECT_EQ(static_cast<PolyObject*>(back)->mm.numf, 1);
    delete back;
    delete tri;
    delete poly;
}

TEST(Framework, ObjectValidityNarrowsChannelsInTheMask) {
    PolyObject obj;
    obj.UpdateValidity(TOPO_CHANNEL | SELECT_CHANNEL, Interval(0, 10));
    EXPECT_EQ(obj.ChannelValidity(TOPO_CHANNEL), Interval(0, 10));
    EXPECT_EQ(obj.ChannelValidity(GEOM_CHANNEL), FOREVER);
    EXPECT_EQ(obj.ObjectValidity(), Interval(0, 10));
}

TEST(Framework, SplinesFlattenWithStepsAndOptimize) {
    SplineShape shape;
    Spline3D curve;
    curve.AddKnot(SplineKnot(Point3(0, 0, 0), Point3(0, 0, 0), Point3(0, 1, 0)));
    curve.AddKnot(SplineKnot(Point3(1, 1, 0), Point3(1, 0, 0), Point3(1, 0, 0)));
    curve.AddKnot(SplineKnot(Point3(2, 0, 0), Point3(2, 0, 0), Point3(2, 0, 0)));
    shape.shape.splines.push_back(curve);
    PolyShape out;
    shape.MakePolyShape(0, out, 3, TRUE);
    ASSERT_EQ(out.numLines, 1);
    // A curved first segment with three steps, a straight second one with none.
    ASSERT_EQ(out[0].numPts, 1 + 3 + 1 + 1);
    EXPECT_EQ(out[0][4].p, Point3(1, 0, 0));
    EXPECT_EQ(out[0][5].p, Point3(2, 0, 0));
    Point3 mid = out[0][2].p;  // u = 0.5
    EXPECT_FLOAT_EQ(mid.x, 0.5f);
    EXPECT_FLOAT_EQ(mid.y, 0.75f);  // handles (0, 1) and (1, 1), each weighted 3/8
    shape.MakePolyShape(0, out, 3, FALSE);
    EXPECT_EQ(out[0].numPts, 1 + 3 + 1 + 3 + 1);
    shape.shape.splines[0].closed = true;
    shape.MakePolyShape(0, out, 0, TRUE);
    EXPECT_EQ(out[0].numPts, 3);
    EXPECT_TRUE(out[0].IsClosed());
}
