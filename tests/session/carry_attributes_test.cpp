// Attributes through the cut on the built plug-in: every corner's texture
// coordinate is its face's own interpolation at its position, seams stay seams,
// colours, groups and material names follow.
#include "session/carry_attributes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <tuple>

#include "session/cut_session.h"
#include "session/demo_scene.h"
#include "session/mean_value_weights.h"

namespace {

constexpr float kTolerance = 1e-5f;

struct Textured {
    MNMesh mesh;
    MeshAttributes attributes;
};

int SharedVertex(MNMesh& mesh, std::map<std::tuple<int, int, int>, int>& seen, const Point3& p) {
    auto key = std::make_tuple(static_cast<int>(std::lround(p.x * 1000)),
                               static_cast<int>(std::lround(p.y * 1000)),
                               static_cast<int>(std::lround(p.z * 1000)));
    auto found = seen.find(key);
    if (found != seen.end())
        return found->second;
    return seen[key] = mesh.NewVert(p);
}

// Which cube side a face with this normal lies on (0..5), and the axes across it.
int Side(const Point3& normal, int& a, int& b) {
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (std::fabs(normal[k]) > std::fabs(normal[axis]))
            axis = k;
    a = (axis + 1) % 3;
    b = (axis + 2) % 3;
    return 2 * axis + (normal[axis] > 0.0f ? 1 : 0);
}

// The cube's texture: every side its own island, affine in the position.
Point3 CubeUV(const Point3& p, const Point3& normal) {
    int a = 0, b = 0;
    int side = Side(normal, a, b);
    return Point3(0.25f * p[a] + 2.0f * side, 0.25f * p[b] + 0.5f, 0.0f);
}

// A cube of side 2 centred on the origin, n quads along each side's edge, with
// CubeUV per corner: every cube edge is a seam.
Textured SeamedCube(int n) {
    Textured cube;
    std::map<std::tuple<int, int, int>, int> seen;
    for (int axis = 0; axis < 3; ++axis)
        for (int sign = -1; sign <= 1; sign += 2) {
            int a = (axis + 1) % 3, b = (axis + 2) % 3;
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j) {
                    int vv[4];
                    std::vector<Point3> uv;
                    Point3 normal;
                    normal[axis] = static_cast<float>(sign);
                    const int di[4] = {0, 1, 1, 0}, dj[4] = {0, 0, 1, 1};
                    for (int k = 0; k < 4; ++k) {
                        // Counter-clockwise seen from outside.
                        int kk = sign > 0 ? k : 3 - k;
                        Point3 p;
                        p[axis] = static_cast<float>(sign);
                        p[a] = -1.0f + 2.0f * (i + di[kk]) / n;
                        p[b] = -1.0f + 2.0f * (j + dj[kk]) / n;
                        vv[k] = SharedVertex(cube.mesh, seen, p);
                        uv.push_back(CubeUV(p, normal));
                    }
                    int fi = cube.mesh.CreateFace(4, vv);
                    cube.attributes.uv.resize(fi + 1);
                    cube.attributes.uv[fi] = uv;
                }
        }
    return cube;
}

// A UV sphere of triangles, radius 2, with the seam at longitude 0: the corners
// there have u 0 on one side and 1 on the other.
Textured SeamedSphere(int segments, int rings) {
    Textured sphere;
    const double pi = std::acos(-1.0);
    auto at = [&](int i, int j) {
        double theta = 2.0 * pi * i / segments, phi = pi * j / rings;
        return Point3(static_cast<float>(2.0 * std::sin(phi) * std::cos(theta)),
                      static_cast<float>(2.0 * std::sin(phi) * std::sin(theta)),
                      static_cast<float>(2.0 * std::cos(phi)));
    };
    int north = sphere.mesh.NewVert(at(0, 0));
    std::vector<int> ring;
    for (int j = 1; j < rings; ++j)
        for (int i = 0; i < segments; ++i) ring.push_back(sphere.mesh.NewVert(at(i, j)));
    int south = sphere.mesh.NewVert(at(0, rings));
    auto vert = [&](int i, int j) {
        if (j == 0)
            return north;
        if (j == rings)
            return south;
        return ring[(j - 1) * segments + i % segments];
    };
    auto uv = [&](int i, int j) {
        return Point3(static_cast<float>(i) / segments, static_cast<float>(j) / rings, 0.0f);
    };
    auto triangle = [&](int i0, int j0, int i1, int j1, int i2, int j2) {
        int vv[3] = {vert(i0, j0), vert(i1, j1), vert(i2, j2)};
        int fi = sphere.mesh.CreateFace(3, vv);
        ASSERT_GE(fi, 0);
        sphere.attributes.uv.resize(fi + 1);
        sphere.attributes.uv[fi] = {uv(i0, j0), uv(i1, j1), uv(i2, j2)};
    };
    for (int j = 0; j < rings; ++j)
        for (int i = 0; i < segments; ++i) {
            if (j > 0)
                triangle(i, j, i, j + 1, i + 1, j);
            if (j + 1 < rings)
                triangle(i + 1, j, i, j + 1, i + 1, j + 1);
        }
    return sphere;
}

