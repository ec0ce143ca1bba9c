// The Parameters rollout through the headless dialogs: GeneralDlgProc and the
// binding of every control to its parameter.
#include <gtest/gtest.h>

#include "inode.h"
#include "plugin/param_block.h"
#include "plugin/slitform.h"
#include "plugin/ui/resource.h"

namespace {

class Panel : public Interface {
public:
    TimeValue GetTime() override { return 0; }
    void RolloutOpened(IParamMap2* map) override { maps.push_back(map); }
    void RolloutClosing(IParamMap2*) override {}
    std::vector<IParamMap2*> maps;
};

class ParametersRollout : public ::testing::Test {
protected:
    void SetUp() override {
        mod.BeginEditParams(&panel, 0, nullptr);
        ASSERT_GE(panel.maps.size(), 1u);
        map = panel.maps[0];
        dlg = map->GetHWnd();
        ASSERT_NE(dlg, nullptr);
    }
    void TearDown() override { mod.EndEditParams(&panel, 0, nullptr); }
    bool Enabled(int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) == TRUE; }
    IParamBlock2* pb() { return mod.pblock; }

    Slitform mod;
    Panel panel;
    IParamMap2* map = nullptr;
    HWND dlg = nullptr;
};

}  // namespace

TEST_F(ParametersRollout, NewModifierDisablesTheCheckedSpinners) {
    EXPECT_EQ(map->Desc().dialogTemplate, 101);
    EXPECT_FALSE(Enabled(IDC_WELD_SPIN));
    EXPECT_FALSE(Enabled(IDC_COLLINEAR_SPIN));
    EXPECT_FALSE(Enabled(IDC_MATID_SPIN));
    EXPECT_TRUE(Enabled(IDC_ANGLE_SPIN));
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_REMOVE_UNUSED), UINT(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_SEL_NO_CHANGE), UINT(BST_CHECKED));
    ISpinnerControl* weld = GetISpinner(GetDlgItem(dlg, IDC_WELD_SPIN));
    ASSERT_NE(weld, nullptr);
    EXPECT_TRUE(weld->GetAutoScale());
    EXPECT_EQ(weld->GetEditType(), EDITTYPE_UNIVERSE);
    EXPECT_EQ(weld->GetFVal(), 0.001f);
    ReleaseISpinner(weld);
    EXPECT_EQ(GetISpinner(GetDlgItem(dlg, IDC_WELD_ON)), nullptr);  // not a spinner
}

TEST_F(ParametersRollout, WeldCheckBoxTogglesItsSpinnerOnly) {
    EnableWindow(GetDlgItem(dlg, IDC_WELD_EDIT), FALSE);
    HostClickButton(dlg, IDC_WELD_ON);
    EXPECT_EQ(pb()->GetInt(pb_weld_on), 1);
    EXPECT_TRUE(Enabled(IDC_WELD_SPIN));
    EXPECT_FALSE(Enabled(IDC_WELD_EDIT));  // the edit field keeps its state
    HostClickButton(dlg, IDC_WELD_ON);
    EXPECT_EQ(pb()->GetInt(pb_weld_on), 0);
    EXPECT_FALSE(Enabled(IDC_WELD_SPIN));
    HostClickButton(dlg, IDC_COLLINEAR_ON);
    HostClickButton(dlg, IDC_MATID_ON);
    EXPECT_TRUE(Enabled(IDC_COLLINEAR_SPIN));
    EXPECT_TRUE(Enabled(IDC_MATID_SPIN));
}

TEST_F(ParametersRollout, OtherClicksDoNotRunTheUpdate) {
    // Turning weld on behind the rollout's back checks the box but leaves the
    // spinner as the last update set it.
    pb()->SetValue(pb_weld_on, 0, 1);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_WELD_ON), UINT(BST_CHECKED));
    EXPECT_FALSE(Enabled(IDC_WELD_SPIN));
    for (int id :
         {IDC_REMOVE_UNUSED, IDC_THROUGH, IDC_OPEN, IDC_LOCAL, IDC_SEL_EDGES, IDC_SEL_OBJECT}) {
        HostClickButton(dlg, id);
        EXPECT_FALSE(Enabled(IDC_WELD_SPIN)) << id;
    }
    HostClickButton(dlg, IDC_PICK_SHAPE);
    EXPECT_TRUE(Enabled(IDC_WELD_SPIN));
}

