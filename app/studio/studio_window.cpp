#include "app/studio/studio_window.h"

#include <QAction>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/studio/rollup_panel.h"
#include "app/studio/gl_viewport.h"
#include "app/io/write_mesh.h"

namespace {

const int kProgressEveryMs = 250;

}  // namespace

StudioWindow::StudioWindow(std::shared_ptr<const PluginLibrary> lib, QWidget* parent)
    : QMainWindow(parent),
      document(lib),
      viewport(new GlViewport),
      panel(new RollupPanel(lib->Handle())),
      sceneList(new QListWidget),
      status(new QLabel),
      busy(new QProgressBar),
      evaluateSoon(new QTimer(this)),
      progressTick(new QTimer(this)) {
    setWindowTitle(tr("Slitform Studio"));
    auto* side = new QWidget;
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(panel, 1);
    column->addWidget(new QLabel(tr("Scene")));
    sceneList->setMaximumHeight(90);
    column->addWidget(sceneList);
    // Without OpenGL the viewport is never shown (it would try to make a context);
    // a message stands in its place and the rest of the window works.
    auto* view = new QStackedWidget;
    view->addWidget(viewport);
    if (!GlViewport::OpenGlAvailable()) {
        auto* noOpenGl = new QLabel(tr("The viewport cannot draw: OpenGL is not available here "
                                       "(no context could be created).\nOpening, cutting and "
                                       "saving work as usual."));
        noOpenGl->setAlignment(Qt::AlignCenter);
        noOpenGl->setWordWrap(true);
        view->addWidget(noOpenGl);
        view->setCurrentWidget(noOpenGl);
    }
    auto* split = new QSplitter;
    split->addWidget(view);
    split->addWidget(side);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    setCentralWidget(split);

    busy->setRange(0, 0);
    busy->setMaximumWidth(160);
    busy->hide();
    statusBar()->addWidget(status, 1);
    statusBar()->addPermanentWidget(busy);
    BuildMenus();

    evaluateSoon->setSingleShot(true);
    evaluateSoon->setInterval(0);
    connect(evaluateSoon, &QTimer::timeout, this, [this] { Evaluate(); });
    progressTick->setInterval(kProgressEveryMs);
    connect(progressTick, &QTimer::timeout, this, [this] { ShowProgress(); });
    viewport->clicked = [this](QPoint at) { PickAt(at); };
    viewport->shapeDragged = [this](const Point3& delta) { document.MoveShape(delta); };
    connect(sceneList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PickListed(sceneList->row(item)); });

    evaluator = std::make_unique<Evaluator>([this](int number, const CutOutcome& evaluated) {
        QMetaObject::invokeMethod(
            this, [this, number, evaluated] { Evaluated(number, evaluated); },
            Qt::QueuedConnection);
    });
    document.changed = [this] { SceneChanged(); };
    if (Modifier* mod = document.Mod())
        mod->BeginEditParams(panel, 0, nullptr);
    else
        status->setText(tr("The plug-in offers no Slitform modifier"));
    SceneChanged();
}

StudioWindow::~StudioWindow() {
    evaluator.reset();
    document.changed = nullptr;
    if (Modifier* mod = document.Mod())
        mod->EndEditParams(panel, 0, nullptr);
}

void StudioWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(
        tr("Open &mesh..."), this, [this] { OpenMeshDialog(); }, QKeySequence::Open);
    file->addAction(tr("Open &shape..."), this, [this] { OpenShapeDialog(); });
    file->addAction(
        tr("Save &result..."), this, [this] { SaveResultDialog(); }, QKeySequence::Save);
    file->addSeparator();
    file->addAction(
        tr("&Quit"), this, [this] { close(); }, QKeySequence::Quit);
    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* edges = view->addAction(tr("Show &edges"));
    edges->setCheckable(true);
    edges->setShortcut(QKeySequence(Qt::Key_E));
    connect(edges, &QAction::toggled, this, [this](bool on) { viewport->SetShowEdges(on); });
    // F in the viewport does the same.
    view->addAction(tr("&Frame all"), this, [this] { viewport->FrameAll(); });
}

