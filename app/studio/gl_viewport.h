// The viewport, drawn with OpenGL: the result mesh flat-shaded with its selected
// faces tinted, its edges (faded by how densely they lie on screen), the cut edges
// bold, and above everything the shape and the projection direction as an arrow.
// The mesh's buffers are uploaded once per result, so that orbiting only draws.
// Left drag orbits, right or middle drag pans, the wheel zooms, F frames
// everything, shift and left drag moves the shape. Picking works on the CPU.
#pragma once

#include <QColor>
#include <QOpenGLBuffer>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>
#include <QOpenGLWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/studio/mesh_buffers.h"
#include "app/studio/view_camera.h"
#include "app/studio/view_line.h"

class GlViewport : public QOpenGLWidget, protected QOpenGLFunctions {
public:
    explicit GlViewport(QWidget* parent = nullptr);
    ~GlViewport() override;

    // Whether this process can create an OpenGL context at all; without one the
    // window shows a message in the viewport's place.
    static bool OpenGlAvailable();

    // Colours of what the cut marks, for who looks at the picture.
    static QColor SelectedEdgeColour() { return QColor(255, 140, 0); }
    static QColor ShapeColour() { return QColor(40, 110, 255); }
    static QColor EdgeColour() { return QColor(12, 12, 16); }
    static QColor ArrowColour() { return QColor(80, 220, 120); }
    static QColor Backdrop() { return QColor(46, 49, 56); }

    // The mesh (in its object's space, placed by tm) and the shape's lines.
    void SetMesh(const MNMesh& mesh, const Matrix3& tm);
    // The mesh as buffers built already (on another thread, say).
    void SetBuffers(MeshBuffers built);
    void SetShapeLines(std::vector<ViewLine> lines);
    // The direction the shape projects along, in world space, drawn as an arrow
    // from the shape's centre; a zero direction draws none.
    void SetProjection(const Point3& direction);
    void SetShowEdges(bool show);
    bool ShowEdges() const { return showEdges; }
    // A crosshair cursor while the user picks.
    void SetPickMode(bool picking);
    // Frames everything drawn.
    void FrameAll();
    // Whether a point of the widget lies on one of the shape's lines.
    bool HitsShape(QPoint at) const;
    const ViewCamera& Camera() const { return camera; }
    void SetCamera(const ViewCamera& to);
    // The edges' opacity at the current zoom: opaque where they lie far apart on
    // screen, faint where they crowd, so that a dense mesh stays readable.
    float EdgeOpacity() const;
    // Whether the view draws the mesh's coarse level (see MeshBuffers).
    bool DrawsCoarseLevel() const;
    // Draws one frame into the widget's framebuffer and waits until it is done
    // (for the benchmark); false without a context.
    bool DrawFrameNow();

    // A click (a press and release without a drag) at a point of the widget.
    std::function<void(QPoint)> clicked;
    // The shape dragged by a world displacement, and the drag's end.
    std::function<void(const Point3&)> shapeDragged;
    std::function<void()> shapeDragEnded;

protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UploadMesh();
    void UploadOverlay();
    QMatrix4x4 ViewProjection() const;
    void DrawIndexed(QOpenGLBuffer& indices, std::size_t count, GLenum mode);
    void BindVertices(QOpenGLBuffer& vertices);
    std::vector<QOpenGLBuffer*> AllBuffers();

    MeshBuffers buffers;
    std::vector<ViewLine> lines;
    Point3 projection;
    bool showEdges = false;
    bool framed = false;
    bool meshDirty = true, overlayDirty = true;
    ViewCamera camera;
    QPoint pressedAt, lastAt;
    bool dragging = false, draggingShape = false;

    // GL objects, made in initializeGL.
    bool initialized = false;
    std::unique_ptr<QOpenGLShaderProgram> faceProgram, lineProgram;
    struct LevelBuffers {
        QOpenGLBuffer vertices{QOpenGLBuffer::VertexBuffer};
        QOpenGLBuffer plainTriangles{QOpenGLBuffer::IndexBuffer};
        QOpenGLBuffer selectedTriangles{QOpenGLBuffer::IndexBuffer};
        QOpenGLBuffer edges{QOpenGLBuffer::IndexBuffer};
        std::vector<QOpenGLBuffer*> All() {
            return {&vertices, &plainTriangles, &selectedTriangles, &edges};
        }
    };
    LevelBuffers full, coarse;
    QOpenGLBuffer cutEdges{QOpenGLBuffer::IndexBuffer};
    QOpenGLBuffer overlay{QOpenGLBuffer::VertexBuffer};
    // Runs of the overlay buffer: first vertex, count, and whether it is a loop.
    struct OverlayRun {
        int first, count;
        bool loop;
    };
    std::vector<OverlayRun> shapeRuns, arrowRuns;
};
