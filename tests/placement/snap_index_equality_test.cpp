// The indexed search must give the exhaustive search's result bit for bit.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "placement/snap_shape_points.h"
#include "placement/triangle_line_index.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

struct Scene {
    std::vector<Point3> verts;
    std::vector<int> corners;  // three per face
};

Mesh ToMesh(const Scene& scene) {
    Mesh mesh;
    mesh.setNumVerts(static_cast<int>(scene.verts.size()));
    for (size_t i = 0; i < scene.verts.size(); ++i) mesh.verts[i] = scene.verts[i];
    mesh.setNumFaces(static_cast<int>(scene.corners.size() / 3));
    for (int f = 0; f < mesh.numFaces; ++f)
        mesh.faces[f].setVerts(scene.corners[3 * f], scene.corners[3 * f + 1],
                               scene.corners[3 * f + 2]);
    return mesh;
}

// A bumpy height field of n x n cells of the given size, at origin.
Scene HeightField(int n, float cell, const Point3& origin, std::mt19937& rng) {
    std::uniform_real_distribution<float> bump(-0.3f * cell, 0.3f * cell);
    Scene scene;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i)
            scene.verts.push_back(origin + Point3(cell * static_cast<float>(i),
                                                  cell * static_cast<float>(j), bump(rng)));
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const int a = j * (n + 1) + i;
            const int b = a + 1;
            const int c = a + n + 1;
            const int d = c + 1;
            scene.corners.insert(scene.corners.end(), {a, b, d, a, d, c});
        }
    }
    return scene;
}

// Triangles of every awkward kind scattered through a box of the given size.
Scene TriangleSoup(int count, float size, std::mt19937& rng) {
    std::uniform_real_distribution<float> coord(-size, size);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::uniform_int_distribution<int> kind(0, 9);
    Scene scene;
    for (int f = 0; f < count; ++f) {
        const Point3 a(coord(rng), coord(rng), coord(rng));
        const float scale = size * std::pow(10.0f, -3.0f * std::fabs(unit(rng)));
        Point3 b = a + Point3(unit(rng), unit(rng), unit(rng)) * scale;
        Point3 c = a + Point3(unit(rng), unit(rng), unit(rng)) * scale;
        switch (kind(rng)) {
            case 0:  // sliver: c almost on the line through a and b
                c = a + (b - a) * unit(rng) + Point3(unit(rng), unit(rng), unit(rng)) * 1e-4f;
                break;
            case 1:  // degenerate
                c = b;
                break;
            case 2:  // containing the z axis direction (parallel to vertical lines)
                c = Point3(b.x, b.y, b.z + scale * unit(rng));
                break;
            case 3:  // nearly so
                c = Point3(b.x + scale * 1e-5f, b.y, b.z + scale);
                break;
            case 4:  // tiny
                b = a + (b - a) * 1e-3f;
                c = a + (c - a) * 1e-3f;
                break;
            default:
                break;
        }
        const int base = static_cast<int>(scene.verts.size());
        scene.verts.insert(scene.verts.end(), {a, b, c});
        scene.corners.insert(scene.corners.end(), {base, base + 1, base + 2});
    }
    return scene;
}

