#include "facecut/point3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

int Position(const Point3d& p, const Point3d& a, const Point3d& b, bool flat = false) {
    return p.SegmentPosition(a, b, flat, 1e-10);
}

TEST(Point3dNormalize, ScalesToUnitLengthAndZeroesTinyVectors) {
    Point3d v(3.0, 0.0, 4.0);
    v.Normalize();
    EXPECT_DOUBLE_EQ(v.x, 0.6);
    EXPECT_DOUBLE_EQ(v.z, 0.8);

    Point3d tiny(5e-11, 5e-11, 0.0);
    tiny.Normalize();
    EXPECT_EQ(tiny.x, 0.0);
    EXPECT_EQ(tiny.y, 0.0);
    EXPECT_EQ(tiny.z, 0.0);
}

TEST(Point3dSegmentFlags, EndsAndDegenerateSegments) {
    Point3d a(0.0, 0.0, 0.0);
    Point3d b(1.0, 0.0, 0.0);
    EXPECT_EQ(Point3d(5e-11, 0.0, 0.0).SegmentFlags(a, b, false, 1e-10), 0xA00000u);
    EXPECT_EQ(Point3d(1.0, 5e-11, 0.0).SegmentFlags(a, b, false, 1e-10), 0xC00000u);
    // Within the tolerance of both ends of a very short segment: the start wins.
    Point3d shortEnd(3e-11, 0.0, 0.0);
    EXPECT_EQ(Position(Point3d(1e-11, 0.0, 0.0), a, shortEnd), SEG_POS_AT_START);
    // A segment shorter than the tolerance, the point elsewhere.
    EXPECT_EQ(Point3d(0.5, 0.5, 0.0).SegmentFlags(a, shortEnd, false, 1e-10), SEG_DEGENERATE);
    EXPECT_EQ(Position(Point3d(0.5, 0.5, 0.0), a, shortEnd), SEG_POS_NONE);
}

TEST(Point3dSegmentFlags, SidesAndPositionsAlongTheLine) {
    Point3d a(0.0, 0.0, 0.0);
    Point3d b(2.0, 0.0, 0.0);
    EXPECT_EQ(Point3d(1.0, 0.0, 0.0).SegmentFlags(a, b, false, 1e-10), SEG_WITHIN | SEG_ON_LINE);
    EXPECT_EQ(Point3d(1.0, 0.5, 0.0).SegmentFlags(a, b, false, 1e-10), SEG_WITHIN | SEG_LEFT);
    EXPECT_EQ(Point3d(3.0, -0.5, 0.0).SegmentFlags(a, b, false, 1e-10), SEG_AFTER | SEG_RIGHT);
    EXPECT_EQ(Position(Point3d(-1.0, 0.0, 0.0), a, b), SEG_POS_BEFORE);
    EXPECT_EQ(Position(Point3d(3.0, 0.0, 0.0), a, b), SEG_POS_AFTER);
    EXPECT_EQ(Position(Point3d(1.0, 0.5, 0.0), a, b), SEG_POS_LEFT);
    EXPECT_EQ(Position(Point3d(1.0, -0.5, 0.0), a, b), SEG_POS_RIGHT);
    EXPECT_EQ(Position(Point3d(1.0, 0.0, 0.0), a, b), SEG_POS_INSIDE);
}

TEST(Point3dSegmentFlags, OnLineBySineOrByDistance) {
    Point3d a(0.0, 0.0, 0.0);
    Point3d b(1.0, 0.0, 0.0);
    // Sine 0.0009 of the angle at a: on the line, though 0.00045 away from it.
    EXPECT_EQ(Position(Point3d(0.5, 0.00045, 0.0), a, b), SEG_POS_INSIDE);
    EXPECT_EQ(Position(Point3d(0.5, 0.00055, 0.0), a, b), SEG_POS_LEFT);
    // Sine 0.67 but within 1e-10 of the line: on it.
    EXPECT_EQ(Position(Point3d(1e-10, 0.9e-10, 0.0), a, b), SEG_POS_INSIDE);
    EXPECT_EQ(Position(Point3d(1e-10, 1.5e-10, 0.0), a, b), SEG_POS_LEFT);
}

