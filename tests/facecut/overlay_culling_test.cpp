// The overlay operations skip pairs that their bounds rule out; these tests check
// on random, deliberately awkward input that the results are exactly those of the
// exhaustive walks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "facecut/prepare/add_outline_points_to_shape.h"
#include "facecut/prepare/add_shape_points_to_outline.h"
#include "facecut/prepare/shape_cuts_outline.h"
#include "overlay_reference.h"

namespace {

class AwkwardInput {
public:
    // Outlines of fewest to most corners; shape lines of up to longest points.
    explicit AwkwardInput(unsigned seed, int fewest = 3, int most = 6, int longest = 8)
        : rng(seed), fewest(fewest), most(most), longest(longest) {}

    PolyLine Outline() {
        PolyLine outline;
        int n = Int(fewest, most);
        int kind = Int(0, 3);
        float a = Real(-2.0f, 2.0f);
        float b = Real(-2.0f, 2.0f);
        for (int i = 0; i < n; ++i) {
            float angle = 6.2831853f * (static_cast<float>(i) + Real(0.0f, 0.8f)) / n;
            float radius = Real(0.5f, 3.0f);
            Point3 p(radius * std::cos(angle), radius * std::sin(angle), 0.0f);
            if (kind == 1)
                p.z = a * p.x + b * p.y;
            if (kind == 2)
                p.z = Real(-50.0f, 50.0f);
            if (kind == 3 && i > 0 && Int(0, 1) == 0) {
                // Nearly or exactly above the previous corner: a steep edge.
                p = outline[i - 1].p +
                    Point3(Real(-1e-3f, 1e-3f), Real(-1e-3f, 1e-3f), Real(-30.0f, 30.0f));
                if (Int(0, 3) == 0)
                    p.x = outline[i - 1].p.x;
            }
            outline.Append(PolyPt(p));
        }
        outline.Close();
        return outline;
    }

    PolyShape Shape(const PolyLine& outline) {
        PolyShape shape;
        int lines = Int(0, 3);
        for (int l = 0; l < lines; ++l) {
            PolyLine& line = shape.NewLine();
            int n = Int(1, longest);
            for (int j = 0; j < n; ++j) line.Append(PolyPt(ShapePoint(outline, line)));
            if (Int(0, 1) == 0)
                line.Close();
        }
        return shape;
    }

private:
    Point3 ShapePoint(const PolyLine& outline, const PolyLine& line) {
        int m = outline.numPts;
        int k = Int(0, m - 1);
        const Point3& p = outline[k].p;
        const Point3& q = outline[(k + 1) % m].p;
        switch (Int(0, 8)) {
            case 0:  // on an edge, at its own height
                return p + (q - p) * Real(0.0f, 1.0f);
            case 1:  // above or below an edge
                return p + (q - p) * Real(0.0f, 1.0f) + Point3(0.0f, 0.0f, Real(-200.0f, 200.0f));
            case 2:  // a corner, or nearly
                return p + Point3(Real(-1e-6f, 1e-6f), Real(-1e-6f, 1e-6f), Real(-1.0f, 1.0f)) *
                               static_cast<float>(Int(0, 1));
            case 3:  // far along an edge's line
                return p + (q - p) * Real(-40.0f, 40.0f) + Point3(0.0f, 0.0f, Real(-5.0f, 5.0f));
            case 4:  // far away
                return Point3(Real(-60.0f, 60.0f), Real(-60.0f, 60.0f), Real(-60.0f, 60.0f));
            case 5:  // close to the previous point, or straight above it
                if (line.numPts > 0) {
                    const Point3& prev = line[line.numPts - 1].p;
                    return prev + Point3(Real(-1e-4f, 1e-4f) * Int(0, 1),
                                         Real(-1e-4f, 1e-4f) * Int(0, 1), Real(-80.0f, 80.0f));
                }
                return p;
            case 6:  // near an edge, slightly off it
                return p + (q - p) * Real(0.0f, 1.0f) +
                       Point3(Real(-0.01f, 0.01f), Real(-0.01f, 0.01f), Real(-3.0f, 3.0f));
            default:  // around the face
                return Point3(Real(-4.0f, 4.0f), Real(-4.0f, 4.0f), Real(-4.0f, 4.0f));
        }
    }

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    float Real(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }

    std::mt19937 rng;
    int fewest, most, longest;
};

::testing::AssertionResult SameLine(const PolyLine& got, const PolyLine& want) {
    if (got.numPts != want.numPts || got.flags != want.flags)
        return ::testing::AssertionFailure() << got.numPts << " points, expected " << want.numPts;
    for (int i = 0; i < got.numPts; ++i) {
        const PolyPt& g = got[i];
        const PolyPt& w = want[i];
        if (std::memcmp(&g.p, &w.p, sizeof(Point3)) != 0 || g.flags != w.flags ||
            g.aux1 != w.aux1 || g.aux2 != w.aux2)
            return ::testing::AssertionFailure() << "point " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameShape(const PolyShape& got, const PolyShape& want) {
    if (got.numLines != want.numLines)
        return ::testing::AssertionFailure() << "line count";
    for (int i = 0; i < got.numLines; ++i) {
        ::testing::AssertionResult same = SameLine(got[i], want[i]);
        if (!same)
            return same << " in line " << i;
    }
    return ::testing::AssertionSuccess();
}

// Marks each outline point so that copies can be told apart from coincident
// shape points.
void Mark(PolyLine& outline) {
    for (int i = 0; i < outline.numPts; ++i) outline[i].aux1 = 1000u + static_cast<DWORD>(i);
}

// What the comparisons below saw, so that each test can insist on every outcome.
struct Outcomes {
    int insertedIntoOutline = 0;
    int insertedIntoShape = 0;
    int cut = 0;
    int uncut = 0;
};

// Runs the overlay, culled and exhaustive, on one outline and shape.
::testing::AssertionResult SameAsExhaustive(const PolyLine& outline, const PolyShape& shape,
                                            Outcomes& seen) {
    if (ShapeCutsOutline(outline, shape) != ReferenceShapeCutsOutline(outline, shape))
        return ::testing::AssertionFailure() << "decision before the insertions";

    PolyLine gotOutline = outline;
    PolyLine wantOutline = outline;
    AddShapePointsToOutline(gotOutline, shape);
    ReferenceAddShapePointsToOutline(wantOutline, shape);
    ::testing::AssertionResult same = SameLine(gotOutline, wantOutline);
    if (!same)
        return same << " in the outline";

    PolyShape gotShape = shape;
    PolyShape wantShape = shape;
    AddOutlinePointsToShape(gotShape, wantOutline);
    ReferenceAddOutlinePointsToShape(wantShape, wantOutline);
    same = SameShape(gotShape, wantShape);
    if (!same)
        return same;

    bool cuts = ShapeCutsOutline(wantOutline, wantShape);
    if (cuts != ReferenceShapeCutsOutline(wantOutline, wantShape))
        return ::testing::AssertionFailure() << "decision after the insertions";

    seen.insertedIntoOutline += wantOutline.numPts > outline.numPts;
    for (int i = 0; i < shape.numLines; ++i)
        seen.insertedIntoShape += wantShape[i].numPts > shape[i].numPts;
    (cuts ? seen.cut : seen.uncut) += 1;
    return ::testing::AssertionSuccess();
}

// Compares the culled and the exhaustive walks on trials outlines and shapes from
// input; each outcome must occur more than least times for the comparison to mean
// anything.
void CompareOnAwkwardInput(AwkwardInput& input, int trials, int least) {
    Outcomes seen;
    for (int trial = 0; trial < trials; ++trial) {
        PolyLine outline = input.Outline();
        Mark(outline);
        PolyShape shape = input.Shape(outline);
        ASSERT_TRUE(SameAsExhaustive(outline, shape, seen)) << "trial " << trial;
    }
    EXPECT_GT(seen.insertedIntoOutline, least);
    EXPECT_GT(seen.insertedIntoShape, least / 2);
    EXPECT_GT(seen.cut, least);
    EXPECT_GT(seen.uncut, least);
}

TEST(OverlayCulling, SameOutlinesShapesAndDecisionsAsExhaustiveWalks) {
    AwkwardInput input(20240611u);
    CompareOnAwkwardInput(input, 20000, 1000);
}

// Outlines that took in many shape points and shapes of many runs: the walks then
// try runs against the whole outline's bounds before each edge, points against
// blocks of edges, and segments' own bounds before a look along every edge.
TEST(OverlayCulling, SameAsExhaustiveWalksOnLongOutlinesAndShapes) {
    AwkwardInput input(20261208u, 9, 20, 40);
    CompareOnAwkwardInput(input, 200, 30);
}

// A shape projected onto the face lies in the face's plane, up to rounding: the
// culling then bounds the reach by the plane. Planes from flat to beyond the
// steepest the bound takes, points on them in float, some nudged off by a little.
TEST(OverlayCulling, SameAsExhaustiveWalksForShapesInTheFacesPlane) {
    AwkwardInput input(20241207u);
    std::mt19937 rng(7u);
    auto real = [&](float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(rng);
    };
    const float steepness[] = {0.0f, 0.5f, 3.0f, 40.0f, 250.0f, 600.0f};
    Outcomes seen;
    for (int trial = 0; trial < 20000; ++trial) {
        float steep = steepness[trial % 6];
        float a = real(-steep, steep);
        float b = real(-steep, steep);
        float nudge = trial % 5 == 0 ? real(0.0f, 1e-3f) : 0.0f;
        auto onPlane = [&](Point3& p) { p.z = a * p.x + b * p.y + nudge * real(-1.0f, 1.0f); };
        PolyLine outline = input.Outline();
        for (int i = 0; i < outline.numPts; ++i) onPlane(outline[i].p);
        Mark(outline);
        PolyShape shape = input.Shape(outline);
        for (int l = 0; l < shape.numLines; ++l)
            for (int j = 0; j < shape[l].numPts; ++j) onPlane(shape[l][j].p);
        ASSERT_TRUE(SameAsExhaustive(outline, shape, seen)) << "trial " << trial;
    }
    EXPECT_GT(seen.insertedIntoOutline, 1000);
    EXPECT_GT(seen.insertedIntoShape, 500);
    EXPECT_GT(seen.cut, 1000);
    EXPECT_GT(seen.uncut, 1000);
}

}  // namespace
