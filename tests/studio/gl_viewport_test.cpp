// The viewport's picture, its buffers and its camera, on meshes built here. The
// pictures need an OpenGL context (Mesa's software renderer will do); without one
// those tests say so and skip.
#include "app/studio/gl_viewport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <set>

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

// An n by n grid of quads over the unit square at height z.
MNMesh Grid(int n, float z = 0.0f) {
    MNMesh m;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
            m.NewVert(Point3(static_cast<float>(x) / n, static_cast<float>(y) / n, z));
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int c[4] = {y * (n + 1) + x, y * (n + 1) + x + 1, (y + 1) * (n + 1) + x + 1,
                        (y + 1) * (n + 1) + x};
            m.CreateFace(4, c);
        }
    return m;
}

int CountColour(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}

double MeanBrightness(const QImage& image) {
    double sum = 0.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) sum += qGray(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

class GlViewportTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GlViewport::OpenGlAvailable())
            GTEST_SKIP()
                << "no OpenGL context here (the tests run under xvfb-run where it is installed)";
        view.resize(300, 240);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QImage Picture() {
        view.FrameAll();
        return view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    }
    GlViewport view;
};

}  // namespace

TEST_F(GlViewportTest, DrawsSelectedEdgesBoldInTheirColourAndTheShapeOnTop) {
    MNMesh m = TwoTriangles();
    view.SetMesh(m, Matrix3());
    QImage plain = Picture();
    EXPECT_EQ(CountColour(plain, GlViewport::SelectedEdgeColour()), 0);
    EXPECT_GT(plain.width() * plain.height() - CountColour(plain, GlViewport::Backdrop()), 5000);

    for (int e = 0; e < m.nume; ++e)
        if ((m.e[e].v1 == 0 && m.e[e].v2 == 2) || (m.e[e].v1 == 2 && m.e[e].v2 == 0))
            m.e[e].SetFlag(MN_SEL);
    m.f[0].SetFlag(MN_SEL);
    view.SetMesh(m, Matrix3());
    QImage cut = Picture();
    int edgePixels = CountColour(cut, GlViewport::SelectedEdgeColour());
    EXPECT_GT(edgePixels, 50);  // a diagonal three pixels wide
    int changed = 0;            // the tinted face changes more than its edge
    for (int y = 0; y < cut.height(); ++y)
        for (int x = 0; x < cut.width(); ++x) changed += cut.pixel(x, y) != plain.pixel(x, y);
    EXPECT_GT(changed, edgePixels + 1000);

    EXPECT_EQ(CountColour(cut, GlViewport::EdgeColour()), 0);
    view.SetShowEdges(true);
    EXPECT_FLOAT_EQ(view.EdgeOpacity(), 1.0f);  // two triangles fill the view: far apart
    EXPECT_GT(CountColour(Picture(), GlViewport::EdgeColour()),
              100);  // the quad's outline and more
    view.SetShowEdges(false);

    ViewLine line;
    line.points = {Point3(0.2f, 0.2f, -0.5f), Point3(0.8f, 0.8f, -0.5f)};  // under the mesh
    view.SetShapeLines({line});
    EXPECT_GT(CountColour(Picture(), GlViewport::ShapeColour()), 20);
}

TEST_F(GlViewportTest, NearerFacesHideFartherOnesWhateverTheDrawingOrder) {
    // Two grids seen from above; the lower one is selected, and selected faces are
    // drawn last, so only the depth test keeps its tint out of the picture.
    MNMesh lower = Grid(2, 0.0f), upper = Grid(2, 1.0f);
    MNMesh both = lower;
    int offset = both.numv;
    for (int i = 0; i < upper.numv; ++i) both.NewVert(upper.v[i].p);
    for (int f = 0; f < both.numf; ++f) both.f[f].SetFlag(MN_SEL);
    for (int f = 0; f < upper.numf; ++f) {
        std::vector<int> corners(upper.f[f].vtx.begin(), upper.f[f].vtx.end());
        for (int& c : corners) c += offset;
        both.CreateFace(static_cast<int>(corners.size()), corners.data());
    }
    ViewCamera above;
    above.pitch = 1.5f;  // nearly straight down
    view.SetMesh(both, Matrix3());
    view.FrameAll();
    ViewCamera framed = view.Camera();
    framed.pitch = above.pitch;
    view.SetCamera(framed);
    QImage picture = view.grabFramebuffer();
    QColor centre = picture.pixelColor(picture.width() / 2, picture.height() / 2);
    EXPECT_LT(centre.red() - centre.blue(), 10) << "the tinted lower grid shows through";

    framed.pitch = -1.5f;  // from below the lower grid is nearer
    view.SetCamera(framed);
    picture = view.grabFramebuffer();
    centre = picture.pixelColor(picture.width() / 2, picture.height() / 2);
    EXPECT_GT(centre.red(), centre.blue());
}

