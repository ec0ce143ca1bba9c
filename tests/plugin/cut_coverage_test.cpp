// Whole evaluations checked for what a user measures in another tool: every line of
// the shape kept as selected edges, the faces inside it covering its area, and a
// closed input coming back closed when the weld is on.
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "pipeline_fixture.h"

namespace {

// Parameter IDs of the modifier's block.
constexpr ParamID kRemoveUnused = 1, kWeldOn = 2, kLocal = 5, kThrough = 8, kMinAngle = 12;

// A UV sphere of radius 1 with about `faces` faces: quads, and triangles at the poles.
PolyObject* UvSphere(int faces) {
    PolyObject* obj = new PolyObject();
    MNMesh& m = obj->mm;
    int rings = std::max(4, static_cast<int>(std::sqrt(faces / 2.0)));
    int segments = 2 * rings;
    int top = m.NewVert(Point3(0, 0, 1));
    for (int r = 1; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            double theta = 3.14159265358979 * r / rings,
                   phi = 2.0 * 3.14159265358979 * s / segments;
            m.NewVert(Point3(static_cast<float>(std::sin(theta) * std::cos(phi)),
                             static_cast<float>(std::sin(theta) * std::sin(phi)),
                             static_cast<float>(std::cos(theta))));
        }
    int bottom = m.NewVert(Point3(0, 0, -1));
    auto at = [&](int r, int s) { return 1 + (r - 1) * segments + (s % segments); };
    for (int s = 0; s < segments; ++s) {
        int cap[3] = {top, at(1, s), at(1, s + 1)};
        m.CreateFace(3, cap);
    }
    for (int r = 1; r < rings - 1; ++r)
        for (int s = 0; s < segments; ++s) {
            int quad[4] = {at(r, s), at(r + 1, s), at(r + 1, s + 1), at(r, s + 1)};
            m.CreateFace(4, quad);
        }
    for (int s = 0; s < segments; ++s) {
        int cap[3] = {bottom, at(rings - 1, s + 1), at(rings - 1, s)};
        m.CreateFace(3, cap);
    }
    return obj;
}

SplineShape* Star(float outer) {
    std::vector<Point3> corners;
    for (int i = 0; i < 10; ++i) {
        float r = i % 2 == 0 ? outer : 0.4f * outer;
        float a = 2.0f * 3.14159265f * i / 10;
        corners.push_back(Point3(r * std::cos(a), r * std::sin(a), 0));
    }
    return Polygon(corners);
}

double SelectedEdgeLength(const MNMesh& m) {
    double length = 0.0;
    for (int e = 0; e < m.nume; ++e)
        if (!m.e[e].GetFlag(MN_DEAD) && m.e[e].GetFlag(MN_SEL))
            length += Length(m.P(m.e[e].v2) - m.P(m.e[e].v1));
    return length;
}

double SelectedFaceArea(const MNMesh& m) {
    double area = 0.0;
    for (int f = 0; f < m.numf; ++f)
        if (!m.f[f].GetFlag(MN_DEAD) && m.f[f].GetFlag(MN_SEL))
            area += 0.5 * m.GetFaceNormal(f).Length();
    return area;
}

}  // namespace

// A diamond drawn corner to corner over a grid: each of its pieces runs from one
// grid vertex to another through a face, crossing no edge. Every such face is cut,
// so the whole outline becomes selected edges and the faces inside cover its area.
TEST_F(PipelineTest, ADiamondThroughGridCornersCutsEveryFaceItCrosses) {
    BuildScene(Grid(6),
               Polygon({Point3(2, 0, 0), Point3(0, 2, 0), Point3(-2, 0, 0), Point3(0, -2, 0)}));
    Pick();
    MNMesh& m = Evaluate();
    std::string why;
    EXPECT_TRUE(m.CheckAllData(&why)) << why;
    EXPECT_NEAR(SelectedEdgeLength(m), 8.0 * std::sqrt(2.0), 1e-4);
    EXPECT_NEAR(SelectedFaceArea(m), 8.0, 1e-4);
}

// A line that ends inside a face keeps its last piece when the unused edges go, with
// and without refinement: its length is the same as with the unused edges kept.
TEST_F(PipelineTest, ALineEndingInsideAFaceKeepsItsWholeLengthWhenUnusedEdgesGo) {
    BuildScene(
        Grid(4),
        Polygon({Point3(-3.0f, 0.3f, 0), Point3(-1.0f, 0.65f, 0), Point3(0.45f, 0.35f, 0)}, false));
    Pick();
    const double inside = std::hypot(1.0, 0.175) + std::hypot(1.45, 0.3);  // from x = -2 on
    for (float angle : {0.0f, 27.0f}) {
        Params()->SetValue(kMinAngle, 0, angle);
        Params()->SetValue(kRemoveUnused, 0, 0);
        EXPECT_NEAR(SelectedEdgeLength(Evaluate()), inside, 1e-4) << angle;
        Params()->SetValue(kRemoveUnused, 0, 1);
        MNMesh& m = Evaluate();
        std::string why;
        EXPECT_TRUE(m.CheckAllData(&why)) << why;
        EXPECT_NEAR(SelectedEdgeLength(m), inside, 1e-4) << angle;
    }
}