TEST(Point3dSegmentFlags, NonFlatSineLooksAtXAndYOnly) {
    Point3d a(0.0, 0.0, 0.0);
    Point3d b(1.0, 0.0, 0.0);
    // Straight above the middle of the segment: inside it, whatever the height.
    EXPECT_EQ(Position(Point3d(0.5, 0.0, 1000.0), a, b), SEG_POS_INSIDE);
    // Far above and beside it: the sine of the normalised 3D vectors is small.
    EXPECT_EQ(Position(Point3d(0.5, 0.5, 1000.0), a, b), SEG_POS_INSIDE);
    EXPECT_EQ(Position(Point3d(0.5, 0.5, 1000.0), a, b, true), SEG_POS_LEFT);
    // A segment running almost along z takes a point half a unit away as on it.
    Point3d steep(0.001, 0.0, 1.0);
    EXPECT_EQ(Position(Point3d(0.0005, 0.5, 0.5), a, steep), SEG_POS_INSIDE);
    // The flat form ignores z in the ends and the length too.
    EXPECT_EQ(Position(Point3d(0.0, 0.0, 7.0), a, b, true), SEG_POS_AT_START);
    EXPECT_EQ(Position(Point3d(0.5, 0.0, 0.0), a, Point3d(0.0, 0.0, 3.0), true), SEG_POS_NONE);
}

TEST(Point3dSegmentFlags, PointThatIsNotANumberIsNowhere) {
    double nan = std::numeric_limits<double>::quiet_NaN();
    Point3d a(0.0, 0.0, 0.0);
    Point3d b(1.0, 0.0, 0.0);
    EXPECT_EQ(Position(Point3d(nan, 0.0, 0.0), a, b), SEG_POS_NONE);
    EXPECT_NE(Position(Point3d(0.5, 0.0, 0.0), a, Point3d(nan, nan, nan)), SEG_POS_INSIDE);
}

// The quick inside test must answer exactly as the position code does, ends, tiny
// and degenerate segments, points on the line's extension and non-numbers included.
TEST(Point3dStrictlyInside, AgreesWithTheFullClassification) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    int inside = 0;
    for (int trial = 0; trial < 200000; ++trial) {
        double scale = std::pow(10.0, static_cast<int>(rng() % 13) - 6);
        Point3d a(unit(rng) * scale, unit(rng) * scale, unit(rng) * scale);
        Point3d b(unit(rng) * scale, unit(rng) * scale, unit(rng) * scale);
        switch (rng() % 6) {
            case 0:
                b = a;
                break;  // degenerate
            case 1:
                b = Point3d(a.x + 1e-11, a.y, a.z);
                break;  // below tolerance
            case 2:
                b = Point3d(a.x + unit(rng) * 1e-3, a.y + unit(rng) * 1e-3, a.z);
                break;  // tiny
            default:
                break;
        }
        double t = unit(rng) * 1.5;
        Point3d p(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y),
                  a.z + t * (b.z - a.z) + unit(rng) * scale);
        switch (rng() % 8) {
            case 0:
                p = a;
                break;
            case 1:
                p = b;
                break;
            case 2:
                p.x += unit(rng) * 1e-3 * scale;
                break;  // near the line, off it
            case 3:
                p.y = rng() % 2 ? nan : inf;
                break;
            default:
                break;
        }
        for (bool flat : {false, true}) {
            bool full = Position(p, a, b, flat) == SEG_POS_INSIDE;
            ASSERT_EQ(p.StrictlyInside(a, b, flat, 1e-10), full)
                << "trial " << trial << (flat ? " flat" : "");
            inside += full;
        }
    }
    // The cases must reach the inside answer often enough to mean something.
    EXPECT_GT(inside, 10000);
}

}  // namespace