TEST_F(GlViewportTest, DenseEdgesFadeSoTheMeshStaysReadable) {
    MNMesh dense = Grid(200);
    view.SetMesh(dense, Matrix3());
    QImage faces = Picture();
    view.SetShowEdges(true);
    QImage withEdges = Picture();
    EXPECT_LT(view.EdgeOpacity(), 0.5f);
    // Opaque edges a pixel apart would turn the grid nearly black.
    EXPECT_GT(MeanBrightness(withEdges), 0.6 * MeanBrightness(faces));
    EXPECT_LT(MeanBrightness(withEdges), MeanBrightness(faces));  // still drawn
}

TEST_F(GlViewportTest, DrawsTheProjectionArrowOnlyWhenGiven) {
    view.SetMesh(TwoTriangles(), Matrix3());
    ViewLine square;
    square.closed = true;
    square.points = {Point3(0.2f, 0.2f, 1), Point3(0.8f, 0.2f, 1), Point3(0.8f, 0.8f, 1),
                     Point3(0.2f, 0.8f, 1)};
    view.SetShapeLines({square});
    EXPECT_EQ(CountColour(Picture(), GlViewport::ArrowColour()), 0);
    view.SetProjection(Point3(0.0f, 0.0f, -1.0f));
    EXPECT_GT(CountColour(Picture(), GlViewport::ArrowColour()), 20);
    view.SetProjection(Point3(NAN, 0.0f, 0.0f));
    EXPECT_EQ(CountColour(Picture(), GlViewport::ArrowColour()), 0);
}

TEST_F(GlViewportTest, BadCoordinatesAreLeftOut) {
    MNMesh m = TwoTriangles();
    m.v[2].p = Point3(NAN, 0.0f, 1e38f);
    view.SetMesh(m, Matrix3());
    ViewLine line;
    line.points = {Point3(INFINITY, 0, 0), Point3(0, 0, 0)};
    view.SetShapeLines({line});
    ViewCamera before = view.Camera();
    QImage image = Picture();
    EXPECT_FALSE(image.isNull());
    EXPECT_TRUE(std::isfinite(view.Camera().scale));
    EXPECT_TRUE(std::isfinite(view.Camera().target.x));
    EXPECT_NE(view.Camera().scale, before.scale);  // framed on the finite vertices
}

TEST(MeshBuffers, SplitsFacesAndEdgesByWhatTheCutMarked) {
    MNMesh m = Grid(1);  // one quad: fanned into two triangles
    int a[3] = {m.NewVert(Point3(0, 0, 0)), m.NewVert(Point3(1, 0, 0)), m.NewVert(Point3(1, 1, 0))};
    ASSERT_EQ(m.CreateFace(3, a), 1);
    m.f[1].SetFlag(MN_SEL);
    m.e[0].SetFlag(MN_SEL);
    MeshBuffers b = BuildMeshBuffers(m, TransMatrix(Point3(10.0f, 0.0f, 0.0f)));
    EXPECT_EQ(b.full.plainTriangles.size(), 6u);
    EXPECT_EQ(b.full.selectedTriangles.size(), 3u);
    EXPECT_EQ(b.cutEdges.size(), 2u);
    EXPECT_EQ(b.full.edges.size(), 2u * static_cast<size_t>(m.nume));
    EXPECT_FLOAT_EQ(b.full.positions[0], 10.0f);  // in world space
    EXPECT_EQ(b.lo, Point3(10.0f, 0.0f, 0.0f));
    EXPECT_EQ(b.hi, Point3(11.0f, 1.0f, 0.0f));
    EXPECT_GT(b.meanEdgeLength, 1.0f);  // sides of 1 and a diagonal
    EXPECT_LT(b.meanEdgeLength, 1.1f);

    m.f[0].SetFlag(MN_DEAD);
    m.v[3].p = Point3(NAN, 0.0f, 0.0f);
    b = BuildMeshBuffers(m, Matrix3());
    EXPECT_TRUE(b.full.plainTriangles.empty());
    EXPECT_EQ(b.full.selectedTriangles.size(), 3u);
    for (std::uint32_t v : b.full.edges) EXPECT_NE(v, 3u);

    EXPECT_TRUE(BuildMeshBuffers(MNMesh(), Matrix3()).empty);
}

