// The Slitform modifier object and its parameter block description.
#include <gtest/gtest.h>

#include "derivob.h"
#include "inode.h"
#include "plugin/class_desc.h"
#include "plugin/param_block.h"
#include "plugin/slitform.h"

namespace {

class TestInterface : public Interface {
public:
    TimeValue GetTime() override { return 160; }
    void RolloutOpened(IParamMap2* map) override { opened.push_back(map->Desc()); }
    void RolloutClosing(IParamMap2* map) override { closed.push_back(map->GetMapID()); }
    std::vector<ParamMapDesc> opened;
    std::vector<MapID> closed;
};

// A dependent above the modifier, recording what reaches it.
class Listener : public ReferenceMaker {
public:
    explicit Listener(ReferenceTarget* target) { ReplaceReference(0, target, false); }
    // The modifiers under test live on the stack: never delete them.
    ~Listener() override { ReplaceReference(0, nullptr, false); }
    SClass_ID SuperClassID() const override { return 0x999; }
    Class_ID ClassID() const override { return Class_ID(1, 1); }
    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int) override { return ref; }
    void SetReference(int, ReferenceTarget* t) override { ref = t; }
    RefResult NotifyRefChanged(const Interval& iv, ReferenceTarget*, PartID& part, RefMessage msg,
                               bool) override {
        heard.push_back(msg);
        parts.push_back(part);
        intervals.push_back(iv);
        return REF_SUCCEED;
    }
    ReferenceTarget* ref = nullptr;
    std::vector<RefMessage> heard;
    std::vector<PartID> parts;
    std::vector<Interval> intervals;
};

}  // namespace

