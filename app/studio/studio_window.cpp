#include "app/studio/studio_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QInputDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/studio/gl_viewport.h"
#include "app/studio/mesh_buffers.h"
#include "app/studio/placement_panel.h"
#include "app/studio/rollout.h"
#include "app/studio/rollup_panel.h"
#include "app/studio/undo_commands.h"
#include "dialog_units.h"
#include "io/write_mesh.h"
#include "qt_dialog.h"
#include "resources.h"
#include "session/parameter_help.h"

// An evaluation's outcome with what the worker made of it for the window.
struct StudioWindow::Delivery {
    CutOutcome outcome;
    ResultHealth health;
    MeshBuffers buffers;
};

namespace {

const int kProgressEveryMs = 250;
const int kUndoSteps = 100;

bool SwitchOn(IParamBlock2* block, const wchar_t* name) {
    const ParamDef* def = block ? block->GetDesc()->FindParam(name) : nullptr;
    return def && block->GetInt(def->id) != 0;
}

QString Number(long long n) {
    return QLocale().toString(n);
}

// What a control of the rollout does, with its range and default.
QString ToolTipOf(const ParamDef& def) {
    if (def.type == TYPE_INODE)
        return QObject::tr(
            "The shape that cuts: press, then click the shape in the viewport or "
            "in the scene list (Esc leaves pick mode)");
    QString help = QString::fromStdString(ParameterHelp(Utf8FromWide(def.intName)));
    if (!help.isEmpty())
        help[0] = help[0].toUpper();
    QString range;
    if (def.type == TYPE_BOOL || def.ctrlType == TYPE_SINGLECHEKBOX)
        range = QObject::tr("on or off; default %1").arg(def.defInt ? "on" : "off");
    else if (def.type == TYPE_FLOAT && def.hasRange)
        range = QObject::tr("%1 to %2; default %3")
                    .arg(static_cast<double>(def.lowFloat))
                    .arg(static_cast<double>(def.highFloat))
                    .arg(static_cast<double>(def.defFloat));
    else if (def.hasRange)
        range =
            QObject::tr("%1 to %2; default %3").arg(def.lowInt).arg(def.highInt).arg(def.defInt);
    return range.isEmpty() ? help : QStringLiteral("%1 (%2)").arg(help, range);
}

}  // namespace

