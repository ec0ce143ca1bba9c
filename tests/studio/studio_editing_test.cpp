// Editing in the window: the history (undo, redo, the title's mark of unsaved
// changes, the question on closing), cancelling an evaluation, the placement
// panel, pick mode, the tooltips, the status bar's mesh health, and the files it
// remembers and takes by drag and drop. Nothing here looks at the picture: these
// run without a display, so without OpenGL.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>
#include <cmath>

#include "app/studio/gl_viewport.h"
#include "app/studio/placement_panel.h"
#include "studio_fixture.h"

namespace {

// Whether two results are the same mesh: every vertex where it was, every face
// with the same corners and flags.
::testing::AssertionResult SameMesh(const MNMesh& a, const MNMesh& b) {
    if (a.numv != b.numv || a.numf != b.numf || a.nume != b.nume)
        return ::testing::AssertionFailure() << "counts differ: " << a.numv << "/" << a.numf
                                             << " against " << b.numv << "/" << b.numf;
    for (int i = 0; i < a.numv; ++i)
        if (!(a.v[i].p == b.v[i].p) || a.v[i].flags != b.v[i].flags)
            return ::testing::AssertionFailure() << "vertex " << i << " differs";
    for (int f = 0; f < a.numf; ++f)
        if (a.f[f].vtx != b.f[f].vtx || a.f[f].flags != b.f[f].flags)
            return ::testing::AssertionFailure() << "face " << f << " differs";
    for (int e = 0; e < a.nume; ++e)
        if (a.e[e].flags != b.e[e].flags)
            return ::testing::AssertionFailure() << "edge " << e << " differs";
    return ::testing::AssertionSuccess();
}

void Box(const std::vector<ViewLine>& lines, Point3& lo, Point3& hi) {
    lo = Point3(INFINITY, INFINITY, INFINITY);
    hi = Point3(-INFINITY, -INFINITY, -INFINITY);
    for (const ViewLine& line : lines)
        for (const Point3& p : line.points) {
            lo = Point3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi = Point3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
}

// Clicks the button of the message box that the window opens next, once it is up.
void AnswerNextQuestion(QMessageBox::StandardButton answer) {
    QTimer::singleShot(0, [answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box)
            box->button(answer)->click();
        else
            AnswerNextQuestion(answer);  // not up yet
    });
}

class StudioEditingTest : public StudioWindowTest {
protected:
    // The demo, evaluated, as the start of the history.
    void OpenDemo() {
        window->OpenDemo();
        window->StartHistory();
        ASSERT_TRUE(WaitForEvaluation());
        ASSERT_TRUE(window->Result().evaluated) << window->Result().error;
    }
    QUndoStack* History() { return window->History(); }
};

}  // namespace

TEST_F(StudioEditingTest, UndoAndRedoGiveBackTheExactResults) {
    OpenDemo();
    // The demo welds: its weld spinner is on from the start.
    QWidget* weld = Control<QWidget>(kWeldSpinner);
    ASSERT_NE(weld, nullptr);
    EXPECT_TRUE(weld->isEnabled());
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(History()->count(), 0);
    MNMesh asOpened = window->Result().mesh;

    QCheckBox* open = Control<QCheckBox>(kOpen);
    ASSERT_NE(open, nullptr);
    QTest::mouseClick(open, Qt::LeftButton);
    ASSERT_TRUE(WaitForEvaluation());
    MNMesh closed = window->Result().mesh;
    EXPECT_FALSE(SameMesh(closed, asOpened));
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_TRUE(window->windowTitle().contains("[*]"));

    window->Placement()->Translate(0)->setValue(0.5);
    ASSERT_TRUE(WaitForEvaluation());
    MNMesh moved = window->Result().mesh;
    EXPECT_FALSE(SameMesh(moved, closed));

    QString error;
    ASSERT_TRUE(window->OpenMesh(SLITFORM_EXAMPLES_DIR "/grid_box.obj", error))
        << error.toStdString();
    ASSERT_TRUE(WaitForEvaluation());
    MNMesh other = window->Result().mesh;
    ASSERT_EQ(History()->count(), 3);
    EXPECT_EQ(History()->text(0), "Set Open");
    EXPECT_EQ(History()->text(1), "Move shape");
    EXPECT_EQ(History()->text(2), "Open mesh grid_box");

    History()->undo();
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_TRUE(SameMesh(window->Result().mesh, moved));
    EXPECT_EQ(window->SceneList()->item(0)->text(), "RoundedBox");
    History()->undo();
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_TRUE(SameMesh(window->Result().mesh, closed));
    EXPECT_EQ(window->Placement()->Translate(0)->value(), 0.0);
    History()->undo();
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_TRUE(SameMesh(window->Result().mesh, asOpened));
    EXPECT_TRUE(open->isChecked());
    EXPECT_FALSE(window->isWindowModified());  // back where the history began

    for (int i = 0; i < 3; ++i) History()->redo();
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_TRUE(SameMesh(window->Result().mesh, other));
    EXPECT_EQ(window->SceneList()->item(0)->text(), "grid_box");
    EXPECT_FALSE(open->isChecked());

    // Saving makes the scene clean; a change after it is unsaved again.
    ASSERT_TRUE(window->SaveResult(dir.filePath("saved.ply"), error)) << error.toStdString();
    EXPECT_FALSE(window->isWindowModified());
    History()->undo();
    EXPECT_TRUE(window->isWindowModified());
}