// The total length of edges whose two faces disagree on the texture at either end.
double SeamLength(const MNMesh& mesh, const std::vector<std::vector<Point3>>& uv) {
    auto at = [&](int f, int v) { return uv[f][mesh.f[f].VertIndex(v)]; };
    double length = 0.0;
    for (int e = 0; e < mesh.nume; ++e) {
        const MNEdge& edge = mesh.e[e];
        if (edge.GetFlag(MN_DEAD) || edge.f1 < 0 || edge.f2 < 0)
            continue;
        bool seam = false;
        for (int v : {edge.v1, edge.v2})
            seam = seam || (at(edge.f1, v) - at(edge.f2, v)).Length() > kTolerance;
        if (seam)
            length += (mesh.v[edge.v1].p - mesh.v[edge.v2].p).Length();
    }
    return length;
}

class CarryAttributesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
        ASSERT_NE(session, nullptr) << error;
        star.reset(MakeStar(5, 1.0f, 0.42f));
    }
    CutOutcome Cut(const Textured& in, const Matrix3& adjust = Matrix3(), bool weld = true) {
        session->SetMesh(in.mesh);
        session->SetMeshAttributes(in.attributes);
        session->SetFittedShape(star->shape, L"star", adjust);
        session->PickShape();
        std::string error;
        EXPECT_TRUE(session->SetParameter("weld_on", weld ? "on" : "off", error)) << error;
        EXPECT_TRUE(session->SetParameter("through", "on", error)) << error;
        CutOutcome outcome = session->Evaluate();
        EXPECT_TRUE(outcome.evaluated) << outcome.error;
        EXPECT_GT(outcome.counts.facesCut, 0);
        EXPECT_EQ(outcome.attributes.uv.size(), static_cast<std::size_t>(outcome.mesh.numf));
        return outcome;
    }

    std::unique_ptr<CutSession> session;
    std::unique_ptr<SplineShape> star;
};

}  // namespace

TEST(MeanValueWeights, ReproduceLinearFunctionsInANonConvexPolygon) {
    // An L in a tilted plane.
    std::vector<Point3> corners = {{0, 0, 0},    {2, 0, 1},    {2, 1, 1},
                                   {1, 1, 0.5f}, {1, 2, 0.5f}, {0, 2, 0}};
    auto linear = [](const Point3& p) { return 3.0 * p.x - 2.0 * p.y + 0.5; };
    for (const Point3& p :
         {Point3(0.5f, 1.5f, 0.25f), Point3(1.5f, 0.5f, 0.75f), Point3(0.2f, 0.3f, 0.1f)}) {
        std::vector<double> w = MeanValueWeights(corners, p);
        double value = 0.0, sum = 0.0;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            value += w[i] * linear(corners[i]);
            sum += w[i];
        }
        EXPECT_NEAR(sum, 1.0, 1e-9);
        EXPECT_NEAR(value, linear(p), 1e-5) << p.x << " " << p.y;
    }
}