// Picks the scene's shape and cuts with the weld on, at both angles, with and without
// through, projected along the direction and along each face's normal: the closed
// mesh must come back closed and sound, with more than minLength of cut line (and
// more than minLocalLength projected along the normals, which reach the shape only
// near the pole).
class WeldedPipelineTest : public PipelineTest {
protected:
    void ExpectClosedWithTheWeld(double minLength, double minLocalLength) {
        Pick();
        Params()->SetValue(kWeldOn, 0, 1);
        for (int local : {0, 1})
            for (int through : {0, 1})
                for (float angle : {0.0f, 27.0f}) {
                    Params()->SetValue(kLocal, 0, local);
                    Params()->SetValue(kThrough, 0, through);
                    Params()->SetValue(kMinAngle, 0, angle);
                    MNMesh& m = Evaluate();
                    std::string why;
                    EXPECT_TRUE(m.CheckAllData(&why)) << why;
                    EXPECT_GT(SelectedEdgeLength(m), local ? minLocalLength : minLength);
                    EXPECT_EQ(BorderEdges(m), 0)
                        << "local " << local << " through " << through << " angle " << angle;
                }
    }
};

// A closed sphere cut through by a star, at both angles, with and without through:
// with the weld on it comes back closed, the cut points beside corners included.
TEST_F(WeldedPipelineTest, TheWeldLeavesAClosedSphereClosed) {
    BuildScene(UvSphere(2000), Star(0.7f));
    ExpectClosedWithTheWeld(0.0, 0.0);
}

// The open zig-zag over a sphere of 20,000 faces passes through the pole, where the
// 200 triangles around it are narrower at their base (0.00099) than the weld's
// default reach (0.001): a weld that wide joined the copies of two of the sphere's
// own corners and collapsed the triangles between them. Near the pole even half
// that reaches across a triangle, so the T-junction closing must not take a vertex
// inside one triangle for a point on the edge of the next. Projected along each
// face's own normal, the cut lines of neighbouring triangles there fall far apart,
// and refinement puts points on their long edges a weld's width from points of the
// next edge: only where a point lies on the mesh tells which belong together.
TEST_F(WeldedPipelineTest, TheWeldLeavesTheSphereClosedWhereItsFacesAreNarrowerThanTheWeld) {
    std::vector<Point3> zigzag;
    for (int i = 0; i < 50; ++i)
        zigzag.push_back(
            Point3(-0.7f + 1.4f * static_cast<float>(i) / 49.0f, i % 2 ? 0.21f : -0.21f, 0.0f));
    BuildScene(UvSphere(20000), Polygon(zigzag, false));
    ExpectClosedWithTheWeld(2.0, 0.5);
}

// A circle of a thousand points over the sphere at the default angle. The weld of
// each face's points lines them up in x to find close pairs; a point that merged with
// none used to keep the lined-up x, so the cut line wandered off the circle by up to
// the weld's tolerance, and points on an outline edge left the edge: the triangles
// between it and the edge were dropped, and the sphere came back open.
TEST_F(PipelineTest, ADenseCircleStaysOnItsLineAndTheSphereStaysClosed) {
    const double radius = 0.7;
    std::vector<Point3> circle;
    for (int i = 0; i < 1000; ++i) {
        double a = 2.0 * 3.14159265358979 * i / 1000;
        circle.push_back(Point3(static_cast<float>(radius * std::cos(a)),
                                static_cast<float>(radius * std::sin(a)), 0));
    }
    BuildScene(UvSphere(2000), Polygon(circle));
    Pick();
    Params()->SetValue(kWeldOn, 0, 1);
    for (int through : {0, 1}) {
        Params()->SetValue(kThrough, 0, through);
        MNMesh& m = Evaluate();
        EXPECT_EQ(BorderEdges(m), 0) << "through " << through;
        // Seen along the projection direction (z), every cut vertex lies on a chord
        // of the circle: within its sagitta, 3.5e-6, and float rounding.
        double farthest = 0.0;
        for (int e = 0; e < m.nume; ++e) {
            if (m.e[e].GetFlag(MN_DEAD) || !m.e[e].GetFlag(MN_SEL))
                continue;
            for (int v : {m.e[e].v1, m.e[e].v2})
                farthest = std::max(farthest, std::fabs(std::hypot(m.P(v).x, m.P(v).y) - radius));
        }
        EXPECT_LT(farthest, 1e-5) << "through " << through;
        EXPECT_GT(SelectedEdgeLength(m), 2.0 * 3.14159 * radius);
    }
}