TEST_F(StudioEditingTest, AShapeDragIsOneStepOfTheHistory) {
    OpenDemo();
    GlViewport* view = window->GetViewport();
    std::vector<ViewLine> lines = window->Document().ShapeLines();
    QPoint at = view->Camera().Project(lines[0].points[0], QSizeF(view->size())).toPoint();
    auto send = [view](QEvent::Type type, QPoint to, Qt::MouseButtons buttons) {
        QMouseEvent event(type, to, view->mapToGlobal(to), Qt::LeftButton, buttons,
                          Qt::ShiftModifier);
        QApplication::sendEvent(view, &event);
    };
    send(QEvent::MouseButtonPress, at, Qt::LeftButton);
    for (int step = 1; step <= 5; ++step)
        send(QEvent::MouseMove, at + QPoint(8 * step, 0), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at + QPoint(40, 0), Qt::NoButton);
    ASSERT_TRUE(WaitForEvaluation());
    ASSERT_EQ(History()->count(), 1);
    EXPECT_EQ(History()->text(0), "Move shape");
    NodeTransform placed = window->Document().Placement();
    EXPECT_GT(placed.translate.Length(), 0.0f);
    EXPECT_NEAR(window->Placement()->Translate(0)->value(), placed.translate.x, 1e-3);
    History()->undo();
    EXPECT_EQ(window->Document().Placement().translate, Point3());
}

TEST_F(StudioEditingTest, CancelLeavesTheSceneAsItWasAndTheChangeToRedo) {
    OpenDemo();
    StudioState before = window->Document().State();
    MNMesh shownBefore = window->Result().mesh;
    QCheckBox* open = Control<QCheckBox>(kOpen);
    ASSERT_NE(open, nullptr);

    // Before the change reaches the worker, and once it has (running or done:
    // either way the window keeps what it showed).
    for (bool submitted : {false, true}) {
        QTest::mouseClick(open, Qt::LeftButton);
        EXPECT_TRUE(window->Evaluating());
        if (submitted)
            QCoreApplication::processEvents();
        window->CancelEvaluation();
        EXPECT_TRUE(window->Document().State() == before) << submitted;
        ASSERT_TRUE(WaitForEvaluation());
        EXPECT_TRUE(SameMesh(window->Result().mesh, shownBefore)) << submitted;
        EXPECT_TRUE(open->isChecked()) << submitted;
        EXPECT_TRUE(window->StatusText()->text().contains("Cancelled")) << submitted;
        EXPECT_TRUE(History()->canRedo());
        EXPECT_EQ(History()->redoText(), "Set Open");
        EXPECT_FALSE(window->isWindowModified());
    }

    // Esc does the same; the Cancel button shows only while an evaluation runs.
    QTest::mouseClick(open, Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->Document().State() == before);
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_TRUE(window->CancelButton()->isHidden());

    History()->redo();
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_FALSE(open->isChecked());
    EXPECT_FALSE(SameMesh(window->Result().mesh, shownBefore));
}

