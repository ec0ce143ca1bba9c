#include "app/studio/gl_viewport.h"

#include <QKeyEvent>
#include <QLineF>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

const int kClickSlack = 3;        // pixels a click may move and stay a click
const double kHitDistance = 6.0;  // pixels from a line that still hit it
// The widest a coarse cell may look for the coarse level to stand in for the mesh:
// its detail is then close to what the pixels can show anyway.
const float kCoarseCellPixels = 3.0f;

// Every program shares this vertex stage; GLSL 1.20 runs on any context a
// compatibility profile offers, Mesa's software renderer included.
const char* kVertexShader = R"(#version 120
attribute vec3 position;
uniform mat4 viewProjection;
varying vec3 world;
void main() {
    world = position;
    gl_Position = viewProjection * vec4(position, 1.0);
})";

// Flat shading from the screen derivatives of the position: the mesh needs no
// normals, and its vertices stay shared.
const char* kFaceShader = R"(#version 120
varying vec3 world;
uniform vec3 towards;
uniform vec3 light;
uniform vec3 albedo;
void main() {
    vec3 n = normalize(cross(dFdx(world), dFdy(world)));
    if (dot(n, towards) < 0.0)
        n = -n;
    float lit = gl_FrontFacing ? 0.3 + 0.5 * dot(n, towards) + 0.2 * max(dot(n, light), 0.0)
                               : 0.18;  // back faces stay dark
    gl_FragColor = vec4(albedo * lit, 1.0);
})";

const char* kLineShader = R"(#version 120
uniform vec4 colour;
void main() {
    gl_FragColor = colour;
})";

bool Finite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

double DistanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    QPointF ab = b - a;
    double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0.0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    return QLineF(p, a + ab * t).length();
}

QVector3D ToQt(const Point3& p) {
    return QVector3D(p.x, p.y, p.z);
}

}  // namespace

GlViewport::GlViewport(QWidget* parent) : QOpenGLWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
}

GlViewport::~GlViewport() {
    if (!initialized)
        return;
    makeCurrent();
    for (QOpenGLBuffer* b : AllBuffers()) b->destroy();
    faceProgram.reset();
    lineProgram.reset();
    doneCurrent();
}

bool GlViewport::OpenGlAvailable() {
    QOpenGLContext context;
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    bool current = surface.isValid() && context.makeCurrent(&surface);
    if (current)
        context.doneCurrent();
    return current;
}

void GlViewport::SetMesh(const MNMesh& mesh, const Matrix3& tm) {
    SetBuffers(BuildMeshBuffers(mesh, tm));
}

void GlViewport::SetBuffers(MeshBuffers built) {
    buffers = std::move(built);
    meshDirty = true;
    update();
}

void GlViewport::SetShapeLines(std::vector<ViewLine> l) {
    lines = std::move(l);
    overlayDirty = true;
    update();
}

void GlViewport::SetProjection(const Point3& direction) {
    projection = Finite(direction) ? direction : Point3();
    overlayDirty = true;
    update();
}

void GlViewport::SetShowEdges(bool show) {
    showEdges = show;
    update();
}

void GlViewport::SetPickMode(bool picking) {
    if (picking)
        setCursor(Qt::CrossCursor);
    else
        unsetCursor();
}

void GlViewport::SetCamera(const ViewCamera& to) {
    camera = to;
    framed = true;
    update();
}

void GlViewport::FrameAll() {
    Point3 lo = buffers.lo, hi = buffers.hi;
    for (const ViewLine& line : lines)
        for (const Point3& p : line.points) {
            if (!Finite(p))
                continue;
            lo = Point3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi = Point3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
    camera.Frame(lo, hi, QSizeF(size()));
    framed = lo.x <= hi.x;
    update();
}

bool GlViewport::HitsShape(QPoint at) const {
    QSizeF screen(size());
    for (const ViewLine& line : lines) {
        size_t n = line.points.size();
        size_t segments = line.closed ? n : (n > 0 ? n - 1 : 0);
        for (size_t i = 0; i < segments; ++i) {
            const Point3& a = line.points[i];
            const Point3& b = line.points[(i + 1) % n];
            if (!Finite(a) || !Finite(b))
                continue;
            if (DistanceToSegment(at, camera.Project(a, screen), camera.Project(b, screen)) <=
                kHitDistance)
                return true;
        }
    }
    return false;
}

float GlViewport::EdgeOpacity() const {
    // Two pixels apart the edges would cover the faces; twelve apart they are lines.
    float pixels = buffers.meanEdgeLength * camera.scale;
    return std::clamp((pixels - 2.0f) / 10.0f, 0.15f, 1.0f);
}

bool GlViewport::DrawFrameNow() {
    if (!context() || !context()->isValid())
        return false;
    makeCurrent();
    paintGL();
    glFinish();
    doneCurrent();
    return true;
}

void GlViewport::initializeGL() {
    initializeOpenGLFunctions();
    faceProgram = std::make_unique<QOpenGLShaderProgram>();
    lineProgram = std::make_unique<QOpenGLShaderProgram>();
    for (auto& [program, fragment] :
         {std::pair{faceProgram.get(), kFaceShader}, std::pair{lineProgram.get(), kLineShader}}) {
        program->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader);
        program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragment);
        program->bindAttributeLocation("position", 0);
        program->link();
    }
    for (QOpenGLBuffer* b : AllBuffers()) b->create();
    initialized = true;
    meshDirty = overlayDirty = true;
}

