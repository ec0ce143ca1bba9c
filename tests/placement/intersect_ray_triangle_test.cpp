#include "placement/intersect_ray_triangle.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const Point3 kT0(0.0f, 0.0f, 0.0f);
const Point3 kT1(1.0f, 0.0f, 0.0f);
const Point3 kT2(0.0f, 1.0f, 0.0f);
const Point3 kDown(0.0f, 0.0f, -1.0f);

int Cast(const Point3& origin, const Point3& direction, Point3& hit) {
    return IntersectRayTriangle(SnapRay{origin, direction}, kT0, kT1, kT2, hit);
}

}  // namespace

TEST(IntersectRayTriangle, LineMeetsTriangleOnBothSidesOfOrigin) {
    Point3 hit;
    ASSERT_EQ(Cast(Point3(0.25f, 0.25f, 5.0f), kDown, hit), 1);
    EXPECT_EQ(hit, Point3(0.25f, 0.25f, 0.0f));
    // Behind the surface, and with the direction reversed: still the same point.
    ASSERT_EQ(Cast(Point3(0.25f, 0.25f, -3.0f), kDown, hit), 1);
    EXPECT_EQ(hit, Point3(0.25f, 0.25f, 0.0f));
    ASSERT_EQ(Cast(Point3(0.25f, 0.25f, 5.0f), -kDown, hit), 1);
    EXPECT_EQ(hit, Point3(0.25f, 0.25f, 0.0f));
}

TEST(IntersectRayTriangle, BorderCountsAsInside) {
    const Point3 border[] = {{0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f},
                             {0.5f, 0.0f, 0.0f}, {0.0f, 0.5f, 0.0f}, {0.5f, 0.5f, 0.0f}};
    for (const Point3& p : border) {
        Point3 hit;
        EXPECT_EQ(Cast(p + Point3(0.0f, 0.0f, 2.0f), kDown, hit), 1) << p.x << ", " << p.y;
    }
    const Point3 outside[] = {
        {0.5f, -0.001f, 0.0f}, {-0.001f, 0.5f, 0.0f}, {0.501f, 0.5f, 0.0f}, {1.001f, 0.0f, 0.0f}};
    for (const Point3& p : outside) {
        Point3 hit;
        EXPECT_EQ(Cast(p + Point3(0.0f, 0.0f, 2.0f), kDown, hit), 0) << p.x << ", " << p.y;
    }
}

// A small triangle of fine shape is hit whatever the units: a UV sphere of radius 1 with
// 200k faces is made of triangles with legs near 0.007 (|n| about 5e-5). Degenerate are
// triangles both small in area and thin in shape.
TEST(IntersectRayTriangle, DegenerateTrianglesAreSmallAndThin) {
    const Point3 sentinel(7.0f, 7.0f, 7.0f);
    Point3 hit = sentinel;
    const SnapRay ray{Point3(0.0002f, 0.0002f, 1.0f), kDown};
    ASSERT_EQ(IntersectRayTriangle(ray, kT0, kT1 * 0.001f, kT2 * 0.001f, hit), 1);
    EXPECT_NEAR(hit.z, 0.0f, 1e-9f);
    // Legs of 0.001 at an angle whose sine is 0.0005: not hit, hit left unwritten.
    hit = sentinel;
    EXPECT_EQ(IntersectRayTriangle(ray, kT0, kT1 * 0.001f, Point3(0.001f, 0.0000005f, 0.0f), hit),
              0);
    EXPECT_EQ(hit, sentinel);
    // A large sliver of the same shape keeps its absolute area, and is hit.
    const SnapRay sliverRay{Point3(0.9f, 0.0004f, 1.0f), kDown};
    EXPECT_EQ(IntersectRayTriangle(sliverRay, kT0, kT1 * 2.0f, Point3(2.0f, 0.001f, 0.0f), hit), 1);
    // All three corners on one line.
    EXPECT_EQ(IntersectRayTriangle(ray, kT0, kT1, kT1 * 2.0f, hit), 0);
}

TEST(IntersectRayTriangle, NearParallelPlaneIsSkipped) {
    // |n| = 1 (area 0.5); n . D = 0.00005 is below the tolerance, 0.0002 is not.
    const Point3 target(0.25f, 0.25f, 0.0f);
    Point3 hit;
    const Point3 grazing(1.0f, 0.0f, 0.00005f);
    EXPECT_EQ(Cast(target - grazing, grazing, hit), 0);
    const Point3 shallow(1.0f, 0.0f, 0.0002f);
    ASSERT_EQ(Cast(target - shallow, shallow, hit), 1);
    EXPECT_NEAR(hit.x, 0.25f, 1e-4f);
    EXPECT_NEAR(hit.z, 0.0f, 1e-6f);
    // The same angles on a triangle 1000 times smaller: the test follows |n|.
    const SnapRay grazingSmall{Point3(0.00025f, 0.00025f, 0.0f) - grazing, grazing};
    EXPECT_EQ(IntersectRayTriangle(grazingSmall, kT0, kT1 * 0.001f, kT2 * 0.001f, hit), 0);
    const SnapRay shallowSmall{Point3(0.00025f, 0.00025f, 0.0f) - shallow, shallow};
    EXPECT_EQ(IntersectRayTriangle(shallowSmall, kT0, kT1 * 0.001f, kT2 * 0.001f, hit), 1);
}

TEST(IntersectRayTriangle, NotANumberOrInfinityMisses) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Point3 hit;
    EXPECT_EQ(Cast(Point3(nan, 0.25f, 1.0f), kDown, hit), 0);
    EXPECT_EQ(Cast(Point3(0.25f, 0.25f, inf), kDown, hit), 0);
    EXPECT_EQ(Cast(Point3(0.25f, 0.25f, 1.0f), Point3(0.0f, nan, -1.0f), hit), 0);
    EXPECT_EQ(Cast(Point3(0.25f, 0.25f, 1.0f), Point3(0.0f, 0.0f, 0.0f), hit), 0);
    const SnapRay ray{Point3(0.25f, 0.25f, 1.0f), kDown};
    EXPECT_EQ(IntersectRayTriangle(ray, Point3(nan, 0.0f, 0.0f), kT1, kT2, hit), 0);
    EXPECT_EQ(IntersectRayTriangle(ray, Point3(0.0f, 0.0f, inf), kT1, kT2, hit), 0);
    EXPECT_EQ(IntersectRayTriangle(ray, kT0, Point3(inf, 0.0f, 0.0f), kT2, hit), 0);
}