TEST_F(StudioEditingTest, ThePlacementSpinnersMoveTheShapeAndTheCutFollows) {
    OpenDemo();
    int cutAsFitted = window->Result().counts.facesCut;
    ASSERT_GT(cutAsFitted, 0);
    std::vector<ViewLine> fitted = window->Document().ShapeLines();
    Point3 lo0, hi0;
    Box(fitted, lo0, hi0);
    PlacementPanel* panel = window->Placement();

    panel->Translate(0)->setValue(100.0);  // far off to the side: the cut misses the box
    std::vector<ViewLine> moved = window->Document().ShapeLines();
    ASSERT_EQ(moved.size(), fitted.size());
    EXPECT_NEAR(moved[0].points[0].x - fitted[0].points[0].x, 100.0f, 1e-3f);
    EXPECT_NEAR(moved[0].points[0].y, fitted[0].points[0].y, 1e-4f);
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_EQ(window->Result().counts.facesCut, 0);
    EXPECT_EQ(LiveFaces(window->Result().mesh), LiveFaces(window->Document().Mesh()));

    panel->Translate(0)->setValue(0.0);
    panel->Scale()->setValue(0.5);
    Point3 lo, hi;
    Box(window->Document().ShapeLines(), lo, hi);
    EXPECT_NEAR(hi.x - lo.x, 0.5f * (hi0.x - lo0.x), 1e-3f);
    EXPECT_NEAR(hi.y - lo.y, 0.5f * (hi0.y - lo0.y), 1e-3f);
    EXPECT_NEAR((hi.x + lo.x) * 0.5f, (hi0.x + lo0.x) * 0.5f, 1e-3f);  // about the centre
    ASSERT_TRUE(WaitForEvaluation());
    int cutSmaller = window->Result().counts.facesCut;
    EXPECT_GT(cutSmaller, 0);
    EXPECT_LT(cutSmaller, cutAsFitted);

    panel->Scale()->setValue(1.0);
    panel->Rotate(2)->setValue(90.0);  // a quarter turn about z: x becomes y
    Box(window->Document().ShapeLines(), lo, hi);
    EXPECT_NEAR(hi.x - lo.x, hi0.y - lo0.y, 1e-3f);
    EXPECT_NEAR(hi.y - lo.y, hi0.x - lo0.x, 1e-3f);

    // Y up: the fit lays the shape flat over the box's +Y side, one step of the
    // history; undo lays it over the top again.
    panel->Rotate(2)->setValue(0.0);
    ASSERT_TRUE(WaitForEvaluation());
    const int steps = History()->count();
    panel->UpBox()->setCurrentIndex(1);
    Box(window->Document().ShapeLines(), lo, hi);
    EXPECT_NEAR(hi.y - lo.y, 0.0f, 1e-3f);
    const MNMesh& mesh = window->Document().Mesh();
    for (int v = 0; v < mesh.numv; ++v) EXPECT_GT(lo.y, mesh.v[v].p.y);
    EXPECT_LT(hi.z - lo.z, 1.5f);  // within the box's height
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_GT(window->Result().counts.facesCut, 0);
    ASSERT_EQ(History()->count(), steps + 1);
    EXPECT_EQ(History()->undoText(), "Set Y up");
    History()->undo();
    EXPECT_EQ(panel->UpBox()->currentIndex(), 0);
    EXPECT_EQ(window->Document().ShapeLines()[0].points[0], fitted[0].points[0]);

    QTest::mouseClick(panel->FitButton(), Qt::LeftButton);
    EXPECT_EQ(panel->Rotate(2)->value(), 0.0);
    EXPECT_EQ(window->Document().Placement().translate, Point3());
    std::vector<ViewLine> refitted = window->Document().ShapeLines();
    EXPECT_EQ(refitted[0].points[0], fitted[0].points[0]);
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_EQ(window->Result().counts.facesCut, cutAsFitted);
}