TEST(MeanValueWeights, OnAnEdgeOrCornerOnlyItsEndsCount) {
    std::vector<Point3> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    std::vector<double> edge = MeanValueWeights(square, Point3(1.0f, 0.25f, 0.0f));
    EXPECT_NEAR(edge[1], 0.75, 1e-9);
    EXPECT_NEAR(edge[2], 0.25, 1e-9);
    EXPECT_EQ(edge[0], 0.0);
    EXPECT_EQ(edge[3], 0.0);
    std::vector<double> corner = MeanValueWeights(square, Point3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(corner, (std::vector<double>{0.0, 0.0, 0.0, 1.0}));
}

TEST_F(CarryAttributesTest, CubeCornersKeepTheirSidesTextureAndItsSeams) {
    Textured cube = SeamedCube(3);
    // Over the edge at x = 1, so that the cut reaches the seam there.
    CutOutcome out = Cut(cube, TransMatrix(Point3(0.9f, 0.0f, 0.0f)));
    int corners = 0;
    for (int f = 0; f < out.mesh.numf; ++f) {
        if (out.mesh.f[f].GetFlag(MN_DEAD))
            continue;
        Point3 normal = out.mesh.GetFaceNormal(f, true);
        ASSERT_EQ(out.attributes.uv[f].size(), static_cast<std::size_t>(out.mesh.f[f].deg));
        for (int j = 0; j < out.mesh.f[f].deg; ++j, ++corners) {
            Point3 expected = CubeUV(out.mesh.v[out.mesh.f[f].vtx[j]].p, normal);
            EXPECT_NEAR(out.attributes.uv[f][j].x, expected.x, kTolerance) << "face " << f;
            EXPECT_NEAR(out.attributes.uv[f][j].y, expected.y, kTolerance) << "face " << f;
        }
    }
    EXPECT_GT(corners, 4 * cube.mesh.numf);
    EXPECT_NEAR(SeamLength(out.mesh, out.attributes.uv), 24.0, 1e-4);
}

TEST_F(CarryAttributesTest, SphereCornersAreTheirTrianglesInterpolationAcrossTheSeam) {
    Textured sphere = SeamedSphere(24, 12);
    double seamIn = SeamLength(sphere.mesh, sphere.attributes.uv);
    ASSERT_GT(seamIn, 3.0);
    CutOutcome out = Cut(sphere);
    const MNMesh& in = sphere.mesh;
    int checked = 0;
    for (int f = in.numf; f < out.mesh.numf; ++f) {
        const MNFace& face = out.mesh.f[f];
        if (face.GetFlag(MN_DEAD))
            continue;
        Point3 centre;
        for (int v : face.vtx) centre += out.mesh.v[v].p / static_cast<float>(face.deg);
        // The triangle of the sphere holding the face's centre, by barycentric test.
        int found = -1;
        double bary[3] = {0, 0, 0};
        for (int t = 0; t < in.numf && found < 0; ++t) {
            const Point3& a = in.v[in.f[t].vtx[0]].p;
            const Point3& b = in.v[in.f[t].vtx[1]].p;
            const Point3& c = in.v[in.f[t].vtx[2]].p;
            Point3 n = (b - a) ^ (c - a);
            if (std::fabs((centre - a) % n.Normalize()) > 1e-4f)
                continue;
            double area = n % n;
            double wa = (((c - b) ^ (centre - b)) % n) / area;
            double wb = (((a - c) ^ (centre - c)) % n) / area;
            if (wa < -1e-6 || wb < -1e-6 || 1.0 - wa - wb < -1e-6)
                continue;
            found = t;
        }
        ASSERT_GE(found, 0) << "face " << f << " lies on no triangle of the sphere";
        const Point3& a = in.v[in.f[found].vtx[0]].p;
        const Point3& b = in.v[in.f[found].vtx[1]].p;
        const Point3& c = in.v[in.f[found].vtx[2]].p;
        Point3 n = (b - a) ^ (c - a);
        for (int j = 0; j < face.deg; ++j, ++checked) {
            const Point3& p = out.mesh.v[face.vtx[j]].p;
            bary[0] = (((c - b) ^ (p - b)) % n) / (n % n);
            bary[1] = (((a - c) ^ (p - c)) % n) / (n % n);
            bary[2] = 1.0 - bary[0] - bary[1];
            for (int k = 0; k < 2; ++k) {
                double expected = 0.0;
                for (int i = 0; i < 3; ++i) expected += bary[i] * sphere.attributes.uv[found][i][k];
                EXPECT_NEAR(out.attributes.uv[f][j][k], expected, kTolerance) << "face " << f;
            }
        }
    }
    EXPECT_GT(checked, 100);
    EXPECT_NEAR(SeamLength(out.mesh, out.attributes.uv), seamIn, 1e-4);
}

// Two layers of quads in one place, facing apart, each with its own texture: a new face
// takes its values from the face it replaced, which no nearest-face guess can tell.
TEST_F(CarryAttributesTest, LayersInOnePlaceKeepTheirOwnTextures) {
    Textured plate;
    const int n = 4;
    for (int layer = 0; layer < 2; ++layer) {
        std::map<std::tuple<int, int, int>, int> seen;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                const int di[4] = {0, 1, 1, 0}, dj[4] = {0, 0, 1, 1};
                int vv[4];
                std::vector<Point3> uv;
                for (int k = 0; k < 4; ++k) {
                    int kk = layer == 0 ? k : 3 - k;
                    Point3 p(-1.0f + 2.0f * (i + di[kk]) / n, -1.0f + 2.0f * (j + dj[kk]) / n,
                             0.0f);
                    vv[k] = SharedVertex(plate.mesh, seen, p);
                    uv.push_back(Point3(0.25f * p.x + 10.0f * layer, 0.25f * p.y, 0.0f));
                }
                int fi = plate.mesh.CreateFace(4, vv);
                plate.attributes.uv.resize(fi + 1);
                plate.attributes.uv[fi] = uv;
            }
    }
    CutOutcome out = Cut(plate, Matrix3(), false);
    int checked = 0;
    for (int f = plate.mesh.numf; f < out.mesh.numf; ++f) {
        if (out.mesh.f[f].GetFlag(MN_DEAD))
            continue;
        float layer = out.mesh.GetFaceNormal(f, true).z > 0.0f ? 0.0f : 10.0f;
        for (int j = 0; j < out.mesh.f[f].deg; ++j, ++checked) {
            const Point3& p = out.mesh.v[out.mesh.f[f].vtx[j]].p;
            EXPECT_NEAR(out.attributes.uv[f][j].x, 0.25f * p.x + layer, kTolerance) << "face " << f;
        }
    }
    EXPECT_GT(checked, 100);
}