// Shape points on vertices, on edge midpoints, inside faces, at random, far away and
// broken, each moved off the surface along the direction.
PolyShape ShapeOver(const Scene& scene, const Point3& direction, int count, std::mt19937& rng) {
    std::uniform_int_distribution<int> face(0, static_cast<int>(scene.corners.size() / 3) - 1);
    std::uniform_int_distribution<int> kind(0, 19);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    Point3 lo = scene.verts[0];
    Point3 hi = scene.verts[0];
    for (const Point3& p : scene.verts) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            continue;
        lo = Point3(std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z));
        hi = Point3(std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z));
    }
    const float extent = Length(hi - lo);
    PolyShape shape;
    PolyLine* line = &shape.NewLine();
    for (int i = 0; i < count; ++i) {
        if (i % 97 == 96)
            line = &shape.NewLine();
        const int f = face(rng);
        const Point3 a = scene.verts[static_cast<size_t>(scene.corners[3 * f])];
        const Point3 b = scene.verts[static_cast<size_t>(scene.corners[3 * f + 1])];
        const Point3 c = scene.verts[static_cast<size_t>(scene.corners[3 * f + 2])];
        Point3 p;
        const int k = kind(rng);
        if (k < 4) {
            p = k < 2 ? a : (k < 3 ? b : c);
        } else if (k < 9) {
            p = a + (b - a) * 0.5f;
        } else if (k < 12) {
            p = b + (c - b) * (0.5f + 0.5f * unit(rng));
        } else if (k < 15) {
            const float u = 0.5f + 0.5f * unit(rng);
            const float v = (1.0f - u) * (0.5f + 0.5f * unit(rng));
            p = a + (b - a) * u + (c - a) * v;
        } else if (k < 18) {
            p = lo + Point3((hi.x - lo.x) * (0.5f + 0.5f * unit(rng)),
                            (hi.y - lo.y) * (0.5f + 0.5f * unit(rng)),
                            (hi.z - lo.z) * (0.5f + 0.5f * unit(rng)));
        } else if (k < 19) {
            p = a + direction * (extent * 1000.0f * unit(rng));
        } else {
            p = (i % 3 == 0) ? Point3(kNaN, a.y, a.z) : Point3(a.x, kInf, a.z);
        }
        line->Append(PolyPt(p - direction * (extent * unit(rng))));
    }
    return shape;
}

// Number of points whose results differ in any bit.
int CountDifferences(const PolyShape& x, const PolyShape& y) {
    int differences = 0;
    for (int l = 0; l < x.numLines; ++l)
        for (int i = 0; i < x.lines[l].numPts; ++i)
            if (std::memcmp(&x.lines[l].pts[i].p, &y.lines[l].pts[i].p, sizeof(Point3)) != 0)
                ++differences;
    return differences;
}

int CountSnapped(const PolyShape& before, const PolyShape& after, const Point3& direction) {
    int snapped = 0;
    for (int l = 0; l < before.numLines; ++l) {
        for (int i = 0; i < before.lines[l].numPts; ++i) {
            const Point3 moved = after.lines[l].pts[i].p - before.lines[l].pts[i].p;
            if (Length(moved ^ direction) < 1e-3f * Length(moved) && Length(moved) > 0.0f)
                ++snapped;
        }
    }
    return snapped;
}

void ExpectSameSnap(const Scene& scene, const Point3& direction, int points, std::mt19937& rng) {
    const Mesh mesh = ToMesh(scene);
    const PolyShape original = ShapeOver(scene, direction, points, rng);
    PolyShape indexed = original;
    PolyShape threaded = original;
    PolyShape exhaustive = original;
    const Matrix3 identity;
    SnapShapePoints(indexed, identity, identity, direction, false, mesh);
    // Several index blocks and point blocks per thread, taken in any order.
    EXPECT_TRUE(SnapShapePoints(threaded, identity, identity, direction, false, mesh, nullptr, 3));
    SnapShapePointsExhaustive(exhaustive, identity, identity, direction, false, mesh);
    EXPECT_EQ(CountDifferences(indexed, exhaustive), 0);
    EXPECT_EQ(CountDifferences(threaded, exhaustive), 0);
    // The comparison means something only when many points snap.
    EXPECT_GT(CountSnapped(original, exhaustive, direction), points / 4);
}

}  // namespace

TEST(SnapIndexEquality, HeightFieldsAlongAndAcrossTheAxes) {
    std::mt19937 rng(12345);
    const Point3 directions[] = {{0.0f, 0.0f, -1.0f},
                                 {0.0f, 0.0f, 1.0f},
                                 Normalize(Point3(0.3f, -0.2f, -1.0f)),
                                 Normalize(Point3(1.0f, 1.0f, -0.05f))};
    for (const Point3& direction : directions) {
        SCOPED_TRACE(testing::Message()
                     << direction.x << ", " << direction.y << ", " << direction.z);
        ExpectSameSnap(HeightField(30, 1.0f, Point3(0.0f, 0.0f, 0.0f), rng), direction, 2000, rng);
    }
}