// Random star-shaped polygons over a grid, a third of them with their corners on grid
// vertices: the selected faces must add up to the polygon's area and (where no piece
// runs along a grid line) the selected edges to its perimeter, which fails wherever a
// face the polygon passes through was left uncut or a piece of a line was lost.
TEST_F(PipelineTest, RandomPolygonsOverAGridAreCutAlongTheirWholeLength) {
    PolyObject* grid = Grid(8);
    BuildScene(grid, Square(1.0f));
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int trial = 0; trial < 24; ++trial) {
        int count = 5 + static_cast<int>(unit(rng) * 20);
        float cx = -0.5f + unit(rng), cy = -0.5f + unit(rng);
        std::vector<Point3> corners;
        for (int i = 0; i < count; ++i) {
            float a = 2.0f * 3.14159265f * (i + 0.8f * unit(rng)) / count;
            float r = 0.8f + 2.2f * unit(rng);
            Point3 p(cx + r * std::cos(a), cy + r * std::sin(a), 0.0f);
            // Every third trial snaps the corners to the grid's vertices.
            if (trial % 3 == 0)
                p = Point3(std::round(p.x), std::round(p.y), 0.0f);
            if (corners.empty() || !(corners.back() == p))
                corners.push_back(p);
        }
        double perimeter = 0.0, twiceArea = 0.0;
        for (size_t i = 0; i < corners.size(); ++i) {
            const Point3& p = corners[i];
            const Point3& q = corners[(i + 1) % corners.size()];
            perimeter += Length(q - p);
            twiceArea += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
        }
        SplineShape* shape = Polygon(corners);
        INode* node = session->AddNode(L"shape", shape, TransMatrix(Point3(0, 0, 5)));
        Params()->SetValue(0, 0, node);
        for (float angle : {0.0f, 27.0f}) {
            Params()->SetValue(kMinAngle, 0, angle);
            MNMesh& m = Evaluate();
            std::string why;
            ASSERT_TRUE(m.CheckAllData(&why)) << why;
            // Pieces that run along existing edges cut nothing and select nothing.
            if (trial % 3 != 0) {
                EXPECT_NEAR(SelectedEdgeLength(m), perimeter, 1e-4 * perimeter)
                    << "trial " << trial << " angle " << angle;
            }
            EXPECT_NEAR(SelectedFaceArea(m), std::fabs(0.5 * twiceArea), 1e-4 * perimeter)
                << "trial " << trial << " angle " << angle;
        }
    }
}

// Random shapes over the sphere, closed and open, some with many points, at random
// heights and tilts (a tilted view meets faces near the outline at grazing angles),
// projected along the direction and along each face's normal. Half of them are
// tilted about their own centre and reach past the sphere's outline: without
// through their points that miss the mesh stay off the surface, where the snap
// leaves them, and with through the faces along the outline are seen at grazing
// angles. With the weld on, the sphere must come back closed and sound, every
// vertex on its surface.
TEST_F(PipelineTest, RandomShapesLeaveAClosedSphereClosedWithTheWeld) {
    BuildScene(UvSphere(2000), Square(1.0f));
    Params()->SetValue(kWeldOn, 0, 1);
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int trial = 0; trial < 24; ++trial) {
        const bool closed = trial % 2 == 0, past = trial % 4 >= 2;
        const int count = trial % 4 == 1 ? 400 : 4 + static_cast<int>(unit(rng) * 30);
        const float reach = past ? 1.2f : 0.8f;
        std::vector<Point3> points;
        for (int i = 0; i < count; ++i) {
            const float a = 2.0f * 3.14159265f * (i + 0.8f * unit(rng)) / count;
            const float r = closed ? 0.2f + (reach - 0.2f) * unit(rng) : 0.6f * reach * unit(rng);
            points.push_back(
                closed ? Point3(r * std::cos(a), r * std::sin(a), 0.0f)
                       : Point3(reach * (-0.9f + 1.8f * i / count), r * std::sin(7.0f * a), 0.0f));
        }
        const Matrix3 lift = TransMatrix(Point3(0.0f, 0.0f, 2.0f + 4.0f * unit(rng)));
        const Matrix3 tilt = RotateXMatrix(0.6f * (unit(rng) - 0.5f));
        INode* node =
            session->AddNode(L"shape", Polygon(points, closed), past ? tilt * lift : lift * tilt);
        Params()->SetValue(0, 0, node);
        for (int local : {0, 1})
            for (float angle : {0.0f, 27.0f}) {
                Params()->SetValue(kLocal, 0, local);
                Params()->SetValue(kThrough, 0, trial % 3 == 0 ? 0 : 1);
                Params()->SetValue(kMinAngle, 0, angle);
                MNMesh& m = Evaluate();
                std::string why;
                ASSERT_TRUE(m.CheckAllData(&why)) << why;
                EXPECT_EQ(BorderEdges(m), 0)
                    << "trial " << trial << " local " << local << " angle " << angle;
                // The centres of the sphere's quads lie 0.0026 inside the unit sphere.
                double farthest = 0.0;
                for (int v = 0; v < m.numv; ++v)
                    if (!m.v[v].GetFlag(MN_DEAD))
                        farthest = std::max(farthest,
                                            std::fabs(static_cast<double>(Length(m.P(v))) - 1.0));
                EXPECT_LT(farthest, 0.003)
                    << "trial " << trial << " local " << local << " angle " << angle;
            }
    }
}