std::vector<QOpenGLBuffer*> GlViewport::AllBuffers() {
    std::vector<QOpenGLBuffer*> all = full.All();
    for (QOpenGLBuffer* b : coarse.All()) all.push_back(b);
    all.push_back(&cutEdges);
    all.push_back(&overlay);
    return all;
}

void GlViewport::UploadMesh() {
    auto upload = [](QOpenGLBuffer& buffer, const auto& data) {
        buffer.bind();
        buffer.allocate(data.data(), static_cast<int>(data.size() * sizeof(data[0])));
    };
    for (auto [level, to] :
         {std::pair{&buffers.full, &full}, std::pair{&buffers.coarse, &coarse}}) {
        upload(to->vertices, level->positions);
        upload(to->plainTriangles, level->plainTriangles);
        upload(to->selectedTriangles, level->selectedTriangles);
        upload(to->edges, level->edges);
    }
    upload(cutEdges, buffers.cutEdges);
    meshDirty = false;
}

void GlViewport::UploadOverlay() {
    std::vector<float> points;
    auto run = [&points](const std::vector<Point3>& line, bool loop,
                         std::vector<OverlayRun>& runs) {
        OverlayRun r{static_cast<int>(points.size() / 3u), 0, loop};
        for (const Point3& p : line) {
            if (!Finite(p))
                continue;
            points.insert(points.end(), {p.x, p.y, p.z});
            ++r.count;
        }
        if (r.count >= 2)
            runs.push_back(r);
    };
    shapeRuns.clear();
    arrowRuns.clear();
    Point3 lo(INFINITY, INFINITY, INFINITY), hi(-INFINITY, -INFINITY, -INFINITY);
    for (const ViewLine& line : lines) {
        run(line.points, line.closed, shapeRuns);
        for (const Point3& p : line.points)
            if (Finite(p)) {
                lo = Point3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
                hi = Point3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
            }
    }
    float length = projection.Length();
    if (length > 0.0f && lo.x <= hi.x) {
        // From the shape's centre, as long as half the shape's diagonal (or one
        // unit for a shape without extent), with a head of two strokes.
        Point3 from = (lo + hi) * 0.5f;
        float size = std::max((hi - lo).Length() * 0.5f, 1e-3f);
        Point3 along = projection / length;
        Point3 to = from + along * size;
        Point3 side = along ^ Point3(0.0f, 0.0f, 1.0f);
        if (side.Length() < 1e-3f)
            side = along ^ Point3(1.0f, 0.0f, 0.0f);
        side = Normalize(side) * (size * 0.12f);
        Point3 back = to - along * (size * 0.2f);
        run({from, to}, false, arrowRuns);
        run({back + side, to, back - side}, false, arrowRuns);
        Point3 across = Normalize(along ^ side) * (size * 0.12f);
        run({back + across, to, back - across}, false, arrowRuns);
    }
    overlay.bind();
    overlay.allocate(points.data(), static_cast<int>(points.size() * sizeof(float)));
    overlayDirty = false;
}

QMatrix4x4 GlViewport::ViewProjection() const {
    // The camera's orthographic view as ViewCamera::Project draws it, with depth
    // spanning the scene about the target, nearer being smaller.
    float w = std::max(static_cast<float>(width()), 1.0f);
    float h = std::max(static_cast<float>(height()), 1.0f);
    float reach = 1.0f;
    if (!buffers.empty)
        for (const Point3& corner : {buffers.lo, buffers.hi})
            reach = std::max(reach, (corner - camera.target).Length());
    for (const ViewLine& line : lines)
        for (const Point3& p : line.points)
            if (Finite(p))
                reach = std::max(reach, (p - camera.target).Length());
    reach = std::max(reach, (buffers.hi - buffers.lo).Length()) * 1.5f;
    if (!std::isfinite(reach))
        reach = 1.0f;
    Point3 r = camera.Right() * (2.0f * camera.scale / w);
    Point3 u = camera.Up() * (2.0f * camera.scale / h);
    Point3 t = camera.Towards() * (-1.0f / reach);
    const Point3& c = camera.target;
    return QMatrix4x4(r.x, r.y, r.z, -(r % c),  //
                      u.x, u.y, u.z, -(u % c),  //
                      t.x, t.y, t.z, -(t % c),  //
                      0.0f, 0.0f, 0.0f, 1.0f);
}

bool GlViewport::DrawsCoarseLevel() const {
    return buffers.coarseCell > 0.0f && buffers.coarseCell * camera.scale <= kCoarseCellPixels;
}

void GlViewport::BindVertices(QOpenGLBuffer& vertices) {
    vertices.bind();
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
}

