// The viewport's picture and its camera, on meshes built here.
#include "app/studio/viewport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

namespace {

// A unit quad in the xy plane, split into two triangles along its diagonal edge.
MNMesh TwoTriangles() {
    MNMesh m;
    m.NewVert(Point3(0.0f, 0.0f, 0.0f));
    m.NewVert(Point3(1.0f, 0.0f, 0.0f));
    m.NewVert(Point3(1.0f, 1.0f, 0.0f));
    m.NewVert(Point3(0.0f, 1.0f, 0.0f));
    int a[3] = {0, 1, 2}, b[3] = {0, 2, 3};
    m.CreateFace(3, a);
    m.CreateFace(3, b);
    return m;
}

int CountColour(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}

QImage Picture(Viewport& view) {
    view.resize(300, 240);
    view.FrameAll();
    return view.grab().toImage();
}

}  // namespace

TEST(Viewport, DrawsSelectedEdgesBoldInTheirColourAndTheShapeOnTop) {
    Viewport view;
    MNMesh m = TwoTriangles();
    view.SetMesh(m, Matrix3());
    QImage plain = Picture(view);
    EXPECT_EQ(CountColour(plain, Viewport::SelectedEdgeColour()), 0);

    for (int e = 0; e < m.nume; ++e)
        if ((m.e[e].v1 == 0 && m.e[e].v2 == 2) || (m.e[e].v1 == 2 && m.e[e].v2 == 0))
            m.e[e].SetFlag(MN_SEL);
    m.f[0].SetFlag(MN_SEL);
    view.SetMesh(m, Matrix3());
    QImage cut = Picture(view);
    int edgePixels = CountColour(cut, Viewport::SelectedEdgeColour());
    EXPECT_GT(edgePixels, 50);  // a diagonal three pixels wide
    int changed = 0;            // the tinted face changes more than its edge
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x) changed += cut.pixel(x, y) != plain.pixel(x, y);
    EXPECT_GT(changed, edgePixels + 1000);

    EXPECT_EQ(CountColour(cut, Viewport::EdgeColour()), 0);
    view.SetShowEdges(true);
    EXPECT_GT(CountColour(Picture(view), Viewport::EdgeColour()),
              100);  // the outline of the quad and more
    view.SetShowEdges(false);

    ViewLine line;
    line.points = {Point3(0.2f, 0.2f, 0.5f), Point3(0.8f, 0.8f, 0.5f)};
    view.SetShapeLines({line});
    QImage withShape = Picture(view);
    EXPECT_GT(CountColour(withShape, Viewport::ShapeColour()), 20);
}

TEST(Viewport, HitsTheShapeOnlyNearItsLines) {
    Viewport view;
    view.resize(300, 240);
    ViewLine square;
    square.closed = true;
    square.points = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0)};
    view.SetShapeLines({square});
    view.FrameAll();
    QSizeF size(view.size());
    QPointF corner = view.Camera().Project(Point3(1, 0, 0), size);
    QPointF closing = view.Camera().Project(Point3(0, 0.5f, 0), size);  // on the closing segment
    QPointF middle = view.Camera().Project(Point3(0.5f, 0.5f, 0), size);
    EXPECT_TRUE(view.HitsShape(corner.toPoint()));
    EXPECT_TRUE(view.HitsShape(closing.toPoint()));
    EXPECT_FALSE(view.HitsShape(middle.toPoint()));
    square.closed = false;
    view.SetShapeLines({square});
    EXPECT_FALSE(view.HitsShape(closing.toPoint()));
}

TEST(Viewport, BadCoordinatesAreLeftOut) {
    Viewport view;
    MNMesh m = TwoTriangles();
    m.v[2].p = Point3(NAN, 0.0f, 1e38f);
    view.SetMesh(m, Matrix3());
    ViewLine line;
    line.points = {Point3(INFINITY, 0, 0), Point3(0, 0, 0)};
    view.SetShapeLines({line});
    ViewCamera before = view.Camera();
    QImage image = Picture(view);
    EXPECT_FALSE(image.isNull());
    EXPECT_TRUE(std::isfinite(view.Camera().scale));
    EXPECT_TRUE(std::isfinite(view.Camera().target.x));
    EXPECT_NE(view.Camera().scale, before.scale);  // framed on the finite vertices
}

TEST(ViewCamera, OrbitsPansAndFrames) {
    ViewCamera camera;
    Point3 right = camera.Right(), up = camera.Up(), towards = camera.Towards();
    EXPECT_NEAR(right % up, 0.0f, 1e-6f);
    EXPECT_NEAR(((right ^ up) - towards).Length(), 0.0f, 1e-6f);  // right-handed
    EXPECT_GT(up.z, 0.0f);

    camera.Orbit(0.0f, 1e6f);
    EXPECT_LT(camera.pitch, 1.5708f);  // stops short of the pole
    QSizeF screen(200, 100);
    camera.Frame(Point3(-1, -1, -1), Point3(1, 1, 1), screen);
    EXPECT_EQ(camera.Project(Point3(0, 0, 0), screen), QPointF(100, 50));
    QPointF before = camera.Project(Point3(0.5f, 0.2f, 0.1f), screen);
    camera.Pan(10.0f, -4.0f);
    QPointF after = camera.Project(Point3(0.5f, 0.2f, 0.1f), screen);
    EXPECT_NEAR(after.x() - before.x(), 10.0, 1e-3);
    EXPECT_NEAR(after.y() - before.y(), -4.0, 1e-3);

    float scale = camera.scale;
    camera.Zoom(NAN);
    camera.Zoom(-2.0f);
    EXPECT_EQ(camera.scale, scale);
    camera.Frame(Point3(NAN, 0, 0), Point3(1, 1, 1), screen);
    camera.Frame(Point3(1, 1, 1), Point3(0, 0, 0), screen);
    EXPECT_EQ(camera.scale, scale);
}
