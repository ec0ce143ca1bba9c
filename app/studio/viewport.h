// The viewport: the result mesh and the shape drawn with QPainter (so it also
// draws on the offscreen platform). Left drag orbits, right or middle drag pans,
// the wheel zooms, F frames everything, shift and left drag moves the shape.
#pragma once

#include <QColor>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/studio/view_camera.h"
#include "matrix3.h"
#include "mnmesh.h"

// A polyline of the shape in world space.
struct ViewLine {
    std::vector<Point3> points;
    bool closed = false;
};

class Viewport : public QWidget {
public:
    explicit Viewport(QWidget* parent = nullptr);

    // Colours of what the cut marks, for who looks at the picture.
    static QColor SelectedEdgeColour() { return QColor(255, 140, 0); }
    static QColor ShapeColour() { return QColor(40, 110, 255); }
    static QColor EdgeColour() { return QColor(12, 12, 16); }

    // The mesh (in its object's space, placed by tm) and the shape's lines.
    void SetMesh(const MNMesh& mesh, const Matrix3& tm);
    void SetShapeLines(std::vector<ViewLine> lines);
    void SetShowEdges(bool show);
    bool ShowEdges() const { return showEdges; }
    // Frames everything drawn.
    void FrameAll();
    // Whether a point of the widget lies on one of the shape's lines.
    bool HitsShape(QPoint at) const;
    const ViewCamera& Camera() const { return camera; }

    // A click (a press and release without a drag) at a point of the widget.
    std::function<void(QPoint)> clicked;
    // The shape dragged by a world displacement.
    std::function<void(const Point3&)> shapeDragged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    MNMesh mesh;
    std::vector<Point3> world;  // the mesh's vertices in world space
    std::vector<ViewLine> lines;
    bool showEdges = false;
    bool framed = false;
    ViewCamera camera;
    QPoint pressedAt, lastAt;
    bool dragging = false;
};