void GlViewport::DrawIndexed(QOpenGLBuffer& indices, std::size_t count, GLenum mode) {
    if (count == 0)
        return;
    indices.bind();
    glDrawElements(mode, static_cast<GLsizei>(count), GL_UNSIGNED_INT, nullptr);
}

void GlViewport::paintGL() {
    if (!framed && (!buffers.empty || !lines.empty()))
        FrameAll();
    QColor back = Backdrop();
    glClearColor(back.redF(), back.greenF(), back.blueF(), 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (meshDirty)
        UploadMesh();
    if (overlayDirty)
        UploadOverlay();
    QMatrix4x4 viewProjection = ViewProjection();

    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnableVertexAttribArray(0);
    bool useCoarse = DrawsCoarseLevel();
    const MeshLevel& level = useCoarse ? buffers.coarse : buffers.full;
    LevelBuffers& drawn = useCoarse ? coarse : full;
    BindVertices(drawn.vertices);

    // Faces pushed back a little, so that their own edges win the depth test.
    faceProgram->bind();
    faceProgram->setUniformValue("viewProjection", viewProjection);
    faceProgram->setUniformValue("towards", ToQt(camera.Towards()));
    faceProgram->setUniformValue("light", QVector3D(0.3f, 0.5f, 0.8f).normalized());
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    faceProgram->setUniformValue("albedo", QVector3D(0.72f, 0.76f, 0.82f));
    DrawIndexed(drawn.plainTriangles, level.plainTriangles.size(), GL_TRIANGLES);
    faceProgram->setUniformValue("albedo", QVector3D(0.95f, 0.45f, 0.42f));
    DrawIndexed(drawn.selectedTriangles, level.selectedTriangles.size(), GL_TRIANGLES);
    glDisable(GL_POLYGON_OFFSET_FILL);

    lineProgram->bind();
    lineProgram->setUniformValue("viewProjection", viewProjection);
    if (showEdges) {
        float opacity = EdgeOpacity();
        QColor edge = EdgeColour();
        lineProgram->setUniformValue("colour",
                                     QVector4D(edge.redF(), edge.greenF(), edge.blueF(), opacity));
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        glLineWidth(1.0f);
        DrawIndexed(drawn.edges, level.edges.size(), GL_LINES);
        glDepthMask(GL_TRUE);
        glDisable(GL_BLEND);
    }
    // The cut edges always at full resolution: they are few, and what the user looks for.
    BindVertices(full.vertices);
    QColor cut = SelectedEdgeColour();
    lineProgram->setUniformValue("colour", QVector4D(cut.redF(), cut.greenF(), cut.blueF(), 1.0f));
    glLineWidth(3.0f);
    DrawIndexed(cutEdges, buffers.cutEdges.size(), GL_LINES);

    // The shape and the arrow above the mesh, whatever lies in front.
    glDisable(GL_DEPTH_TEST);
    BindVertices(overlay);
    auto drawRuns = [this](const std::vector<OverlayRun>& runs, const QColor& colour, float width) {
        lineProgram->setUniformValue(
            "colour", QVector4D(colour.redF(), colour.greenF(), colour.blueF(), 1.0f));
        glLineWidth(width);
        for (const OverlayRun& r : runs)
            glDrawArrays(r.loop ? GL_LINE_LOOP : GL_LINE_STRIP, r.first, r.count);
    };
    drawRuns(shapeRuns, ShapeColour(), 2.0f);
    drawRuns(arrowRuns, ArrowColour(), 2.0f);
    glDisableVertexAttribArray(0);
    overlay.release();
}

void GlViewport::mousePressEvent(QMouseEvent* event) {
    pressedAt = lastAt = event->pos();
    dragging = draggingShape = false;
}

void GlViewport::mouseMoveEvent(QMouseEvent* event) {
    QPoint delta = event->pos() - lastAt;
    lastAt = event->pos();
    if (!dragging && (event->pos() - pressedAt).manhattanLength() <= kClickSlack)
        return;
    dragging = true;
    float dx = static_cast<float>(delta.x()), dy = static_cast<float>(delta.y());
    if ((event->buttons() & Qt::LeftButton) && (event->modifiers() & Qt::ShiftModifier)) {
        draggingShape = true;
        if (shapeDragged)
            shapeDragged(camera.DragInWorld(dx, dy));
        return;
    }
    if (event->buttons() & Qt::LeftButton)
        camera.Orbit(dx, dy);
    else if (event->buttons() & (Qt::RightButton | Qt::MiddleButton))
        camera.Pan(dx, dy);
    update();
}

void GlViewport::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging && event->button() == Qt::LeftButton && clicked)
        clicked(event->pos());
    if (draggingShape && shapeDragEnded)
        shapeDragEnded();
    dragging = draggingShape = false;
}

void GlViewport::wheelEvent(QWheelEvent* event) {
    camera.Zoom(std::pow(1.15f, static_cast<float>(event->angleDelta().y()) / 120.0f));
    update();
}

void GlViewport::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F) {
        FrameAll();
        return;
    }
    QOpenGLWidget::keyPressEvent(event);
}
