// The window of slitform-studio: the viewport and the command panel side by side,
// the shape's placement and a list of the scene's nodes under the panel, the File,
// Edit and View menus and a status bar. Every change of the scene is evaluated on
// a worker thread, on copies, and lands in the undo history.
#pragma once

#include <QMainWindow>
#include <memory>

#include "app/studio/evaluator.h"
#include "app/studio/studio_document.h"
#include "app/studio/studio_settings.h"
#include "session/mesh_health.h"

class GlViewport;
class PlacementPanel;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;
class QUndoStack;
class RollupPanel;

// What the status bar says of a result's mesh, measured on the worker thread.
struct ResultHealth {
    MeshHealth in, out;
    bool split = false;  // the cut left the mesh in more pieces because weld_on is off
};

class StudioWindow : public QMainWindow {
public:
    explicit StudioWindow(std::shared_ptr<const PluginLibrary> lib, QWidget* parent = nullptr);
    ~StudioWindow() override;

    // The File menu's work without its dialogs: false with a one-line error, and
    // nothing changed, on failure.
    bool OpenMesh(const QString& path, QString& error);
    bool OpenShape(const QString& path, QString& error);
    bool OpenText(const QString& text, const QString& family, QString& error);
    // Opens each file as a mesh or a shape by its extension (as a drop does); stops
    // at the first that fails.
    bool OpenFiles(const QStringList& paths, QString& error);
    // Writes the newest result (the format by the extension).
    bool SaveResult(const QString& path, QString& error);
    void OpenDemo();
    // Takes the scene as it stands as the start of the history, with nothing to
    // save: for what the program opens at its start.
    void StartHistory();

    // The View menu's "Show edges".
    void ShowEdges(bool show);

    // Whether the newest change is still to be evaluated or shown.
    bool Evaluating() const;
    // Stops the running evaluation and puts the scene back as it was when the
    // shown result was made, at once; the changes stopped stay in the history to
    // redo. The worker drops the evaluation at the plug-in's next cancel check.
    void CancelEvaluation();
    // What Esc does: leaves pick mode, else cancels the evaluation.
    void Escape();
    // Whether the modifier's pick button waits for a click.
    bool Picking() const;

    // The newest evaluation's outcome shown in the viewport.
    const CutOutcome& Result() const { return result; }
    const ResultHealth& Health() const { return health; }
    StudioDocument& Document() { return document; }
    GlViewport* GetViewport() const { return viewport; }
    RollupPanel* Panel() const { return panel; }
    PlacementPanel* Placement() const { return placementPanel; }
    QListWidget* SceneList() const { return sceneList; }
    QUndoStack* History() const { return history; }
    QToolButton* CancelButton() const { return cancelButton; }
    QLabel* StatusText() const { return status; }
    QLabel* HealthText() const { return healthText; }
    QLabel* HealthWarning() const { return healthWarning; }
    QMenu* RecentMenu() const { return recentMenu; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void BuildStatusBar();
    void WatchThePanel();
    // Closes and opens the modifier's rollouts again, for a document opened whole.
    void ReopenRollouts();
    void SceneChanged();
    void Record();
    void ApplyState(const StudioState& state);
    void Evaluate();
    struct Delivery;
    void Evaluated(int number, Delivery& delivered);
    void ShowResultStatus();
    void PickAt(QPoint at);
    void PickListed(int row);
    void PickModeChanged();
    void FillSceneList();
    void FillRecentMenu();
    void ShowProgress();
    void UpdateTitle();
    void OpenMeshDialog();
    void OpenShapeDialog();
    void OpenTextDialog();
    bool SaveResultDialog();
    void OpenReporting(const QStringList& paths);

    StudioDocument document;
    StudioSettings settings;
    // What the text dialog offers again.
    QString lastText = QStringLiteral("ENGRAVE");
    QString lastFont = QStringLiteral("DejaVu Sans");
    GlViewport* viewport;
    RollupPanel* panel;
    PlacementPanel* placementPanel;
    QListWidget* sceneList;
    QLabel* status;
    QLabel* healthWarning;
    QLabel* healthText;
    QProgressBar* busy;
    QToolButton* cancelButton;
    QMenu* recentMenu = nullptr;
    QAction* showEdges = nullptr;
    QTimer* evaluateSoon;  // gathers the changes of one user action into one evaluation
    QTimer* progressTick;  // progress, once an evaluation takes longer than a moment
    QUndoStack* history;
    std::vector<QPushButton*> pickButtons;

    CutOutcome result;
    ResultHealth health;
    int requested = 0, shown = 0;
    int cancelled = 0;              // the request Cancel stopped
    int requestedAt = 0;            // the history's index when the newest request was made
    int shownAt = 0;                // and when the shown result's was
    StudioState recorded;           // the state the history's current step ends in
    bool draggingShape = false;     // a drag is one step, recorded when it ends
    bool revertingToShown = false;  // the shown result is already that state's
    bool frameNext = false;         // a new mesh: frame its first result
    std::unique_ptr<Evaluator> evaluator;
};