TEST_F(ParametersRollout, EveryControlIsBoundToItsParameter) {
    struct Box {
        int control;
        int param;
    };
    for (Box b :
         {Box{IDC_REMOVE_UNUSED, pb_remove_unused}, Box{IDC_WELD_ON, pb_weld_on},
          Box{IDC_OPEN, pb_open}, Box{IDC_LOCAL, pb_local}, Box{IDC_COLLINEAR_ON, pb_collinear_on},
          Box{IDC_THROUGH, pb_through}, Box{IDC_MATID_ON, pb_matid_on}}) {
        int before = pb()->GetInt(static_cast<ParamID>(b.param));
        HostClickButton(dlg, b.control);
        EXPECT_EQ(pb()->GetInt(static_cast<ParamID>(b.param)), 1 - before) << b.control;
        pb()->SetValue(static_cast<ParamID>(b.param), 0, before);
        EXPECT_EQ(IsDlgButtonChecked(dlg, b.control), UINT(before ? BST_CHECKED : BST_UNCHECKED))
            << b.control;
    }
    const int radios[5] = {IDC_SEL_OBJECT, IDC_SEL_VERTS, IDC_SEL_EDGES, IDC_SEL_POLYGONS,
                           IDC_SEL_NO_CHANGE};
    for (int value = 0; value < 5; ++value) {
        HostClickButton(dlg, radios[value]);
        EXPECT_EQ(pb()->GetInt(pb_sel_level), value);
        for (int other = 0; other < 5; ++other)
            EXPECT_EQ(IsDlgButtonChecked(dlg, radios[other]),
                      UINT(other == value ? BST_CHECKED : BST_UNCHECKED));
    }
    pb()->SetValue(pb_sel_level, 0, 2);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_SEL_EDGES), UINT(BST_CHECKED));

    HostClickButton(dlg, IDC_WELD_ON);
    HostClickButton(dlg, IDC_COLLINEAR_ON);
    HostClickButton(dlg, IDC_MATID_ON);
    map->UserSetSpinner(IDC_WELD_SPIN, 0.5f);
    EXPECT_EQ(pb()->GetFloat(pb_weld), 0.5f);
    map->UserSetSpinner(IDC_COLLINEAR_SPIN, 0.02f);
    EXPECT_EQ(pb()->GetFloat(pb_collinear), 0.02f);
    map->UserSetSpinner(IDC_MATID_SPIN, 5000.0f);  // clamped to the range
    EXPECT_EQ(pb()->GetInt(pb_matid), 999);
    map->UserSetSpinner(IDC_ANGLE_SPIN, 40.0f);
    EXPECT_EQ(pb()->GetFloat(pb_min_angle), 33.0f);
    pb()->SetValue(pb_min_angle, 0, 12.5f);
    EXPECT_EQ(GetWindowTextString(GetDlgItem(dlg, IDC_ANGLE_EDIT)), L"12.5");
    ISpinnerControl* angle = GetISpinner(GetDlgItem(dlg, IDC_ANGLE_SPIN));
    EXPECT_EQ(angle->GetFVal(), 12.5f);
    EXPECT_EQ(angle->GetScale(), 0.1f);
    ReleaseISpinner(angle);
    HostClickButton(dlg, IDC_MATID_ON);  // disabled again: the user cannot spin it
    map->UserSetSpinner(IDC_MATID_SPIN, 7.0f);
    EXPECT_EQ(pb()->GetInt(pb_matid), 999);

    INode shape;
    shape.SetName(L"Star01");
    HostClickButton(dlg, IDC_PICK_SHAPE);
    EXPECT_TRUE(map->IsPicking());
    map->UserPickNode(&shape);
    EXPECT_FALSE(map->IsPicking());
    EXPECT_EQ(pb()->GetINode(pb_pick_path), &shape);
    EXPECT_EQ(GetWindowTextString(GetDlgItem(dlg, IDC_PICK_SHAPE)), L"Star01");
    pb()->SetValue(pb_pick_path, 0, static_cast<INode*>(nullptr));
    EXPECT_EQ(GetWindowTextString(GetDlgItem(dlg, IDC_PICK_SHAPE)), L"Pick shape");
}
