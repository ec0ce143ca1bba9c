#include "app/studio/viewport.h"

#include <QKeyEvent>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

const int kClickSlack = 3;        // pixels a click may move and stay a click
const double kHitDistance = 6.0;  // pixels from a line that still hit it

bool Finite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The polygon's normal by Newell's rule: sound for any planar or near-planar
// polygon, zero for a degenerate one.
Point3 PolygonNormal(const std::vector<Point3>& corners) {
    Point3 n;
    for (size_t i = 0; i < corners.size(); ++i) {
        const Point3& a = corners[i];
        const Point3& b = corners[(i + 1) % corners.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    float length = n.Length();
    return length > 0.0f ? n / length : Point3();
}

QColor Shade(const Point3& normal, const Point3& towards, bool selected) {
    static const Point3 light = Normalize(Point3(0.3f, 0.5f, 0.8f));
    float facing = normal % towards;
    float lit = facing >= 0.0f ? 0.3f + 0.5f * facing + 0.2f * std::max(normal % light, 0.0f)
                               : 0.18f;  // back faces stay dark
    float r = 0.72f, g = 0.76f, b = 0.82f;
    if (selected) {
        r = 0.95f;
        g = 0.45f;
        b = 0.42f;
    }
    auto c = [lit](float v) {
        return std::clamp(static_cast<int>(v * lit * 255.0f + 0.5f), 0, 255);
    };
    return QColor(c(r), c(g), c(b));
}

double DistanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    QPointF ab = b - a;
    double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0.0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    return QLineF(p, a + ab * t).length();
}

}  // namespace

Viewport::Viewport(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 240);
}

void Viewport::SetMesh(const MNMesh& m, const Matrix3& tm) {
    mesh = m;
    world.assign(static_cast<size_t>(mesh.numv), Point3());
    for (int i = 0; i < mesh.numv; ++i) world[i] = mesh.v[i].p * tm;
    update();
}

void Viewport::SetShapeLines(std::vector<ViewLine> l) {
    lines = std::move(l);
    update();
}

void Viewport::SetShowEdges(bool show) {
    showEdges = show;
    update();
}

void Viewport::FrameAll() {
    Point3 lo(INFINITY, INFINITY, INFINITY), hi(-INFINITY, -INFINITY, -INFINITY);
    auto grow = [&lo, &hi](const Point3& p) {
        if (!Finite(p))
            return;
        lo = Point3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = Point3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    };
    for (int i = 0; i < mesh.numv; ++i)
        if (!mesh.v[i].GetFlag(MN_DEAD))
            grow(world[i]);
    for (const ViewLine& line : lines)
        for (const Point3& p : line.points) grow(p);
    camera.Frame(lo, hi, QSizeF(size()));
    framed = lo.x <= hi.x;
    update();
}

bool Viewport::HitsShape(QPoint at) const {
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

void Viewport::paintEvent(QPaintEvent*) {
    if (!framed && (mesh.numv > 0 || !lines.empty()))
        FrameAll();
    QPainter painter(this);
    QLinearGradient backdrop(0, 0, 0, height());
    backdrop.setColorAt(0.0, QColor(58, 62, 70));
    backdrop.setColorAt(1.0, QColor(28, 30, 34));
    painter.fillRect(rect(), backdrop);
    QSizeF screen(size());
    Point3 towards = camera.Towards();

    // Farthest faces first, each with its edges, so that nearer faces cover them.
    std::vector<std::pair<float, int>> order;
    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        if (face.GetFlag(MN_DEAD) || face.deg < 3)
            continue;
        float depth = 0.0f;
        bool finite = true;
        for (int c : face.vtx) {
            finite = finite && c >= 0 && c < mesh.numv && Finite(world[c]);
            if (finite)
                depth += camera.Depth(world[c]);
        }
        if (finite && std::isfinite(depth))
            order.emplace_back(depth / static_cast<float>(face.deg), f);
    }
    std::sort(order.begin(), order.end());

    QPen edgePen(EdgeColour(), 1.0);
    QPen selectedPen(SelectedEdgeColour(), 3.0, Qt::SolidLine, Qt::RoundCap);
    std::vector<Point3> corners;
    QPolygonF polygon;
    for (const auto& [depth, f] : order) {
        const MNFace& face = mesh.f[f];
        corners.clear();
        polygon.clear();
        for (int c : face.vtx) {
            corners.push_back(world[c]);
            polygon << camera.Project(world[c], screen);
        }
        QColor shade = Shade(PolygonNormal(corners), towards, face.GetFlag(MN_SEL));
        // Without antialiasing, and outlined in its own colour, a face leaves no
        // pinholes where it meets its neighbours.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(showEdges ? edgePen : QPen(shade, 1.0));
        painter.setBrush(shade);
        painter.drawPolygon(polygon);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(selectedPen);
        for (int j = 0; j < face.deg && j < static_cast<int>(face.edg.size()); ++j) {
            int e = face.edg[j];
            if (e >= 0 && e < mesh.nume && mesh.e[e].GetFlag(MN_SEL) && !mesh.e[e].GetFlag(MN_DEAD))
                painter.drawLine(polygon[j], polygon[(j + 1) % face.deg]);
        }
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(ShapeColour(), 2.0));
    painter.setBrush(Qt::NoBrush);
    for (const ViewLine& line : lines) {
        QPolygonF path;
        for (const Point3& p : line.points)
            if (Finite(p))
                path << camera.Project(p, screen);
        if (line.closed)
            painter.drawPolygon(path);
        else
            painter.drawPolyline(path);
    }
    if (order.empty() && lines.empty()) {
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(rect(), Qt::AlignCenter, tr("Open a mesh and a shape from the File menu"));
    }
}

void Viewport::mousePressEvent(QMouseEvent* event) {
    pressedAt = lastAt = event->pos();
    dragging = false;
}

void Viewport::mouseMoveEvent(QMouseEvent* event) {
    QPoint delta = event->pos() - lastAt;
    lastAt = event->pos();
    if (!dragging && (event->pos() - pressedAt).manhattanLength() <= kClickSlack)
        return;
    dragging = true;
    float dx = static_cast<float>(delta.x()), dy = static_cast<float>(delta.y());
    if ((event->buttons() & Qt::LeftButton) && (event->modifiers() & Qt::ShiftModifier)) {
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

void Viewport::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging && event->button() == Qt::LeftButton && clicked)
        clicked(event->pos());
    dragging = false;
}

void Viewport::wheelEvent(QWheelEvent* event) {
    camera.Zoom(std::pow(1.15f, static_cast<float>(event->angleDelta().y()) / 120.0f));
    update();
}

void Viewport::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F) {
        FrameAll();
        return;
    }
    QWidget::keyPressEvent(event);
}
