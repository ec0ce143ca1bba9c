// FindOwnerNode: the node that carries a given application of the modifier.
#include "plugin/owner_node.h"

#include <gtest/gtest.h>

#include "derivob.h"
#include "plugin/slitform.h"
#include "polyobj.h"
#include "session/scene.h"

namespace {

// A world-space modifier for the tests: changes nothing.
class Bend : public Modifier {
public:
    Class_ID ClassID() const override { return Class_ID(77, 77); }
    ChannelMask ChannelsUsed() override { return GEOM_CHANNEL; }
    ChannelMask ChannelsChanged() override { return GEOM_CHANNEL; }
    Class_ID InputType() override { return polyObjectClassID; }
    void ModifyObject(TimeValue, ModContext&, ObjectState*, INode*) override {}
};

ModContext* ContextOf(INode* node, Modifier* mod) {
    Object* obj = node->GetObjectRef();
    if (obj->SuperClassID() == WSM_DERIVOB_CLASS_ID)
        obj = static_cast<IDerivedObject*>(obj)->GetObjRef();
    IDerivedObject* derived = static_cast<IDerivedObject*>(obj);
    for (int i = 0; i < derived->NumModifiers(); ++i)
        if (derived->GetModifier(i) == mod)
            return derived->GetModContext(i);
    return nullptr;
}

}  // namespace

TEST(FindOwnerNode, InstancedOnTwoNodesEachContextFindsItsNode) {
    Scene scene;
    INode* a = scene.AddNode(L"a", new PolyObject());
    INode* b = scene.AddNode(L"b", new PolyObject());
    Slitform* mod = new Slitform();
    scene.ApplyModifier(a, mod);
    scene.ApplyModifier(b, mod);
    ModContext* ca = ContextOf(a, mod);
    ModContext* cb = ContextOf(b, mod);
    ASSERT_NE(ca, cb);
    EXPECT_EQ(FindOwnerNode(mod, ca), a);
    EXPECT_EQ(FindOwnerNode(mod, cb), b);
    ModContext stranger;
    EXPECT_EQ(FindOwnerNode(mod, &stranger), nullptr);
}

TEST(FindOwnerNode, BelowWorldSpaceModifiersAndOtherModifiers) {
    Scene scene;
    INode* node = scene.AddNode(L"obj", new PolyObject());
    Slitform* mod = new Slitform();
    scene.ApplyModifier(node, mod);
    scene.ApplyModifier(node, new Bend());  // on top of it
    scene.ApplyWorldSpaceModifier(node, new Bend());
    ASSERT_EQ(node->GetObjectRef()->SuperClassID(), WSM_DERIVOB_CLASS_ID);
    EXPECT_EQ(FindOwnerNode(mod, ContextOf(node, mod)), node);
}

TEST(FindOwnerNode, BelowACompoundObjectsOperand) {
    Scene scene;
    IDerivedObject* operand = new IDerivedObject();
    operand->ReferenceObject(new PolyObject());
    Slitform* mod = new Slitform();
    operand->AddModifier(mod);
    CompoundObject* compound = new CompoundObject();
    compound->AddOperand(new PolyObject());
    compound->AddOperand(operand);
    INode* node = scene.AddNode(L"compound", compound);
    scene.ApplyModifier(node, new Bend());
    EXPECT_EQ(FindOwnerNode(mod, operand->GetModContext(0)), node);
}

TEST(FindOwnerNode, ModifierOnNoNode) {
    Slitform mod;
    ModContext mc;
    EXPECT_EQ(FindOwnerNode(&mod, &mc), nullptr);
    EXPECT_FALSE(FindModContextIndex(&mc, nullptr));
}
