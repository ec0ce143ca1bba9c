// The window of slitform-studio: the viewport and the command panel side by side,
// a list of the scene's nodes, the File and View menus and a status bar. Every
// change of the scene is evaluated on a worker thread, on copies.
#pragma once

#include <QMainWindow>
#include <memory>

#include "app/studio/evaluator.h"
#include "app/studio/studio_document.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QTimer;
class RollupPanel;
class GlViewport;

class StudioWindow : public QMainWindow {
public:
    explicit StudioWindow(std::shared_ptr<const PluginLibrary> lib, QWidget* parent = nullptr);
    ~StudioWindow() override;

    // The File menu's work without its dialogs: false with a one-line error, and
    // nothing changed, on failure.
    bool OpenMesh(const QString& path, QString& error);
    bool OpenShape(const QString& path, QString& error);
    // Writes the newest result (PLY or OBJ by the extension).
    bool SaveResult(const QString& path, QString& error);
    void OpenDemo();

    // Whether the newest change is still to be evaluated or shown.
    bool Evaluating() const;
    // The newest evaluation's outcome shown in the viewport.
    const CutOutcome& Result() const { return result; }
    StudioDocument& Document() { return document; }
    GlViewport* GetViewport() const { return viewport; }
    RollupPanel* Panel() const { return panel; }
    QListWidget* SceneList() const { return sceneList; }

private:
    void BuildMenus();
    void SceneChanged();
    void Evaluate();
    void Evaluated(int number, const CutOutcome& evaluated);
    void PickAt(QPoint at);
    void PickListed(int row);
    void FillSceneList();
    void ShowProgress();
    void OpenMeshDialog();
    void OpenShapeDialog();
    void SaveResultDialog();

    StudioDocument document;
    GlViewport* viewport;
    RollupPanel* panel;
    QListWidget* sceneList;
    QLabel* status;
    QProgressBar* busy;
    QTimer* evaluateSoon;  // gathers the changes of one user action into one evaluation
    QTimer* progressTick;  // progress, once an evaluation takes longer than a moment
    CutOutcome result;
    int requested = 0, shown = 0;
    long long deletedAtRequest = 0;  // the host's count of faces removed
    bool frameNext = false;          // a new mesh: frame its first result
    std::unique_ptr<Evaluator> evaluator;
};
