// The Qt back end of the host's dialogs on the plug-in's own rollouts: the
// widgets it builds, where it puts them, and the state it carries both ways.
#include "qt_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "custcont.h"
#include "dialog_units.h"
#include "inode.h"
#include "plugin/module/module_handle.h"
#include "plugin/param_block.h"
#include "plugin/slitform.h"
#include "plugin/ui/resource.h"
#include "spinner_arrows.h"

namespace {

class Panel : public Interface {
public:
    TimeValue GetTime() override { return 0; }
    void RolloutOpened(IParamMap2* map) override { maps.push_back(map); }
    void RolloutClosing(IParamMap2*) override {}
    std::vector<IParamMap2*> maps;
};

class QtParametersRollout : public ::testing::Test {
protected:
    void SetUp() override {
        mod.BeginEditParams(&panel, 0, nullptr);
        ASSERT_GE(panel.maps.size(), 1u);
        map = panel.maps[0];
        dlg = map->GetHWnd();
        ASSERT_NE(dlg, nullptr);
        dialog = std::make_unique<QtDialog>(dlg, map, DialogFont(8));
    }
    void TearDown() override {
        dialog.reset();
        mod.EndEditParams(&panel, 0, nullptr);
    }
    template <class W>
    W* Widget(int id) {
        W* w = dynamic_cast<W*>(dialog->ControlWidget(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    void Type(int editID, const QString& text) {
        QLineEdit* edit = Widget<QLineEdit>(editID);
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    IParamBlock2* pb() { return mod.pblock; }

    Slitform mod;
    Panel panel;
    IParamMap2* map = nullptr;
    HWND dlg = nullptr;
    std::unique_ptr<QtDialog> dialog;
};

template <class W>
W* ChildWithText(QWidget* parent, const QString& text) {
    for (W* w : parent->findChildren<W*>(QString(), Qt::FindDirectChildrenOnly)) {
        if constexpr (std::is_same_v<W, QGroupBox>) {
            if (w->title() == text)
                return w;
        } else if (w->text() == text) {
            return w;
        }
    }
    return nullptr;
}

}  // namespace

TEST(DialogUnits, ScaleByBaseUnitsRoundingHalfAwayFromZero) {
    DialogBaseUnits units{6, 13};
    EXPECT_EQ(DialogRectToPixels(7, 7, 94, 15, units), QRect(11, 11, 141, 24));
    EXPECT_EQ(DialogRectToPixels(-2, 0, 1, 4, units), QRect(-3, 0, 2, 7));
    EXPECT_EQ(DialogRectToPixels(0, 0, 108, 192, DialogBaseUnits{7, 16}), QRect(0, 0, 189, 384));
    DialogBaseUnits measured = DialogBaseUnitsOf(DialogFont(8));
    EXPECT_GT(measured.x, 2);
    EXPECT_GT(measured.y, measured.x);
}

TEST_F(QtParametersRollout, BuildsEachControlAtItsTemplateRectangle) {
    const ModuleResources* res = GetModuleResources(hInstance);
    ASSERT_NE(res, nullptr);
    const DialogTemplate& tpl = res->dialogs.at(IDD_PARAMS);
    DialogBaseUnits units = DialogBaseUnitsOf(DialogFont(8));
    EXPECT_EQ(dialog->size(), DialogRectToPixels(0, 0, tpl.width, tpl.height, units).size());
    EXPECT_EQ(dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 24);

    for (int id : {IDC_WELD_ON, IDC_REMOVE_UNUSED, IDC_OPEN, IDC_LOCAL, IDC_COLLINEAR_ON,
                   IDC_THROUGH, IDC_MATID_ON})
        Widget<QCheckBox>(id);
    for (int id :
         {IDC_SEL_OBJECT, IDC_SEL_VERTS, IDC_SEL_EDGES, IDC_SEL_POLYGONS, IDC_SEL_NO_CHANGE})
        Widget<QRadioButton>(id);
    for (int id : {IDC_WELD_EDIT, IDC_COLLINEAR_EDIT, IDC_MATID_EDIT, IDC_ANGLE_EDIT})
        Widget<QLineEdit>(id);
    for (int id : {IDC_WELD_SPIN, IDC_COLLINEAR_SPIN, IDC_MATID_SPIN, IDC_ANGLE_SPIN})
        Widget<SpinnerArrows>(id);
    QPushButton* pick = Widget<QPushButton>(IDC_PICK_SHAPE);
    ASSERT_NE(pick, nullptr);
    EXPECT_TRUE(pick->isCheckable());
    EXPECT_EQ(pick->text(), "Pick shape");
    EXPECT_EQ(Widget<QCheckBox>(IDC_LOCAL)->text(), "Local projection");

    for (const DialogControl& c : tpl.controls) {
        QRect expected = DialogRectToPixels(c.x, c.y, c.width, c.height, units);
        QWidget* w = c.id != -1 ? dialog->ControlWidget(c.id) : nullptr;
        if (c.id == -1 && c.className == "Static")
            w = ChildWithText<QLabel>(dialog.get(), "Min angle:");
        if (c.id == -1 && c.className == "Button")
            w = ChildWithText<QGroupBox>(dialog.get(), QString::fromStdWString(c.text));
        ASSERT_NE(w, nullptr) << c.id << " " << c.className;
        EXPECT_EQ(w->geometry(), expected) << c.id << " " << c.className;
    }
    // "Pick shape" spans the width: 7 to 101 of 108 units.
    EXPECT_EQ(pick->geometry().left(), DialogRectToPixels(7, 0, 0, 0, units).left());
    EXPECT_EQ(pick->geometry().right() + 1, DialogRectToPixels(101, 0, 0, 0, units).left());
}

TEST_F(QtParametersRollout, ClicksAndTypingSetParametersAndTheUpdateFollows) {
    // A new modifier: the checked spinners are off, edit fields with them.
    EXPECT_FALSE(Widget<SpinnerArrows>(IDC_WELD_SPIN)->isEnabled());
    EXPECT_FALSE(Widget<QLineEdit>(IDC_WELD_EDIT)->isEnabled());
    EXPECT_TRUE(Widget<SpinnerArrows>(IDC_ANGLE_SPIN)->isEnabled());
    EXPECT_TRUE(Widget<QCheckBox>(IDC_REMOVE_UNUSED)->isChecked());
    EXPECT_TRUE(Widget<QRadioButton>(IDC_SEL_NO_CHANGE)->isChecked());
    EXPECT_EQ(Widget<QLineEdit>(IDC_ANGLE_EDIT)->text(), "27");

    QCheckBox* weld = Widget<QCheckBox>(IDC_WELD_ON);
    QTest::mouseClick(weld, Qt::LeftButton);
    EXPECT_EQ(pb()->GetInt(pb_weld_on), 1);
    EXPECT_TRUE(weld->isChecked());
    EXPECT_TRUE(Widget<SpinnerArrows>(IDC_WELD_SPIN)->isEnabled());
    EXPECT_TRUE(Widget<QLineEdit>(IDC_WELD_EDIT)->isEnabled());
    QTest::mouseClick(weld, Qt::LeftButton);
    EXPECT_EQ(pb()->GetInt(pb_weld_on), 0);
    EXPECT_FALSE(Widget<SpinnerArrows>(IDC_WELD_SPIN)->isEnabled());

    QTest::mouseClick(Widget<QCheckBox>(IDC_OPEN), Qt::LeftButton);
    EXPECT_EQ(pb()->GetInt(pb_open), 1);

    Type(IDC_ANGLE_EDIT, "20");
    EXPECT_EQ(pb()->GetFloat(pb_min_angle), 20.0f);
    Type(IDC_ANGLE_EDIT, "abc");  // not a number: the field shows the value again
    EXPECT_EQ(pb()->GetFloat(pb_min_angle), 20.0f);
    EXPECT_EQ(Widget<QLineEdit>(IDC_ANGLE_EDIT)->text(), "20");
    Type(IDC_ANGLE_EDIT, "50");  // clamped to the range
    EXPECT_EQ(pb()->GetFloat(pb_min_angle), 33.0f);
    EXPECT_EQ(Widget<QLineEdit>(IDC_ANGLE_EDIT)->text(), "33");

    SpinnerArrows* angle = Widget<SpinnerArrows>(IDC_ANGLE_SPIN);
    QTest::mouseClick(angle->Up(), Qt::LeftButton);
    EXPECT_EQ(pb()->GetFloat(pb_min_angle), 33.0f);
    QTest::mouseClick(angle->Down(), Qt::LeftButton);
    EXPECT_EQ(pb()->GetFloat(pb_min_angle), 33.0f - 0.1f);

    QTest::mouseClick(Widget<QCheckBox>(IDC_MATID_ON), Qt::LeftButton);
    QTest::mouseClick(Widget<SpinnerArrows>(IDC_MATID_SPIN)->Up(), Qt::LeftButton);
    EXPECT_EQ(pb()->GetInt(pb_matid), 2);
    EXPECT_EQ(Widget<QLineEdit>(IDC_MATID_EDIT)->text(), "2");

    QTest::mouseClick(Widget<QRadioButton>(IDC_SEL_EDGES), Qt::LeftButton);
    EXPECT_EQ(pb()->GetInt(pb_sel_level), 2);
    EXPECT_FALSE(Widget<QRadioButton>(IDC_SEL_NO_CHANGE)->isChecked());
    // A second click on the checked button leaves it checked, as the host does.
    QTest::mouseClick(Widget<QRadioButton>(IDC_SEL_EDGES), Qt::LeftButton);
    EXPECT_TRUE(Widget<QRadioButton>(IDC_SEL_EDGES)->isChecked());
    EXPECT_EQ(pb()->GetInt(pb_sel_level), 2);
}

TEST_F(QtParametersRollout, ParameterChangesShowInTheWidgets) {
    pb()->SetValue(pb_through, 0, 1);
    EXPECT_TRUE(Widget<QCheckBox>(IDC_THROUGH)->isChecked());
    pb()->SetValue(pb_min_angle, 0, 12.5f);
    EXPECT_EQ(Widget<QLineEdit>(IDC_ANGLE_EDIT)->text(), "12.5");
    pb()->SetValue(pb_sel_level, 0, 3);
    EXPECT_TRUE(Widget<QRadioButton>(IDC_SEL_POLYGONS)->isChecked());
    EXPECT_FALSE(Widget<QRadioButton>(IDC_SEL_NO_CHANGE)->isChecked());
    // Behind the rollout's back the update does not run: the spinner stays off.
    pb()->SetValue(pb_weld_on, 0, 1);
    EXPECT_TRUE(Widget<QCheckBox>(IDC_WELD_ON)->isChecked());
    EXPECT_FALSE(Widget<SpinnerArrows>(IDC_WELD_SPIN)->isEnabled());

    QPushButton* pick = Widget<QPushButton>(IDC_PICK_SHAPE);
    QTest::mouseClick(pick, Qt::LeftButton);
    EXPECT_TRUE(map->IsPicking());
    EXPECT_TRUE(pick->isChecked());
    EXPECT_TRUE(Widget<SpinnerArrows>(IDC_WELD_SPIN)->isEnabled());  // the click ran the update
    INode star;
    star.SetName(L"Star01");
    map->UserPickNode(&star);
    EXPECT_FALSE(pick->isChecked());
    EXPECT_EQ(pick->text(), "Star01");
    EXPECT_EQ(pb()->GetINode(pb_pick_path), &star);
    pb()->SetValue(pb_pick_path, 0, static_cast<INode*>(nullptr));
    EXPECT_EQ(pick->text(), "Pick shape");
}

TEST_F(QtParametersRollout, KeepsAndRestoresTheHooksItFound) {
    dialog.reset();
    HWND open = GetDlgItem(dlg, IDC_OPEN);
    int heard = 0;
    open->changed = [&heard](HWND) { ++heard; };
    dialog = std::make_unique<QtDialog>(dlg, map, DialogFont(8));
    pb()->SetValue(pb_open, 0, 1);
    EXPECT_GE(heard, 1);
    EXPECT_TRUE(Widget<QCheckBox>(IDC_OPEN)->isChecked());
    dialog.reset();
    int before = heard;
    pb()->SetValue(pb_open, 0, 0);
    EXPECT_GT(heard, before);
    open->changed = nullptr;
}

TEST(QtDialogWithoutMap, FollowsImagesTextAndWindowsAddedLater) {
    HWND about = CreateDialogFromTemplate(hInstance, IDD_ABOUT, nullptr);
    ASSERT_NE(about, nullptr);
    {
        QtDialog dialog(about, nullptr, DialogFont(8));
        SetDlgItemTextW(about, 1049, L"Slit Form 2.0.1.3");
        auto* title = dynamic_cast<QLabel*>(dialog.ControlWidget(1049));
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->text(), "Slit Form 2.0.1.3");
        EXPECT_TRUE(title->alignment() & Qt::AlignHCenter);
        EXPECT_EQ(dynamic_cast<QPushButton*>(dialog.ControlWidget(1001))->text(),
                  "Check for update");

        HBITMAP banner = LoadBitmapW(hInstance, IDB_BANNER);
        ASSERT_NE(banner, nullptr);
        HIMAGELIST list = ImageList_Create(banner->width, banner->height, ILC_COLORDDB, 1, 0);
        ASSERT_GE(ImageList_Add(list, banner, nullptr), 0);
        ICustImage* image = GetICustImage(GetDlgItem(about, 1126));
        image->SetImage(list, 0, banner->width, banner->height);
        ReleaseICustImage(image);
        auto* picture = dynamic_cast<QLabel*>(dialog.ControlWidget(1126));
        ASSERT_NE(picture, nullptr);
        ASSERT_FALSE(picture->pixmap(Qt::ReturnByValue).isNull());
        QImage shown = picture->pixmap(Qt::ReturnByValue).toImage();
        EXPECT_EQ(shown.size(), QSize(banner->width, banner->height));
        const unsigned char* first = banner->bgr.data();  // the top-left pixel, BGR
        EXPECT_EQ(shown.pixel(0, 0), qRgb(first[2], first[1], first[0]));
        ImageList_Destroy(list);
        DeleteObject(banner);

        HWND progress = CreateWindowExW(0, L"msctls_progress32", L"", 0, 0, 54, 109, 10, about,
                                        nullptr, nullptr, nullptr);
        SendMessageW(progress, PBM_SETRANGE, 0, MAKELPARAM(0, 200));
        SendMessageW(progress, PBM_SETPOS, 50, 0);
        auto* bar = dialog.findChild<QProgressBar*>();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->maximum(), 200);
        EXPECT_EQ(bar->value(), 50);
        DestroyWindow(progress);
        EXPECT_EQ(dialog.findChild<QProgressBar*>(), nullptr);
    }
    EXPECT_FALSE(static_cast<bool>(about->changed));
    DestroyWindow(about);
}
