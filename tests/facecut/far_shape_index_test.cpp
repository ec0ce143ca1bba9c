// The far-shape index lets the first phase skip faces the projected shape stays
// away from. Whatever it skips must come out exactly as the full first phase has
// it: these tests run both on random faces and shapes, placed to come close.
#include "facecut/prepare/far_shape_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "facecut/cut_flags.h"
#include "facecut/prepare/prepare_face_cut.h"
#include "shape_builders.h"

namespace {

class RandomScene {
public:
    explicit RandomScene(unsigned seed) : rng(seed) {}

    float Real(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    Point3 Unit() {
        for (;;) {
            Point3 v(Real(-1, 1), Real(-1, 1), Real(-1, 1));
            float l = v.Length();
            if (l > 0.1f && l < 1.0f)
                return v / l;
        }
    }

    // A star-shaped face of 3 to 6 corners around centre, in a plane with the given
    // normal, some of them bent a little out of it.
    std::vector<Point3> Face(const Point3& centre, const Point3& normal, float size) {
        Point3 x =
            Normalize(normal ^ (std::fabs(normal.x) < 0.9f ? Point3(1, 0, 0) : Point3(0, 1, 0)));
        Point3 y = normal ^ x;
        int n = Int(3, 6);
        bool bent = Int(0, 3) == 0;
        std::vector<Point3> corners;
        for (int i = 0; i < n; ++i) {
            float a = 6.2831853f * (i + Real(0.0f, 0.7f)) / n;
            float r = size * Real(0.4f, 1.0f);
            Point3 p = centre + x * (r * std::cos(a)) + y * (r * std::sin(a));
            if (bent)
                p += normal * (size * Real(-0.01f, 0.01f));
            corners.push_back(p);
        }
        return corners;
    }

    // A thin triangle, as around the pole of a UV sphere: two long edges from centre
    // and a short one, 1e-4 to 1e-2 of them.
    std::vector<Point3> Sliver(const Point3& centre, const Point3& normal, float size) {
        Point3 x =
            Normalize(normal ^ (std::fabs(normal.x) < 0.9f ? Point3(1, 0, 0) : Point3(0, 1, 0)));
        Point3 y = normal ^ x;
        float half = size * std::pow(10.0f, Real(-4.0f, -2.0f));
        return {centre, centre + x * size - y * half, centre + x * size + y * half};
    }

    // Closed or open polylines across the direction: circles of many points,
    // zig-zags and scribbles, each placed so that it passes near the face or some way off.
    PolyShape Shape(const Point3& near, const Point3& direction, float size) {
        Point3 x = Normalize(direction ^
                             (std::fabs(direction.x) < 0.9f ? Point3(1, 0, 0) : Point3(0, 1, 0)));
        Point3 y = direction ^ x;
        PolyShape shape;
        int lines = Int(1, 2);
        for (int l = 0; l < lines; ++l) {
            PolyLine& line = shape.NewLine();
            // How far from the face the polyline runs, in face sizes: often just
            // beyond where it could touch.
            float off = size * (Int(0, 2) == 0 ? Real(0.0f, 3.0f) : Real(0.9f, 1.3f));
            Point3 centre = near + x * Real(-size, size) + y * Real(-size, size) +
                            direction * Real(-5.0f, 5.0f);
            float radius = off + size * Real(0.0f, 2.0f);
            int points = Int(0, 1) ? Int(8, 400) : Int(2, 12);
            bool circle = Int(0, 1) == 0;
            // Now and then a scribble of long segments over the whole area: more grid
            // entries than the index allows itself at its finest cells.
            bool scribble = !circle && Int(0, 15) == 0;
            if (scribble)
                points = 4000;
            // In a third of the polylines a repeated point, or one a hair away.
            int hair = Int(0, 2) == 0 ? Int(0, points - 1) : -1;
            for (int j = 0; j < points; ++j) {
                Point3 p;
                if (circle) {
                    float a = 6.2831853f * j / points;
                    p = centre + x * (radius * std::cos(a)) + y * (radius * std::sin(a));
                } else if (scribble) {
                    p = centre + x * Real(-radius, radius) + y * Real(-radius, radius);
                } else {
                    p = centre + x * (radius * (2.0f * j / points - 1.0f)) +
                        y * (off * (j % 2 ? 1.0f : -1.0f));
                }
                line.Append(PolyPt(p));
                if (j == hair)
                    line.Append(PolyPt(p + x * (Int(0, 1) * size * 1e-6f)));
            }
            if (circle || Int(0, 1))
                line.Close();
        }
        return shape;
    }

private:
    std::mt19937 rng;
};

}  // namespace

TEST(FarShapeIndex, SkippedFacesComeOutAsTheFullFirstPhaseHasThem) {
    RandomScene scene(20241207u);
    int skipped = 0, near = 0, slivers = 0;
    for (int trial = 0; trial < 6000; ++trial) {
        // Mostly sizes where the index can answer; now and then ones where rounding
        // forbids it.
        float scale =
            std::pow(10.0f, trial % 5 == 0 ? scene.Real(-2.0f, 3.0f) : scene.Real(-2.0f, 0.7f));
        Point3 direction = scene.Unit();
        Point3 normal = scene.Unit();
        // Faces at every slope, facing the direction or away from it.
        if (trial % 4 == 0)
            normal = Normalize(normal - direction * (normal % direction) * 0.999f);
        Point3 centre = scene.Unit() * (scale * scene.Real(0.0f, 10.0f));
        float size = scale * scene.Real(0.01f, 1.0f);
        bool sliver = trial % 3 == 1;
        std::vector<Point3> corners =
            sliver ? scene.Sliver(centre, normal, size) : scene.Face(centre, normal, size);
        PolyShape shape = scene.Shape(centre, direction, size);
        FarShapeIndex index(shape, direction);

        MNMesh full = OneFace(corners), fast = OneFace(corners);
        FaceCutState fullState, fastState;
        // Without through, faces facing the direction are projected onto the same way.
        const bool through = (trial / 3) % 2 == 0;
        bool fullCuts = PrepareFaceCut(full, 0, shape, Along(direction, through), fullState);
        bool fastCuts =
            PrepareFaceCut(fast, 0, shape, Along(direction, through), fastState, &index);
        ASSERT_EQ(fastCuts, fullCuts) << "trial " << trial;
        ASSERT_EQ(fast.f[0].flags, full.f[0].flags) << "trial " << trial;

        // A face the index answers for gets no frame shape.
        if (fastState.frameShape.numLines == 0) {
            ++skipped;
            slivers += sliver;
            ASSERT_FALSE(fullCuts) << "trial " << trial;
        } else if (!fullCuts) {
            ++near;
        }
    }
    // Both answers must be common for the comparison to mean anything.
    EXPECT_GT(skipped, 250);
    EXPECT_GT(near, 300);
    EXPECT_GT(slivers, 100);
    std::printf("skipped %d (slivers %d), near %d\n", skipped, slivers, near);
}

// Faces far outside a circle are outside, a face inside it far from its rim is
// inside, and a face on the rim is left to the first phase.
TEST(FarShapeIndex, AnswersTheInsideParity) {
    PolyShape shape;
    PolyLine& circle = shape.NewLine();
    for (int j = 0; j < 64; ++j) {
        float a = 6.2831853f * j / 64;
        circle.Append(PolyPt(Point3(10.0f * std::cos(a), 10.0f * std::sin(a), 5.0f)));
    }
    circle.Close();
    const Point3 down(0, 0, -1);
    FarShapeIndex index(shape, down);
    std::vector<Point3> small = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0),
                                 Point3(0, 1, 0)};
    bool inside = false;
    auto never = [](const Point3&, const Point3&) { return false; };
    ASSERT_TRUE(index.Misses(small, small[0], Point3(0, 0, 1), -1.0f, never, inside));
    EXPECT_TRUE(inside);
    std::vector<Point3> outside = {Point3(20, 0, 0), Point3(21, 0, 0), Point3(21, 1, 0),
                                   Point3(20, 1, 0)};
    ASSERT_TRUE(index.Misses(outside, outside[0], Point3(0, 0, 1), -1.0f, never, inside));
    EXPECT_FALSE(inside);
    // On the rim the first phase must run.
    std::vector<Point3> rim = {Point3(9.5f, 0, 0), Point3(10.5f, 0, 0), Point3(10.5f, 1, 0),
                               Point3(9.5f, 1, 0)};
    EXPECT_FALSE(index.Misses(rim, rim[0], Point3(0, 0, 1), -1.0f, never, inside));
}