TEST(ParamBlockDesc, BlockAndParameterTable) {
    const ParamBlockDesc2& d = slitform_param_blk;
    EXPECT_EQ(d.ID, 0u);
    EXPECT_EQ(d.intName, L"params");
    EXPECT_EQ(d.localName, 0);
    EXPECT_EQ(d.flags, 0x26);
    EXPECT_EQ(d.refNo, 0);
    EXPECT_EQ(d.cd, GetSlitformDesc());
    ASSERT_EQ(d.maps.size(), 2u);
    EXPECT_EQ(d.maps[0].dialogTemplate, 101);
    EXPECT_EQ(d.maps[0].title, 4);
    EXPECT_EQ(d.maps[0].rollupFlags, 0);
    EXPECT_EQ(d.maps[1].dialogTemplate, 107);
    EXPECT_EQ(d.maps[1].title, 6);
    EXPECT_EQ(d.maps[1].rollupFlags, 1);
    ASSERT_EQ(GetSlitformDesc()->NumParamBlockDescs(), 1);

    struct Row {
        const wchar_t* name;
        ParamType2 type;
        int flags, localName;
    };
    const Row rows[13] = {{L"Pick path", TYPE_INODE, 0, 7},     {L"remove_unused", TYPE_BOOL, 1, 8},
                          {L"weld_on", TYPE_BOOL, 1, 17},       {L"weld", TYPE_FLOAT, 1, 9},
                          {L"open", TYPE_BOOL, 1, 10},          {L"local", TYPE_BOOL, 1, 11},
                          {L"collinear_on", TYPE_BOOL, 1, 103}, {L"collinear", TYPE_FLOAT, 1, 102},
                          {L"through", TYPE_BOOL, 1, 12},       {L"matid_on", TYPE_BOOL, 1, 13},
                          {L"matid", TYPE_INT, 1, 14},          {L"sel_level", TYPE_INT, 0, 15},
                          {L"min_angle", TYPE_FLOAT, 1, 16}};
    ASSERT_EQ(d.Count(), 13);
    for (int id = 0; id < 13; ++id) {
        const ParamDef* p = d.GetParamDef(static_cast<ParamID>(id));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->intName, rows[id].name);
        EXPECT_EQ(p->type, rows[id].type) << id;
        EXPECT_EQ(p->flags, rows[id].flags) << id;
        EXPECT_EQ(p->localName, rows[id].localName) << id;
        EXPECT_EQ(p->dim, id == pb_weld ? stdWorldDim : nullptr) << id;
    }
    const ParamDef* weld = d.GetParamDef(pb_weld);
    EXPECT_EQ(weld->ctrlType, TYPE_SPINNER);
    EXPECT_EQ(weld->editType, EDITTYPE_UNIVERSE);
    EXPECT_EQ(weld->ctrlIDs, (std::vector<int>{1002, 1003}));
    EXPECT_EQ(weld->step, 0.001f);
    EXPECT_EQ(weld->highFloat, 10000000.0f);
    const ParamDef* collinear = d.GetParamDef(pb_collinear);
    EXPECT_EQ(collinear->editType, EDITTYPE_FLOAT);
    EXPECT_EQ(collinear->ctrlIDs, (std::vector<int>{1005, 1006}));
    const ParamDef* matid = d.GetParamDef(pb_matid);
    EXPECT_EQ(matid->editType, EDITTYPE_INT);
    EXPECT_EQ(matid->lowInt, 1);
    EXPECT_EQ(matid->highInt, 999);
    EXPECT_EQ(matid->step, 1.0f);
    const ParamDef* angle = d.GetParamDef(pb_min_angle);
    EXPECT_EQ(angle->lowFloat, 0.0f);
    EXPECT_EQ(angle->highFloat, 33.0f);
    EXPECT_EQ(angle->step, 0.1f);
    EXPECT_EQ(angle->ctrlIDs, (std::vector<int>{1020, 1021}));
    const ParamDef* level = d.GetParamDef(pb_sel_level);
    EXPECT_EQ(level->ctrlType, TYPE_RADIO);
    EXPECT_EQ(level->ctrlIDs, (std::vector<int>{1015, 1017, 1016, 1018, 1019}));
    EXPECT_EQ(level->highInt, 4);
    EXPECT_EQ(d.GetParamDef(pb_pick_path)->ctrlIDs, (std::vector<int>{1001}));
    const int boxes[13] = {0, 1007, 1004, 0, 1008, 1009, 1010, 0, 1011, 1014, 0, 0, 0};
    for (int id = 0; id < 13; ++id) {
        if (boxes[id]) {
            EXPECT_EQ(d.GetParamDef(static_cast<ParamID>(id))->ctrlIDs,
                      std::vector<int>{boxes[id]});
        }
    }
}

TEST(SlitformModifier, ClassAnswers) {
    Slitform mod;
    std::wstring name;
    mod.GetClassName(name);
    EXPECT_EQ(name, L"Slit Form");
    EXPECT_EQ(mod.GetObjectName(), L"Slit Form");
    EXPECT_EQ(mod.SuperClassID(), 0x810u);
    EXPECT_EQ(mod.ClassID(), Class_ID(0x99B58387, 0xD1918693));
    EXPECT_EQ(mod.InputType(), polyObjectClassID);
    EXPECT_EQ(mod.ChannelsUsed(), 183u);
    EXPECT_EQ(mod.ChannelsChanged(), 183u);
    EXPECT_TRUE(mod.ChangesSelType());
    EXPECT_EQ(mod.LocalValidity(100), NEVER);
    EXPECT_EQ(mod.NumSubs(), 1);
    EXPECT_EQ(mod.SubAnim(5), mod.pblock);
    EXPECT_EQ(mod.SubAnimName(3), L"Parameters");
    EXPECT_EQ(mod.NumRefs(), 1);
    EXPECT_EQ(mod.GetReference(7), mod.pblock);
    EXPECT_EQ(mod.NumParamBlocks(), 1);
    EXPECT_EQ(mod.GetParamBlock(2), mod.pblock);
    EXPECT_EQ(mod.SubNumToRefNum(0), 0);
}

