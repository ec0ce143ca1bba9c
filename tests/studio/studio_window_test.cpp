// The whole window on the offscreen platform: files opened, the shape picked in
// the viewport, a parameter changed in the rollout, the result drawn and saved.
#include "app/studio/studio_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "app/studio/gl_viewport.h"
#include "app/studio/rollout.h"
#include "io/read_mesh.h"
#include "studio_fixture.h"

TEST_F(StudioWindowTest, ThePanelShowsTheRolloutsTheModifierOpens) {
    std::vector<IParamMap2*> maps = window->Panel()->Maps();
    ASSERT_EQ(maps.size(), 2u);
    Rollout* parameters = window->Panel()->RolloutOf(maps[0]);
    Rollout* about = window->Panel()->RolloutOf(maps[1]);
    ASSERT_NE(parameters, nullptr);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(parameters->TitleBar()->text(), "Parameters");
    EXPECT_EQ(about->TitleBar()->text(), "About");
    EXPECT_TRUE(parameters->IsOpen());
    EXPECT_FALSE(about->IsOpen());
    // A window added to the closed rollout's dialog leaves it closed.
    HWND bar = CreateWindowExW(0, L"msctls_progress32", L"", 0, 0, 54, 109, 10, maps[1]->GetHWnd(),
                               nullptr, nullptr, nullptr);
    EXPECT_FALSE(about->Body()->isVisible());
    DestroyWindow(bar);
    QTest::mouseClick(about->TitleBar(), Qt::LeftButton);
    EXPECT_TRUE(about->IsOpen());
    EXPECT_TRUE(about->Body()->isVisible());
}

TEST_F(StudioWindowTest, OpensPicksCutsAndSaves) {
    // Picking clicks the viewport and the end looks at its picture.
    if (!GlViewport::OpenGlAvailable())
        GTEST_SKIP()
            << "no OpenGL context here (the tests run under xvfb-run where it is installed)";
    QString error;
    ASSERT_TRUE(window->OpenMesh(SLITFORM_EXAMPLES_DIR "/grid_box.obj", error))
        << error.toStdString();
    ASSERT_TRUE(window->OpenShape(SLITFORM_EXAMPLES_DIR "/star.svg", error)) << error.toStdString();
    ASSERT_TRUE(WaitForEvaluation());
    int facesIn = LiveFaces(window->Document().Mesh());
    EXPECT_GT(facesIn, 0);
    EXPECT_EQ(LiveFaces(window->Result().mesh), facesIn);  // nothing picked yet
    ASSERT_EQ(window->SceneList()->count(), 2);
    EXPECT_EQ(window->SceneList()->item(0)->text(), "grid_box");
    EXPECT_EQ(window->SceneList()->item(1)->text(), "star");

    // "Pick shape", then a click on one of the shape's lines in the viewport.
    QPushButton* pick = Control<QPushButton>(kPickShape);
    ASSERT_NE(pick, nullptr);
    QTest::mouseClick(pick, Qt::LeftButton);
    ASSERT_TRUE(ParametersMap()->IsPicking());
    GlViewport* view = window->GetViewport();
    std::vector<ViewLine> lines = window->Document().ShapeLines();
    ASSERT_FALSE(lines.empty());
    ASSERT_GE(lines[0].points.size(), 2u);
    Point3 onLine = (lines[0].points[0] + lines[0].points[1]) * 0.5f;
    QPoint at = view->Camera().Project(onLine, QSizeF(view->size())).toPoint();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_FALSE(ParametersMap()->IsPicking());
    EXPECT_EQ(window->Document().PickedNode(), window->Document().ShapeNode());
    EXPECT_EQ(pick->text(), "star");

    QCheckBox* open = Control<QCheckBox>(kOpen);
    ASSERT_NE(open, nullptr);
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_TRUE(open->isChecked());
    ASSERT_TRUE(WaitForEvaluation());
    const CutOutcome& result = window->Result();
    ASSERT_TRUE(result.evaluated) << result.error;
    IParamBlock2* block = window->Document().Block();
    EXPECT_EQ(block->GetInt(block->GetDesc()->FindParam(L"open")->id), 1);
    int facesOut = LiveFaces(result.mesh);
    EXPECT_GT(facesOut, 0);

    QImage picture = view->grab().toImage();
    int colours = 0;
    QRgb first = picture.pixel(0, 0);
    for (int y = 0; y < picture.height(); y += 4)
        for (int x = 0; x < picture.width(); x += 4) colours += picture.pixel(x, y) != first;
    EXPECT_GT(colours, 1000);  // not blank
    EXPECT_GT(CountColour(picture, GlViewport::ShapeColour()), 20);
    // The star's lines became edges of the box, selected and drawn bold.
    EXPECT_GT(result.counts.facesCut, 0);
    EXPECT_GT(result.counts.selectedEdges, 0);
    EXPECT_GT(CountColour(picture, GlViewport::SelectedEdgeColour()), 50);

    QString saved = dir.filePath("result.ply");
    ASSERT_TRUE(window->SaveResult(saved, error)) << error.toStdString();
    MNMesh reread;
    std::string readError;
    ASSERT_TRUE(ReadMesh(saved.toStdString(), reread, readError)) << readError;
    EXPECT_EQ(reread.numf, facesOut);
}

TEST_F(StudioWindowTest, FilesThatCannotBeReadChangeNothing) {
    QString error;
    window->OpenDemo();
    ASSERT_TRUE(WaitForEvaluation());
    int facesBefore = LiveFaces(window->Document().Mesh());
    INode* shapeBefore = window->Document().ShapeNode();
    ASSERT_NE(shapeBefore, nullptr);
    EXPECT_EQ(window->Document().PickedNode(), shapeBefore);  // the demo picks its star
    std::vector<ViewLine> linesBefore = window->Document().ShapeLines();

    QString garbage = WriteFile(dir, "broken.ply", "ply\nformat nonsense\n");
    EXPECT_FALSE(window->OpenMesh(garbage, error));
    EXPECT_TRUE(error.contains("broken.ply")) << error.toStdString();
    EXPECT_FALSE(window->OpenMesh(WriteFile(dir, "empty.obj", "v 0 0 0\n"), error));
    EXPECT_FALSE(window->OpenShape(dir.filePath("missing.svg"), error));
    EXPECT_TRUE(error.contains("missing.svg")) << error.toStdString();
    EXPECT_FALSE(window->OpenShape(
        WriteFile(dir, "none.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>"), error));
    EXPECT_FALSE(window->SaveResult(dir.filePath("no/such/folder/result.ply"), error));

    EXPECT_EQ(LiveFaces(window->Document().Mesh()), facesBefore);
    EXPECT_EQ(window->Document().ShapeNode(), shapeBefore);
    EXPECT_EQ(window->Document().ShapeLines().size(), linesBefore.size());
    EXPECT_EQ(window->SceneList()->item(0)->text(), "RoundedBox");
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_TRUE(window->Result().evaluated);
}

TEST_F(StudioWindowTest, MovingTheShapeReEvaluates) {
    window->OpenDemo();
    ASSERT_TRUE(WaitForEvaluation());
    int facesIn = LiveFaces(window->Document().Mesh());
    EXPECT_NE(LiveFaces(window->Result().mesh), facesIn);  // the star opens a hole
    // Far off to the side the star's projection misses the box: the box as it was.
    window->Document().MoveShape(Point3(100.0f, 0.0f, 0.0f));
    EXPECT_TRUE(window->Evaluating());
    ASSERT_TRUE(WaitForEvaluation());
    EXPECT_EQ(LiveFaces(window->Result().mesh), facesIn);
}