bool StudioWindow::OpenMesh(const QString& path, QString& error) {
    std::string message;
    if (document.OpenMesh(path.toStdString(), message)) {
        frameNext = true;
        return true;
    }
    error = QString::fromStdString(message);
    return false;
}

bool StudioWindow::OpenShape(const QString& path, QString& error) {
    std::string message;
    if (document.OpenShape(path.toStdString(), message))
        return true;
    error = QString::fromStdString(message);
    return false;
}

bool StudioWindow::SaveResult(const QString& path, QString& error) {
    if (!result.evaluated) {
        error = tr("There is no result to save yet");
        return false;
    }
    std::string message;
    MeshWriteOptions writing;
    writing.attributes = &result.attributes;
    if (WriteMesh(path.toStdString(), result.mesh, writing, message))
        return true;
    error = QString::fromStdString(message);
    return false;
}

void StudioWindow::OpenDemo() {
    document.OpenDemo();
    frameNext = true;
}

bool StudioWindow::Evaluating() const {
    return shown != requested || evaluateSoon->isActive();
}

void StudioWindow::SceneChanged() {
    FillSceneList();
    viewport->SetShapeLines(document.ShapeLines());
    evaluateSoon->start();
}

void StudioWindow::Evaluate() {
    deletedAtRequest = HostDeletedFaceCount();
    requested = evaluator->Submit(document.Snapshot());
    if (!progressTick->isActive())
        progressTick->start();
}

void StudioWindow::ShowProgress() {
    if (!Evaluating())
        return;
    // Each face a cut replaces is removed; an evaluation still running for an older
    // change adds its own, which is near enough for a sign of life.
    status->setText(
        tr("Evaluating... %1 faces replaced").arg(HostDeletedFaceCount() - deletedAtRequest));
    busy->show();
}

void StudioWindow::Evaluated(int number, const CutOutcome& evaluated) {
    if (number != requested)
        return;  // a newer change is on its way
    shown = number;
    result = evaluated;
    progressTick->stop();
    busy->hide();
    viewport->SetMesh(result.mesh, document.ObjectTM());
    if (frameNext)
        viewport->FrameAll();
    frameNext = false;
    if (result.evaluated)
        status->setText(tr("%1 faces cut, %2 edges selected; evaluation %3 ms")
                            .arg(result.counts.facesCut)
                            .arg(result.counts.selectedEdges)
                            .arg(result.seconds * 1000.0, 0, 'f', 1));
    else
        status->setText(tr("Evaluation failed: %1").arg(QString::fromStdString(result.error)));
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

void StudioWindow::OpenMeshDialog() {
    QString path = QFileDialog::getOpenFileName(
        this, tr("Open mesh"), QString(),
        tr("Meshes (*.ply *.obj *.gltf *.glb *.stl *.off *.3mf *.fbx);;All files (*)"));
    QString error;
    if (!path.isEmpty() && !OpenMesh(path, error))
        QMessageBox::warning(this, tr("Open mesh"), error);
}

void StudioWindow::OpenShapeDialog() {
    QString path = QFileDialog::getOpenFileName(this, tr("Open shape"), QString(),
                                                tr("Shapes (*.svg *.json);;All files (*)"));
    QString error;
    if (!path.isEmpty() && !OpenShape(path, error))
        QMessageBox::warning(this, tr("Open shape"), error);
}

void StudioWindow::SaveResultDialog() {
    QString path = QFileDialog::getSaveFileName(
        this, tr("Save result"), QStringLiteral("result.ply"),
        tr("PLY (*.ply);;OBJ (*.obj);;glTF (*.gltf *.glb);;STL (*.stl);;OFF (*.off);;3MF (*.3mf)"));
    QString error;
    if (!path.isEmpty() && !SaveResult(path, error))
        QMessageBox::warning(this, tr("Save result"), error);
}