TEST(SlitformModifier, CloneOwnsTheRemappedCopyOfTheBlock) {
    Slitform mod;
    INode picked;
    mod.pblock->SetValue(pb_pick_path, 0, &picked);
    mod.pblock->SetValue(pb_weld, 0, 0.25f);
    RemapDir remap;
    Slitform* clone = static_cast<Slitform*>(mod.Clone(remap));
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone->pblock, mod.pblock);
    EXPECT_EQ(clone->pblock, remap.FindMapping(mod.pblock));
    EXPECT_EQ(remap.FindMapping(&mod), clone);
    EXPECT_EQ(clone->pblock->GetFloat(pb_weld), 0.25f);
    EXPECT_EQ(clone->pblock->GetINode(pb_pick_path), &picked);
    EXPECT_EQ(clone->pblock->Dependents().size(), 1u);
    clone->DeleteThis();
}

TEST(SlitformModifier, PickedNodeChangesPassOnlyForTheShapeItself) {
    Slitform mod;
    INode picked;
    mod.pblock->SetValue(pb_pick_path, 0, &picked);
    ASSERT_EQ(mod.pblock->LastNotifyParamID(), pb_pick_path);
    for (PartID part : {PartID(0x1), PartID(0x2), PartID(0x800037FF)})
        EXPECT_EQ(mod.NotifyRefChanged(FOREVER, mod.pblock, part, REFMSG_CHANGE, true),
                  REF_SUCCEED);
    for (PartID part : {PartID(0x4), PartID(PART_TM), PartID(0x3)})
        EXPECT_EQ(mod.NotifyRefChanged(FOREVER, mod.pblock, part, REFMSG_CHANGE, true), REF_STOP);
    PartID tex = 0x4;
    EXPECT_EQ(mod.NotifyRefChanged(FOREVER, mod.pblock, tex, REFMSG_BEGIN_EDIT, true), REF_SUCCEED);
    EXPECT_EQ(mod.NotifyRefChanged(FOREVER, &picked, tex, REFMSG_CHANGE, true), REF_SUCCEED);
    mod.pblock->SetValue(pb_weld, 0, 0.5f);
    EXPECT_EQ(mod.NotifyRefChanged(FOREVER, mod.pblock, tex, REFMSG_CHANGE, true), REF_SUCCEED);

    // Through the real chain: moving the picked node stops at the modifier.
    Listener above(&mod);
    picked.SetNodeTM(0, TransMatrix(Point3(0, 0, 5)));
    EXPECT_TRUE(above.heard.empty());
    picked.NotifyDependents(FOREVER, PART_GEOM, REFMSG_CHANGE);
    ASSERT_EQ(above.heard.size(), 1u);
    EXPECT_EQ(above.parts[0], PartID(PART_GEOM));
}

TEST(SlitformModifier, EditingOpensBothRolloutsAndNotifies) {
    Slitform mod;
    Listener above(&mod);
    TestInterface ip;
    mod.BeginEditParams(&ip, 0, nullptr);
    EXPECT_TRUE(mod.TestAFlag(0x40));
    EXPECT_EQ(above.heard, (std::vector<RefMessage>{0x90, 0xF2}));
    EXPECT_EQ(above.parts[0], PartID(0x800037FF));
    EXPECT_EQ(above.intervals[1], Interval(160, 160));
    ASSERT_EQ(ip.opened.size(), 2u);
    EXPECT_EQ(ip.opened[0].dialogTemplate, 101);
    EXPECT_EQ(ip.opened[1].rollupFlags, APPENDROLL_CLOSED);
    EXPECT_EQ(slitform_param_blk.openMaps.size(), 2u);
    above.heard.clear();
    mod.EndEditParams(&ip, 0, nullptr);
    EXPECT_FALSE(mod.TestAFlag(0x40));
    EXPECT_EQ(above.heard, (std::vector<RefMessage>{0xA0, 0xF3}));
    EXPECT_EQ(ip.closed.size(), 2u);
    EXPECT_TRUE(slitform_param_blk.openMaps.empty());
}