TEST(MeshBuffers, AConcaveFaceIsCoveredExactly) {
    // An L of six corners whose fan from the first corner would cross its notch.
    MNMesh m;
    for (Point3 p : {Point3(2, 2, 0), Point3(0, 2, 0), Point3(0, 0, 0), Point3(3, 0, 0),
                     Point3(3, 1, 0), Point3(2, 1, 0)})
        m.NewVert(p);
    int l[6] = {0, 1, 2, 3, 4, 5};
    ASSERT_EQ(m.CreateFace(6, l), 0);
    m.f[0].SetFlag(MN_SEL);
    MeshBuffers b = BuildMeshBuffers(m, Matrix3());
    ASSERT_EQ(b.full.selectedTriangles.size(), 12u);  // four triangles
    float area = 0.0f;
    for (std::size_t t = 0; t < b.full.selectedTriangles.size(); t += 3) {
        Point3 c[3];
        for (int k = 0; k < 3; ++k) {
            std::uint32_t v = b.full.selectedTriangles[t + k];
            c[k] = Point3(b.full.positions[3 * v], b.full.positions[3 * v + 1], 0.0f);
        }
        float twice = ((c[1] - c[0]) ^ (c[2] - c[0])).z;
        EXPECT_GT(twice, 0.0f);  // facing as the face does
        area += 0.5f * twice;
        Point3 centre = (c[0] + c[1] + c[2]) / 3.0f;
        EXPECT_FALSE(centre.x > 2.0f && centre.y > 1.0f) << "a triangle in the notch";
    }
    EXPECT_FLOAT_EQ(area, 5.0f);
}

TEST(MeshBuffers, ALargeMeshGetsACoarseLevelOfDistinctTriangles) {
    MeshBuffers small = BuildMeshBuffers(Grid(100), Matrix3());
    EXPECT_EQ(small.coarseCell, 0.0f);
    EXPECT_TRUE(small.coarse.positions.empty());

    MNMesh dense = Grid(400);  // 320,000 triangles
    dense.f[0].SetFlag(MN_SEL);
    MeshBuffers b = BuildMeshBuffers(dense, Matrix3());
    ASSERT_GT(b.coarseCell, b.meanEdgeLength);
    const MeshLevel& coarse = b.coarse;
    size_t fullTriangles = (b.full.plainTriangles.size() + b.full.selectedTriangles.size()) / 3u;
    size_t coarseTriangles = coarse.plainTriangles.size() / 3u;
    EXPECT_LT(coarseTriangles, fullTriangles / 2u);
    EXPECT_GT(coarseTriangles, fullTriangles / 20u);
    size_t clusters = coarse.positions.size() / 3u;
    std::set<std::array<std::uint32_t, 3>> seen;
    for (size_t t = 0; t < coarse.plainTriangles.size(); t += 3) {
        std::array<std::uint32_t, 3> c = {coarse.plainTriangles[t], coarse.plainTriangles[t + 1],
                                          coarse.plainTriangles[t + 2]};
        for (std::uint32_t v : c) ASSERT_LT(v, clusters);
        EXPECT_TRUE(c[0] != c[1] && c[1] != c[2] && c[0] != c[2]);
        std::sort(c.begin(), c.end());
        EXPECT_TRUE(seen.insert(c).second) << "a triangle twice";
    }
    for (size_t i = 0; i < coarse.positions.size(); ++i) {
        EXPECT_GE(coarse.positions[i], -1e-6f);  // clusters sit among their vertices
        EXPECT_LE(coarse.positions[i], 1.0f + 1e-6f);
    }
    EXPECT_FALSE(coarse.edges.empty());
    for (size_t e = 0; e < coarse.edges.size(); e += 2)
        EXPECT_NE(coarse.edges[e], coarse.edges[e + 1]);
    // The selected face is smaller than a cell: it vanishes, the rest stays plain.
    EXPECT_TRUE(coarse.selectedTriangles.empty());
}

TEST(GlViewport, HitsTheShapeOnlyNearItsLines) {
    GlViewport view;
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