StudioWindow::StudioWindow(std::shared_ptr<const PluginLibrary> lib, QWidget* parent)
    : QMainWindow(parent),
      document(lib),
      viewport(new GlViewport),
      panel(new RollupPanel(lib->Handle())),
      placementPanel(new PlacementPanel),
      sceneList(new QListWidget),
      status(new QLabel),
      healthWarning(new QLabel),
      healthText(new QLabel),
      busy(new QProgressBar),
      cancelButton(new QToolButton),
      evaluateSoon(new QTimer(this)),
      progressTick(new QTimer(this)),
      history(new QUndoStack(this)) {
    // Each step holds the scene's files; a long session of large meshes must not keep
    // every one it ever opened.
    history->setUndoLimit(kUndoSteps);
    auto* side = new QWidget;
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(panel, 1);
    placementPanel->setFont(DialogFont(8));  // as the plug-in's rollouts above it
    auto* placement = new Rollout(tr("Shape placement"), placementPanel, true);
    placement->TitleBar()->setToolTip(tr("Opens and closes the shape's placement"));
    column->addWidget(placement);
    column->addWidget(new QLabel(tr("Scene")));
    sceneList->setMaximumHeight(90);
    sceneList->setToolTip(
        tr("The object and the shape; in pick mode a click on the shape picks it"));
    column->addWidget(sceneList);
    // Without OpenGL the viewport stays out of the window (in it, even hidden, it
    // would have the window composed through OpenGL); it still holds the camera and
    // the picture's data, a message stands in its place, and the rest works.
    auto* view = new QStackedWidget;
    if (GlViewport::OpenGlAvailable()) {
        view->addWidget(viewport);
    } else {
        auto* noOpenGl =
            new QLabel(tr("The viewport cannot draw: OpenGL is not available here "
                          "(no context could be created).\nOpening, cutting and "
                          "saving work as usual."));
        noOpenGl->setAlignment(Qt::AlignCenter);
        noOpenGl->setWordWrap(true);
        view->addWidget(noOpenGl);
    }
    auto* split = new QSplitter;
    split->addWidget(view);
    split->addWidget(side);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    setCentralWidget(split);
    setAcceptDrops(true);

    BuildStatusBar();
    BuildMenus();
    UpdateTitle();

    evaluateSoon->setSingleShot(true);
    evaluateSoon->setInterval(0);
    connect(evaluateSoon, &QTimer::timeout, this, [this] {
        if (!draggingShape)
            Record();
        Evaluate();
    });
    progressTick->setInterval(kProgressEveryMs);
    connect(progressTick, &QTimer::timeout, this, [this] { ShowProgress(); });
    viewport->clicked = [this](QPoint at) { PickAt(at); };
    viewport->shapeDragged = [this](const Point3& delta) {
        draggingShape = true;
        document.MoveShape(delta);
    };
    viewport->shapeDragEnded = [this] {
        draggingShape = false;
        Record();
    };
    placementPanel->changed = [this](const NodeTransform& to) { document.SetPlacement(to); };
    placementPanel->fitRequested = [this] { document.SetPlacement(NodeTransform()); };
    placementPanel->upChanged = [this](slitform::UpAxis to) { document.SetUp(to); };
    connect(sceneList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PickListed(sceneList->row(item)); });
    connect(history, &QUndoStack::cleanChanged, this, [this](bool) { UpdateTitle(); });

    evaluator = std::make_unique<Evaluator>(
        [this](int number, const CutSession& session, const CutOutcome& evaluated) {
            // What a large result costs besides the cut (its copy, its health, the
            // viewport's buffers) is paid here, on the worker thread.
            auto delivered = std::make_shared<Delivery>();
            delivered->outcome = evaluated;
            if (evaluated.evaluated) {
                ResultHealth& measured = delivered->health;
                measured.in = MeasureMeshHealth(session.Mesh());
                measured.out = MeasureMeshHealth(evaluated.mesh);
                measured.split = evaluated.counts.facesCut > 0 &&
                                 !SwitchOn(session.Block(), L"weld_on") &&
                                 measured.out.components > measured.in.components;
                delivered->buffers =
                    BuildMeshBuffers(evaluated.mesh, session.ObjectNode()->GetNodeTM(0));
            }
            QMetaObject::invokeMethod(
                this, [this, number, delivered] { Evaluated(number, *delivered); },
                Qt::QueuedConnection);
        });
    document.changed = [this] { SceneChanged(); };
    if (Modifier* mod = document.Mod()) {
        mod->BeginEditParams(panel, 0, nullptr);
        WatchThePanel();
    } else {
        status->setText(tr("The plug-in offers no Slitform modifier"));
    }
    recorded = document.State();
    SceneChanged();
}

StudioWindow::~StudioWindow() {
    // The history, a child, is deleted after this destructor and signals its clearing.
    disconnect(history, nullptr, this, nullptr);
    if (!viewport->parent())
        delete viewport;
    evaluator.reset();
    document.changed = nullptr;
    if (Modifier* mod = document.Mod())
        mod->EndEditParams(panel, 0, nullptr);
}

void StudioWindow::BuildStatusBar() {
    busy->setRange(0, 0);
    busy->setMaximumWidth(160);
    busy->setToolTip(tr("The cut is being evaluated"));
    busy->hide();
    cancelButton->setText(tr("Cancel"));
    cancelButton->setToolTip(tr("Stops the evaluation and puts the scene back as it was (Esc)"));
    cancelButton->hide();
    connect(cancelButton, &QToolButton::clicked, this, [this] { CancelEvaluation(); });
    int icon = style()->pixelMetric(QStyle::PM_SmallIconSize);
    healthWarning->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(icon, icon));
    healthWarning->hide();
    healthText->setToolTip(
        tr("Border edges: sides of only one face (open edges). Pieces: parts of "
           "the mesh that share no vertex."));
    statusBar()->addWidget(status, 1);
    statusBar()->addPermanentWidget(healthWarning);
    statusBar()->addPermanentWidget(healthText);
    statusBar()->addPermanentWidget(busy);
    statusBar()->addPermanentWidget(cancelButton);
}

void StudioWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(
            tr("Open &mesh..."), this, [this] { OpenMeshDialog(); }, QKeySequence::Open)
        ->setStatusTip(
            tr("Opens a mesh (PLY, OBJ, glTF, STL, OFF, 3MF, FBX) in place of the object"));
    file->addAction(tr("Open &shape..."), this, [this] { OpenShapeDialog(); })
        ->setStatusTip(
            tr("Opens a shape (SVG, JSON) in place of the shape, fitted over the object"));
    file->addAction(tr("&Text as shape..."), this, [this] { OpenTextDialog(); })
        ->setStatusTip(tr("Makes a shape of lettering in an installed font, fitted over the "
                          "object"));
    recentMenu = file->addMenu(tr("Open &recent"));
    connect(recentMenu, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    FillRecentMenu();
    file->addAction(
            tr("Save &result..."), this, [this] { SaveResultDialog(); }, QKeySequence::Save)
        ->setStatusTip(tr("Writes the cut mesh; the format follows the extension"));
    file->addSeparator();
    file->addAction(
        tr("&Quit"), this, [this] { close(); }, QKeySequence::Quit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = history->createUndoAction(this, tr("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = history->createRedoAction(this, tr("&Redo"));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    auto* historyDock = new QDockWidget(tr("History"), this);
    auto* historyView = new QUndoView(history);
    historyView->setEmptyLabel(tr("<as opened>"));
    historyView->setToolTip(tr("Every change so far; click one to go back to it"));
    historyDock->setWidget(historyView);
    historyDock->hide();
    addDockWidget(Qt::RightDockWidgetArea, historyDock);
    QAction* showHistory = historyDock->toggleViewAction();
    showHistory->setText(tr("&History"));
    showHistory->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    edit->addAction(showHistory);
    edit->addSeparator();
    QAction* escape = edit->addAction(tr("&Cancel evaluation or pick"), this, [this] { Escape(); });
    escape->setShortcut(QKeySequence(Qt::Key_Escape));
    escape->setShortcutContext(Qt::WindowShortcut);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    showEdges = view->addAction(tr("Show &edges"));
    showEdges->setCheckable(true);
    showEdges->setShortcut(QKeySequence(Qt::Key_E));
    connect(showEdges, &QAction::toggled, this, [this](bool on) { viewport->SetShowEdges(on); });
    // F in the viewport does the same.
    view->addAction(tr("&Frame all"), this, [this] { viewport->FrameAll(); });
}

void StudioWindow::ReopenRollouts() {
    // As a host refreshes its panel for a scene it loaded: the rollouts then set
    // themselves up (which spinners are on) from the loaded parameters.
    Modifier* mod = document.Mod();
    if (!mod)
        return;
    mod->EndEditParams(panel, 0, nullptr);
    pickButtons.clear();
    mod->BeginEditParams(panel, 0, nullptr);
    WatchThePanel();
}

void StudioWindow::WatchThePanel() {
    // The rollouts' controls are the plug-in's; the window adds what they do as
    // tooltips and follows the pick buttons into and out of pick mode.
    IParamBlock2* block = document.Block();
    for (IParamMap2* map : panel->Maps()) {
        Rollout* rollout = panel->RolloutOf(map);
        QtDialog* dialog = panel->DialogOf(map);
        if (!rollout || !dialog || !block)
            continue;
        rollout->TitleBar()->setToolTip(tr("Opens and closes the rollout"));
        for (const ParamDef& def : block->GetDesc()->params) {
            if (def.mapID != map->GetMapID())
                continue;
            QString tip = ToolTipOf(def);
            for (int id : def.ctrlIDs)
                if (QWidget* control = dialog->ControlWidget(id))
                    control->setToolTip(tip);
            if (def.ctrlType == TYPE_PICKNODEBUTTON && !def.ctrlIDs.empty())
                if (auto* button =
                        qobject_cast<QPushButton*>(dialog->ControlWidget(def.ctrlIDs[0]))) {
                    // Checked stands out as the highlight colour, not a shade darker.
                    button->setStyleSheet(QStringLiteral(
                        "QPushButton:checked { background-color: palette(highlight); "
                        "color: palette(highlighted-text); font-weight: bold; }"));
                    connect(button, &QPushButton::toggled, this, [this] { PickModeChanged(); });
                    pickButtons.push_back(button);
                }
        }
        // Buttons bound to no parameter are the plug-in's own commands.
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (button->toolTip().isEmpty() && !button->text().isEmpty())
                button->setToolTip(
                    tr("%1: a command of the plug-in's %2 rollout")
                        .arg(button->text().remove('&'), rollout->TitleBar()->text()));
    }
}

bool StudioWindow::OpenMesh(const QString& path, QString& error) {
    std::string message;
    if (document.OpenMesh(path.toStdString(), message)) {
        settings.FileOpened(path);
        frameNext = true;
        UpdateTitle();
        return true;
    }
    error = QString::fromStdString(message);
    return false;
}

bool StudioWindow::OpenShape(const QString& path, QString& error) {
    std::string message;
    if (document.OpenShape(path.toStdString(), message)) {
        settings.FileOpened(path);
        return true;
    }
    error = QString::fromStdString(message);
    return false;
}

bool StudioWindow::OpenText(const QString& text, const QString& family, QString& error) {
    std::string message;
    if (document.OpenText(text.toStdString(), family.toStdString(), message))
        return true;
    error = QString::fromStdString(message);
    return false;
}

bool StudioWindow::OpenFiles(const QStringList& paths, QString& error) {
    for (const QString& path : paths)
        if (!(IsShapeFile(path) ? OpenShape(path, error) : OpenMesh(path, error)))
            return false;
    return true;
}

bool StudioWindow::SaveResult(const QString& path, QString& error) {
    if (!result.evaluated) {
        error = tr("There is no result to save yet");
        return false;
    }
    std::string message;
    MeshWriteOptions writing;
    writing.attributes = &result.attributes;
    if (!WriteMesh(path.toStdString(), result.mesh, writing, message)) {
        error = QString::fromStdString(message);
        return false;
    }
    settings.FileSaved(path);
    // What was saved is the shown result: the scene is clean only when it is the newest.
    if (!Evaluating())
        history->setClean();
    return true;
}

void StudioWindow::OpenDemo() {
    document.OpenDemo();
    ReopenRollouts();
    frameNext = true;
    UpdateTitle();
}

void StudioWindow::StartHistory() {
    recorded = document.State();
    history->clear();
    history->setClean();
}

void StudioWindow::ShowEdges(bool show) {
    showEdges->setChecked(show);
}

bool StudioWindow::Evaluating() const {
    return shown != requested || evaluateSoon->isActive();
}

bool StudioWindow::Picking() const {
    for (IParamMap2* map : panel->Maps())
        if (map->IsPicking())
            return true;
    return false;
}

void StudioWindow::Escape() {
    if (Picking()) {
        // The pick button toggles pick mode, as a second press of it does.
        for (QPushButton* button : pickButtons)
            if (button->isChecked())
                button->click();
        return;
    }
    CancelEvaluation();
}

void StudioWindow::CancelEvaluation() {
    if (!Evaluating())
        return;
    if (evaluateSoon->isActive()) {
        evaluateSoon->stop();
        Record();
    }
    if (shown != requested) {
        // The worker stops at the plug-in's next check, which can be a while in
        // on a large mesh; the window does not wait for it, and drops its outcome.
        cancelled = requested;
        evaluator->Cancel();
        shown = requested;
    }
    progressTick->stop();
    busy->hide();
    cancelButton->hide();
    // Back to the shown result's scene, which needs no evaluation.
    revertingToShown = true;
    history->setIndex(shownAt);
    revertingToShown = false;
    evaluateSoon->stop();
    status->setText(tr("Cancelled: the scene is as it was; Redo applies the change again"));
}

void StudioWindow::SceneChanged() {
    FillSceneList();
    viewport->SetShapeLines(document.ShapeLines());
    placementPanel->Show(document.Placement(), document.Up());
    placementPanel->setEnabled(document.ShapeNode() != nullptr);
    if (!revertingToShown)
        evaluateSoon->start();
}

void StudioWindow::Record() {
    StudioState now = document.State();
    if (now == recorded)
        return;
    ChangeDescription description = DescribeChange(recorded, now, document.Block());
    auto* step = new StateChangeCommand(description, recorded, now,
                                        [this](const StudioState& state) { ApplyState(state); });
    recorded = now;
    history->push(step);
}

void StudioWindow::ApplyState(const StudioState& state) {
    bool otherMesh = state.mesh != recorded.mesh;
    document.Restore(state);
    recorded = state;
    if (otherMesh && !revertingToShown)
        frameNext = true;
    UpdateTitle();
}

void StudioWindow::Evaluate() {
    requested = evaluator->Submit(document.Snapshot());
    requestedAt = history->index();
    if (!progressTick->isActive())
        progressTick->start();
}

void StudioWindow::ShowProgress() {
    if (shown == requested)
        return;
    long long visited = 0, total = 0;
    evaluator->Progress(visited, total);
    if (total > 0) {
        status->setText(
            tr("Cutting... %1 of %2 faces looked at").arg(Number(visited), Number(total)));
        busy->setRange(0, 1000);
        busy->setValue(static_cast<int>(1000 * std::min(visited, total) / total));
    } else {
        status->setText(tr("Cutting..."));
        busy->setRange(0, 0);  // no count yet: the bar only moves
    }
    busy->show();
    cancelButton->show();
}

void StudioWindow::Evaluated(int number, Delivery& delivered) {
    if (number != requested || number == cancelled)
        return;  // a newer change is on its way, or the user stopped this one
    shown = number;
    progressTick->stop();
    busy->hide();
    cancelButton->hide();
    shownAt = requestedAt;
    result = std::move(delivered.outcome);
    health = delivered.health;
    if (result.evaluated)
        viewport->SetBuffers(std::move(delivered.buffers));
    else
        viewport->SetMesh(result.mesh, document.ObjectTM());
    Matrix3 tm = document.ObjectTM();
    viewport->SetProjection(result.directionKnown ? result.direction * tm - tm.GetTrans()
                                                  : Point3());
    if (frameNext)
        viewport->FrameAll();
    frameNext = false;
    ShowResultStatus();
}

void StudioWindow::ShowResultStatus() {
    if (!result.evaluated) {
        status->setText(tr("The cut failed: %1").arg(QString::fromStdString(result.error)));
        healthText->clear();
        healthWarning->hide();
        return;
    }
    const CutCounts& c = result.counts;
    QString took = result.seconds < 1.0 ? tr("%1 ms").arg(result.seconds * 1000.0, 0, 'f', 0)
                                        : tr("%1 s").arg(result.seconds, 0, 'f', 1);
    if (c.facesCut == 0 && document.PickedNode())
        status->setText(tr("The shape cut no face (%1 faces); %2").arg(Number(c.facesOut), took));
    else if (c.facesCut == 0)
        status->setText(tr("Nothing picked: press the pick button, then click the shape (%1 faces)")
                            .arg(Number(c.facesOut)));
    else
        status->setText(
            tr("Cut %1 faces (now %2), %3 edges along the shape; %4")
                .arg(Number(c.facesCut), Number(c.facesOut), Number(c.selectedEdges), took));
    status->setToolTip(tr("Faces: %1 in, %2 out, %3 cut into new ones. Selected: %4 vertices, %5 "
                          "edges, %6 faces. The evaluation took %7.")
                           .arg(Number(c.facesIn), Number(c.facesOut), Number(c.facesCut),
                                Number(c.selectedVertices), Number(c.selectedEdges),
                                Number(c.selectedFaces), took));
    const MeshHealth& out = health.out;
    healthText->setText(tr("%1 border edges, %2 %3")
                            .arg(Number(out.borderEdges), Number(out.components))
                            .arg(out.components == 1 ? tr("piece") : tr("pieces")));
    if (out.nonManifoldEdges > 0)
        healthText->setText(healthText->text() +
                            tr(", %1 non-manifold edges").arg(Number(out.nonManifoldEdges)));
    healthWarning->setVisible(health.split);
    healthWarning->setToolTip(
        health.split
            ? tr("The cut left the mesh split along the cut faces (%1 more pieces, %2 more "
                 "border edges) because Weld is off; turning Weld on joins them")
                  .arg(out.components - health.in.components)
                  .arg(out.borderEdges - health.in.borderEdges)
            : QString());
}

void StudioWindow::PickAt(QPoint at) {
    INode* shape = document.ShapeNode();
    if (!shape || !viewport->HitsShape(at))
        return;
    for (IParamMap2* map : panel->Maps())
        if (map->IsPicking())
            map->UserPickNode(shape);
}

void StudioWindow::PickListed(int row) {
    // Row 0 is the object; only the shape can be picked.
    if (row != 1 || !document.ShapeNode())
        return;
    for (IParamMap2* map : panel->Maps())
        if (map->IsPicking())
            map->UserPickNode(document.ShapeNode());
}

void StudioWindow::PickModeChanged() {
    bool picking = Picking();
    viewport->SetPickMode(picking);
    if (picking)
        statusBar()->showMessage(
            tr("Pick mode: click the shape in the viewport or in the scene list; Esc leaves"));
    else
        statusBar()->clearMessage();
}

void StudioWindow::FillSceneList() {
    QStringList names{QString::fromStdWString(document.ObjectNode()->GetName())};
    if (INode* shape = document.ShapeNode())
        names << QString::fromStdWString(shape->GetName());
    QStringList listed;
    for (int i = 0; i < sceneList->count(); ++i) listed << sceneList->item(i)->text();
    if (listed == names)
        return;
    sceneList->clear();
    sceneList->addItems(names);
}

void StudioWindow::FillRecentMenu() {
    recentMenu->clear();
    QStringList recent = settings.RecentFiles();
    for (const QString& path : recent)
        recentMenu
            ->addAction(QFileInfo(path).fileName(), this, [this, path] { OpenReporting({path}); })
            ->setStatusTip(path);
    recentMenu->setEnabled(!recent.isEmpty());
}

void StudioWindow::UpdateTitle() {
    // "[*]" is where Qt shows that the result has changes not saved.
    QString name = QString::fromStdWString(document.ObjectNode()->GetName());
    setWindowTitle(tr("%1[*] - Slitform Studio").arg(name));
    setWindowModified(!history->isClean());
}

void StudioWindow::closeEvent(QCloseEvent* event) {
    if (!isWindowModified()) {
        event->accept();
        return;
    }
    QMessageBox ask(QMessageBox::Question, tr("Slitform Studio"),
                    tr("The result has changes that are not saved."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    ask.setInformativeText(tr("Save the result before closing?"));
    ask.setDefaultButton(QMessageBox::Save);
    int answer = ask.exec();
    if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && SaveResultDialog()))
        event->accept();
    else
        event->ignore();
}

void StudioWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* mime = event->mimeData();
    if (!mime->hasUrls())
        return;
    for (const QUrl& url : mime->urls())
        if (!url.isLocalFile() || !IsOpenableFile(url.toLocalFile()))
            return;
    event->acceptProposedAction();
}

void StudioWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
    event->acceptProposedAction();
    OpenReporting(paths);
}

void StudioWindow::OpenReporting(const QStringList& paths) {
    QString error;
    if (!OpenFiles(paths, error))
        QMessageBox::warning(this, tr("Open"), error);
}

void StudioWindow::OpenMeshDialog() {
    QString path = QFileDialog::getOpenFileName(
        this, tr("Open mesh"), settings.LastFolder(),
        tr("Meshes (*.ply *.obj *.gltf *.glb *.stl *.off *.3mf *.fbx);;All files (*)"));
    if (!path.isEmpty())
        OpenReporting({path});
}

void StudioWindow::OpenShapeDialog() {
    QString path = QFileDialog::getOpenFileName(this, tr("Open shape"), settings.LastFolder(),
                                                tr("Shapes (*.svg *.json);;All files (*)"));
    if (!path.isEmpty())
        OpenReporting({path});
}

void StudioWindow::OpenTextDialog() {
    bool ok = false;
    QString text = QInputDialog::getText(this, tr("Text as shape"), tr("Lettering to cut:"),
                                         QLineEdit::Normal, lastText, &ok);
    if (!ok || text.trimmed().isEmpty())
        return;
    QStringList families = QFontDatabase().families();
    int current = std::max(0, static_cast<int>(families.indexOf(lastFont)));
    QString family = QInputDialog::getItem(this, tr("Text as shape"), tr("Font:"), families,
                                           current, false, &ok);
    if (!ok)
        return;
    QString error;
    if (!OpenText(text, family, error)) {
        QMessageBox::warning(this, tr("Text as shape"), error);
        return;
    }
    lastText = text;
    lastFont = family;
}

bool StudioWindow::SaveResultDialog() {
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save result"), QDir(settings.LastFolder()).filePath(QStringLiteral("result.ply")),
        tr("PLY (*.ply);;OBJ (*.obj);;glTF (*.gltf *.glb);;STL (*.stl);;OFF (*.off);;3MF (*.3mf)"));
    if (path.isEmpty())
        return false;
    QString error;
    if (SaveResult(path, error))
        return true;
    QMessageBox::warning(this, tr("Save result"), error);
    return false;
}