TEST_F(CarryAttributesTest, ColoursGroupsAndNamesFollowAndTheInsideMaterialIsNamed) {
    Textured cube = SeamedCube(2);
    cube.attributes.materialNames = {"Wood"};
    cube.attributes.groupNames = {"body"};
    cube.attributes.faceGroup.assign(cube.mesh.numf, 0);
    for (int v = 0; v < cube.mesh.numv; ++v) {
        const Point3& p = cube.mesh.v[v].p;
        cube.attributes.color.push_back(Point3(0.5f + 0.25f * p.x, 0.5f, 0.5f - 0.25f * p.z));
    }
    std::string error;
    ASSERT_TRUE(session->SetParameter("matid_on", "on", error)) << error;
    ASSERT_TRUE(session->SetParameter("matid", "3", error)) << error;
    CutOutcome out = Cut(cube);
    EXPECT_EQ(out.attributes.materialNames,
              (std::vector<std::string>{"Wood", "", "slitform_inside"}));
    ASSERT_EQ(out.attributes.color.size(), static_cast<std::size_t>(out.mesh.numv));
    for (int v = 0; v < out.mesh.numv; ++v) {
        if (out.mesh.v[v].GetFlag(MN_DEAD))
            continue;
        const Point3& p = out.mesh.v[v].p;
        EXPECT_NEAR(out.attributes.color[v].x, 0.5f + 0.25f * p.x, kTolerance) << v;
        EXPECT_NEAR(out.attributes.color[v].z, 0.5f - 0.25f * p.z, kTolerance) << v;
    }
    for (int f = 0; f < out.mesh.numf; ++f) {
        if (!out.mesh.f[f].GetFlag(MN_DEAD)) {
            EXPECT_EQ(out.attributes.faceGroup[f], 0) << f;
        }
    }
}