TEST(SnapIndexEquality, SmallTrianglesFarFromTheOrigin) {
    std::mt19937 rng(777);
    const Point3 direction = Normalize(Point3(0.1f, 0.05f, -1.0f));
    ExpectSameSnap(HeightField(30, 0.01f, Point3(12345.0f, -5432.0f, 300.0f), rng), direction, 2000,
                   rng);
    ExpectSameSnap(HeightField(20, 1000.0f, Point3(-1.0e6f, 2.0e5f, 0.0f), rng), direction, 1000,
                   rng);
}

TEST(SnapIndexEquality, TriangleSoupWithSliversAndBrokenFaces) {
    std::mt19937 rng(4242);
    Scene scene = TriangleSoup(1500, 10.0f, rng);
    // Faces with vertices that are not numbers or infinite, and with missing vertices.
    const int base = static_cast<int>(scene.verts.size());
    scene.verts.insert(
        scene.verts.end(),
        {{kNaN, 0.0f, 0.0f}, {0.0f, kInf, 0.0f}, {1.0f, 1.0f, -kInf}, {1.0f, 2.0f, 3.0f}});
    scene.corners.insert(scene.corners.end(), {base, base + 3, 0, base + 1, base + 3, 1, base + 2,
                                               0, 1, base + 3, 2, 1});
    const Point3 directions[] = {{0.0f, 0.0f, -1.0f}, Normalize(Point3(-0.7f, 0.2f, 0.4f))};
    for (const Point3& direction : directions) ExpectSameSnap(scene, direction, 3000, rng);

    Mesh broken = ToMesh(scene);
    broken.faces[5].v[2] = 0xFFFFFFF0u;
    broken.faces[9].v[0] = static_cast<DWORD>(broken.numVerts);
    const PolyShape original = ShapeOver(scene, directions[0], 1000, rng);
    PolyShape indexed = original;
    PolyShape threaded = original;
    PolyShape exhaustive = original;
    const Matrix3 identity;
    SnapShapePoints(indexed, identity, identity, directions[0], false, broken);
    SnapShapePoints(threaded, identity, identity, directions[0], false, broken, nullptr, 2);
    SnapShapePointsExhaustive(exhaustive, identity, identity, directions[0], false, broken);
    EXPECT_EQ(CountDifferences(indexed, exhaustive), 0);
    EXPECT_EQ(CountDifferences(threaded, exhaustive), 0);
}

TEST(TriangleLineIndex, PrunesToTheFacesUnderThePoint) {
    std::mt19937 rng(99);
    const Mesh mesh = ToMesh(HeightField(50, 1.0f, Point3(0.0f, 0.0f, 0.0f), rng));
    const TriangleLineIndex index(mesh, Point3(0.0f, 0.0f, -1.0f));
    std::vector<int> faces;
    ASSERT_TRUE(index.Candidates(Point3(20.3f, 31.6f, 5.0f), faces));
    EXPECT_LE(faces.size(), 12u);
    // Cell (20, 31) holds faces 2 * (31 * 50 + 20) and the next one.
    const int cellFace = 2 * (31 * 50 + 20);
    EXPECT_NE(std::find(faces.begin(), faces.end(), cellFace), faces.end());
    EXPECT_NE(std::find(faces.begin(), faces.end(), cellFace + 1), faces.end());
    EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end()));
    ASSERT_TRUE(index.Candidates(Point3(80.0f, 20.0f, 0.0f), faces));
    EXPECT_TRUE(faces.empty());
    EXPECT_FALSE(index.Candidates(Point3(kNaN, 1.0f, 1.0f), faces));
    const TriangleLineIndex unusable(mesh, Point3(0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(unusable.Candidates(Point3(20.3f, 31.6f, 5.0f), faces));
    // Stopped while building, the index sends every query to the full search.
    const std::atomic<bool> stop{true};
    const TriangleLineIndex stopped(mesh, Point3(0.0f, 0.0f, -1.0f), &stop);
    EXPECT_FALSE(stopped.Candidates(Point3(20.3f, 31.6f, 5.0f), faces));
}