TEST_F(StudioEditingTest, PickModeShowsItselfAndEscLeavesIt) {
    OpenDemo();
    QPushButton* pick = Control<QPushButton>(kPickShape);
    ASSERT_NE(pick, nullptr);
    GlViewport* view = window->GetViewport();
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);

    QTest::mouseClick(pick, Qt::LeftButton);
    ASSERT_TRUE(window->Picking());
    EXPECT_TRUE(pick->isChecked());
    EXPECT_TRUE(pick->styleSheet().contains("highlight"));
    EXPECT_EQ(view->cursor().shape(), Qt::CrossCursor);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("Pick mode"));

    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->Picking());
    EXPECT_FALSE(pick->isChecked());
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(window->Document().PickedNode(), window->Document().ShapeNode());  // unchanged

    // A pick made in pick mode ends it too.
    QTest::mouseClick(pick, Qt::LeftButton);
    window->SceneList()->setCurrentRow(1);
    QTest::mouseClick(window->SceneList()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      window->SceneList()->visualItemRect(window->SceneList()->item(1)).center());
    EXPECT_FALSE(window->Picking());
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(StudioEditingTest, EveryControlSaysWhatItDoesAndItsRange) {
    std::vector<QWidget*> widgets;
    for (IParamMap2* map : window->Panel()->Maps()) {
        QtDialog* dialog = window->Panel()->DialogOf(map);
        ASSERT_NE(dialog, nullptr);
        for (QWidget* w : dialog->findChildren<QWidget*>()) widgets.push_back(w);
    }
    for (QWidget* w : window->Placement()->findChildren<QWidget*>()) widgets.push_back(w);
    int controls = 0;
    for (QWidget* w : widgets) {
        bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                       qobject_cast<QLineEdit*>(w);
        if (!control)
            continue;
        ++controls;
        // A spinner's arrow shows its control's tooltip.
        QString tip;
        for (QWidget* at = w; at && !dynamic_cast<QtDialog*>(at) && tip.isEmpty();
             at = at->parentWidget())
            tip = at->toolTip();
        auto* button = qobject_cast<QAbstractButton*>(w);
        EXPECT_FALSE(tip.isEmpty())
            << w->metaObject()->className() << " " << (button ? button->text().toStdString() : "");
    }
    EXPECT_GT(controls, 15);
    QWidget* minAngle = ControlOf<QWidget>(L"min_angle");
    ASSERT_NE(minAngle, nullptr);
    EXPECT_TRUE(minAngle->toolTip().contains("angle")) << minAngle->toolTip().toStdString();
    EXPECT_TRUE(minAngle->toolTip().contains(" to ")) << minAngle->toolTip().toStdString();
    EXPECT_TRUE(minAngle->toolTip().contains("default")) << minAngle->toolTip().toStdString();
    EXPECT_FALSE(window->CancelButton()->toolTip().isEmpty());
}

TEST_F(StudioEditingTest, TheStatusBarTellsTheMeshHealthAndWarnsWhenTheCutSplitsIt) {
    QString error;
    ASSERT_TRUE(window->OpenFiles(
        {SLITFORM_EXAMPLES_DIR "/grid_box.ply", SLITFORM_EXAMPLES_DIR "/star.svg"}, error))
        << error.toStdString();
    QTest::mouseClick(Control<QPushButton>(kPickShape), Qt::LeftButton);
    ParametersMap()->UserPickNode(window->Document().ShapeNode());
    QTest::mouseClick(Control<QCheckBox>(kOpen), Qt::LeftButton);
    ASSERT_TRUE(WaitForEvaluation());
    ASSERT_TRUE(window->Result().evaluated) << window->Result().error;
    const ResultHealth& health = window->Health();
    EXPECT_EQ(health.in.components, 1);
    EXPECT_GT(health.out.components, health.in.components);
    EXPECT_TRUE(health.split);
    EXPECT_FALSE(window->HealthWarning()->isHidden());
    EXPECT_TRUE(window->HealthWarning()->toolTip().contains("Weld"));
    QString figures = window->HealthText()->text();
    EXPECT_TRUE(figures.contains(QString("%1 border edges").arg(health.out.borderEdges)))
        << figures.toStdString();
    EXPECT_TRUE(figures.contains(QString("%1 pieces").arg(health.out.components)))
        << figures.toStdString();
    QString said = window->StatusText()->text();
    EXPECT_TRUE(said.startsWith(QString("Cut %1 faces (now").arg(window->Result().counts.facesCut)))
        << said.toStdString();
    EXPECT_FALSE(said.contains("replaced"));

    QCheckBox* weld = ControlOf<QCheckBox>(L"weld_on");
    ASSERT_NE(weld, nullptr);
    QTest::mouseClick(weld, Qt::LeftButton);
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_FALSE(window->Health().split);
    EXPECT_TRUE(window->HealthWarning()->isHidden());
}