// A sliver face just above the bottom edge of a square, closer to it than the
// on-segment test's tolerance: the first phase takes its corners into the edge
// and no longer finds it simply outside, as the unbent square would have it. The
// index must leave it to the first phase.
TEST(FarShapeIndex, LeavesAFaceBesideAShapeLineToTheFirstPhase) {
    PolyShape shape;
    PolyLine& square = shape.NewLine();
    for (Point3 p : {Point3(-1, 0, 3), Point3(1, 0, 3), Point3(1, -2, 3), Point3(-1, -2, 3)})
        square.Append(PolyPt(p));
    square.Close();
    const Point3 down(0, 0, -1);
    std::vector<Point3> sliver = {Point3(0.0f, 0.0004f, 0), Point3(-0.1f, 0.00001f, 0),
                                  Point3(0.1f, 0.00001f, 0)};
    MNMesh full = OneFace(sliver), fast = OneFace(sliver);
    FaceCutState fullState, fastState;
    FarShapeIndex index(shape, down);
    bool fullCuts = PrepareFaceCut(full, 0, shape, Along(down, true), fullState);
    ASSERT_TRUE(fullCuts || full.f[0].GetFlag(kFaceInsideShape));
    EXPECT_EQ(PrepareFaceCut(fast, 0, shape, Along(down, true), fastState, &index), fullCuts);
    EXPECT_EQ(fast.f[0].flags, full.f[0].flags);
    EXPECT_GT(fastState.frameShape.numLines, 0);
}

// A long slanted line spans a large box: a face inside that box but far from the
// line is skipped, one beside the line is not.
TEST(FarShapeIndex, SkipsAFaceInALongLinesBoxThatTheLinePassesFarFrom) {
    PolyShape shape;
    PolyLine& diagonal = shape.NewLine();
    diagonal.Append(PolyPt(Point3(-1, -1, 3)));
    diagonal.Append(PolyPt(Point3(1, 1, 3)));
    const Point3 down(0, 0, -1);
    FarShapeIndex index(shape, down);
    bool inside = true;
    auto never = [](const Point3&, const Point3&) { return false; };
    std::vector<Point3> far = {Point3(0.6f, -0.8f, 0), Point3(0.8f, -0.8f, 0),
                               Point3(0.8f, -0.6f, 0), Point3(0.6f, -0.6f, 0)};
    ASSERT_TRUE(index.Misses(far, far[0], Point3(0, 0, 1), -1.0f, never, inside));
    EXPECT_FALSE(inside);
    std::vector<Point3> beside = {Point3(0.4f, 0.3f, 0), Point3(0.5f, 0.3f, 0),
                                  Point3(0.5f, 0.38f, 0), Point3(0.4f, 0.38f, 0)};
    EXPECT_FALSE(index.Misses(beside, beside[0], Point3(0, 0, 1), -1.0f, never, inside));
}