TEST_F(StudioEditingTest, FilesAreRememberedAndTakenByDragAndDrop) {
    QString error;
    QString mesh = QFileInfo(SLITFORM_EXAMPLES_DIR "/grid_box.ply").absoluteFilePath();
    QString shape = QFileInfo(SLITFORM_EXAMPLES_DIR "/star.svg").absoluteFilePath();
    ASSERT_TRUE(window->OpenMesh(mesh, error)) << error.toStdString();
    StudioSettings settings;
    EXPECT_EQ(settings.LastFolder(), QFileInfo(mesh).absolutePath());
    ASSERT_FALSE(settings.RecentFiles().isEmpty());
    EXPECT_EQ(settings.RecentFiles()[0], mesh);
    ASSERT_TRUE(window->OpenShape(shape, error)) << error.toStdString();
    EXPECT_EQ(settings.RecentFiles(), QStringList({shape, mesh}));
    ASSERT_TRUE(window->SaveResult(dir.filePath("out.ply"), error)) << error.toStdString();
    EXPECT_EQ(settings.LastFolder(), QFileInfo(dir.filePath("out.ply")).absolutePath());
    ASSERT_TRUE(window->OpenMesh(mesh, error));  // again: once in the list, at the top
    EXPECT_EQ(settings.RecentFiles(), QStringList({mesh, shape}));
    emit window->RecentMenu()->aboutToShow();
    ASSERT_EQ(window->RecentMenu()->actions().size(), 2);
    EXPECT_EQ(window->RecentMenu()->actions()[0]->text(), "grid_box.ply");

    window->OpenDemo();
    ASSERT_TRUE(WaitForEvaluation());
    auto drag = [this](const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        return true;
    };
    QString text = WriteFile(dir, "notes.txt", "not a mesh");
    EXPECT_FALSE(drag({QUrl::fromLocalFile(mesh), QUrl::fromLocalFile(text)}));
    EXPECT_EQ(window->SceneList()->item(0)->text(), "RoundedBox");
    EXPECT_TRUE(drag({QUrl::fromLocalFile(mesh), QUrl::fromLocalFile(shape)}));
    EXPECT_EQ(window->SceneList()->item(0)->text(), "grid_box");
    EXPECT_EQ(window->SceneList()->item(1)->text(), "star");
}

TEST_F(StudioEditingTest, ClosingAsksBeforeLosingChanges) {
    OpenDemo();
    EXPECT_TRUE(window->close());  // nothing to lose: no question
    window->show();
    QTest::mouseClick(Control<QCheckBox>(kOpen), Qt::LeftButton);
    ASSERT_TRUE(WaitForEvaluation());
    ASSERT_TRUE(window->isWindowModified());
    AnswerNextQuestion(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    AnswerNextQuestion(QMessageBox::Discard);
    EXPECT_TRUE(window->close());
}

TEST_F(StudioEditingTest, LetteringIsAShapeThatUndoTakesBack) {
    OpenDemo();
    MNMesh withStar = window->Result().mesh;
    std::size_t starLines = window->Document().ShapeLines().size();
    QString error;
    EXPECT_FALSE(window->OpenText("X", "No Such Font", error));
    EXPECT_TRUE(error.contains("No Such Font")) << error.toStdString();
    EXPECT_EQ(window->Document().ShapeLines().size(), starLines);
    EXPECT_EQ(History()->count(), 0);

    ASSERT_TRUE(window->OpenText("HI", "DejaVu Sans", error)) << error.toStdString();
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_EQ(window->Document().ShapeLines().size(), 2u);  // H and I, one outline each
    EXPECT_GT(window->Result().counts.facesCut, 0);
    EXPECT_FALSE(SameMesh(window->Result().mesh, withStar));
    EXPECT_EQ(window->SceneList()->item(1)->text(), "HI");
    ASSERT_EQ(History()->count(), 1);

    History()->undo();
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_TRUE(SameMesh(window->Result().mesh, withStar));
    EXPECT_EQ(window->Document().ShapeLines().size(), starLines);
}
