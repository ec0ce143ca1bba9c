// Planar graphs of the kinds the face cut builds, checked with the mesh checker.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "mesh_checker.h"
#include "pslg.h"

namespace tri_test {
namespace {

constexpr int kOutline = 2;
constexpr int kShape = 3;
constexpr double kPi = 3.14159265358979323846;
const double kAngles[] = {0.0, 20.7, 27.0, 33.0};

std::string switches_for(double angle) {
    char text[32];
    std::snprintf(text, sizeof(text), "zpq%.3fQ", angle);
    return text;
}

// The unit square as a face outline: points 0 to 3, segments 0 to 3.
Pslg unit_square() {
    Pslg pslg;
    pslg.add_point(0, 0, {0.0, -1.0});
    pslg.add_point(1, 0, {1.0, -1.0});
    pslg.add_point(1, 1, {2.0, -1.0});
    pslg.add_point(0, 1, {3.0, -1.0});
    pslg.add_polyline({0, 1, 2, 3}, true, kOutline);
    return pslg;
}

std::vector<int> add_circle(Pslg& pslg, double cx, double cy, double r, int count) {
    std::vector<int> corners;
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * kPi * i / count;
        corners.push_back(
            pslg.add_point(cx + r * std::cos(a), cy + r * std::sin(a), {0.5, i + 1.0}));
    }
    return corners;
}

double polygon_area(const Pslg& pslg, const std::vector<int>& corners) {
    double twice = 0.0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const int a = corners[i], b = corners[(i + 1) % corners.size()];
        twice += pslg.points[2 * a] * pslg.points[2 * b + 1] -
                 pslg.points[2 * b] * pslg.points[2 * a + 1];
    }
    return 0.5 * twice;
}

// Triangulates at every angle and checks; gives the point counts added at each.
std::vector<int> check_at_all_angles(Pslg pslg, double area) {
    std::vector<int> added;
    for (const double angle : kAngles) {
        Triangulated result;
        run_triangulate(pslg, switches_for(angle), result);
        EXPECT_EQ(result.error, TRIANGULATE_OK) << angle;
        CheckOptions options;
        options.min_angle = angle;
        options.limited = result.limited != 0;
        options.expected_area = area;
        EXPECT_EQ(result.limited, 0) << angle;
        EXPECT_EQ(describe(check_triangulation(pslg, result.out, options)), "")
            << "angle " << angle;
        added.push_back(result.out.numberofpoints - pslg.point_count());
    }
    return added;
}

TEST(TriangulateShapes, SquareCrossedByOpenPolylineWithEndsOutside) {
    Pslg pslg = unit_square();
    const int a = pslg.add_point(-0.5, 0.3, {0.0, -2.0});
    const int b = pslg.add_point(0.5, 0.6, {4.0, 1.0});
    const int c = pslg.add_point(1.5, 0.4, {8.0, -2.0});
    pslg.add_polyline({a, b, c}, false, kShape);
    const std::vector<int> added = check_at_all_angles(pslg, 1.0);
    EXPECT_EQ(added[0], 2);  // the two crossings with the outline

    Triangulated result;
    run_triangulate(pslg, "zpQ", result);
    // The parts of the polyline outside the square are eaten with the triangles there.
    for (int s = 0; s < result.out.numberofsegments; ++s) {
        for (int e = 0; e < 2; ++e) {
            const double x = result.out.pointlist[2 * result.out.segmentlist[2 * s + e]];
            EXPECT_GE(x, 0.0);
            EXPECT_LE(x, 1.0);
        }
    }
    // The crossing on the left edge takes its attributes along the outline edge (3, 0),
    // the lower-numbered segment: at y = 0.45, depth 3 + 0.55 * (0 - 3), tag -1.
    bool found = false;
    for (int p = pslg.point_count(); p < result.out.numberofpoints; ++p) {
        if (result.out.pointlist[2 * p] == 0.0) {
            found = true;
            EXPECT_NEAR(result.out.pointlist[2 * p + 1], 0.45, 1e-15);
            EXPECT_NEAR(result.out.pointattributelist[2 * p], 1.35, 1e-12);
            EXPECT_EQ(result.out.pointattributelist[2 * p + 1], -1.0);
        }
    }
    EXPECT_TRUE(found);
}

// A face at depth 0 crossed by a segment whose ends lie at depth -5, tagged as polyline
// ends: points that refinement puts on the segment inside the face lie between the two
// crossings, which carry the outline's depth and tag, and must take theirs, not the far
// ends'. Their depth would otherwise leave the surface and their tag make an outline-end edge.
TEST(TriangulateShapes, PointsRefinementPutsOnASegmentTakeTheirSubSegmentsAttributes) {
    Pslg pslg;
    for (const auto& corner : {std::pair<double, double>{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
        pslg.add_point(corner.first, corner.second, {0.0, -1.0});
    }
    pslg.add_polyline({0, 1, 2, 3}, true, kOutline);
    const int a = pslg.add_point(-0.5, 0.4, {-5.0, -2.0});
    const int b = pslg.add_point(1.5, 0.6, {-5.0, -2.0});
    pslg.add_segment(a, b, kShape);
    Triangulated result;
    run_triangulate(pslg, switches_for(27.0), result);
    ASSERT_EQ(result.error, TRIANGULATE_OK);
    CheckOptions options;
    options.min_angle = 27.0;
    EXPECT_EQ(describe(check_triangulation(pslg, result.out, options)), "");
    int inside_on_segment = 0;
    for (int p = pslg.point_count(); p < result.out.numberofpoints; ++p) {
        const double x = result.out.pointlist[2 * p], y = result.out.pointlist[2 * p + 1];
        const bool on_segment = std::fabs(y - (0.4 + 0.1 * (x + 0.5))) < 1e-12;
        if (!on_segment || x < 0.0 || x > 1.0)
            continue;
        ++inside_on_segment;
        EXPECT_NEAR(result.out.pointattributelist[2 * p], 0.0, 1e-12) << x;
        EXPECT_EQ(result.out.pointattributelist[2 * p + 1], -1.0) << x;
    }
    EXPECT_GE(inside_on_segment, 3);  // two crossings and at least one refinement point
}

TEST(TriangulateShapes, ClosedPolygonInsideSquare) {
    Pslg pslg = unit_square();
    pslg.add_polyline(add_circle(pslg, 0.5, 0.5, 0.3, 24), true, kShape);
    check_at_all_angles(pslg, 1.0);
}

TEST(TriangulateShapes, ClosedPolygonAroundSquareKeepsItsWholeInterior) {
    Pslg pslg = unit_square();
    const std::vector<int> circle = add_circle(pslg, 0.5, 0.5, 1.0, 32);
    pslg.add_polyline(circle, true, kShape);
    check_at_all_angles(pslg, polygon_area(pslg, circle));
}

TEST(TriangulateShapes, PolygonCrossingTheOutline) {
    Pslg pslg = unit_square();
    const std::vector<int> circle = add_circle(pslg, 1.0, 0.5, 0.3, 20);
    pslg.add_polyline(circle, true, kShape);
    // The square with the half disc beyond its right edge.
    check_at_all_angles(pslg, 1.0 + 0.5 * polygon_area(pslg, circle));
}

TEST(TriangulateShapes, ShapePointOnAnOutlineEdge) {
    Pslg pslg = unit_square();
    const int on_edge = pslg.add_point(0.5, 0.0, {7.0, -2.0});
    const int inside = pslg.add_point(0.5, 0.5, {7.0, 1.0});
    pslg.add_segment(on_edge, inside, kShape);
    check_at_all_angles(pslg, 1.0);

    Triangulated result;
    run_triangulate(pslg, "zpQ", result);
    // The bottom edge is split at the shape point, both halves keeping marker 2.
    int bottom_pieces = 0;
    for (int s = 0; s < result.out.numberofsegments; ++s) {
        const int a = result.out.segmentlist[2 * s], b = result.out.segmentlist[2 * s + 1];
        if (result.out.pointlist[2 * a + 1] == 0.0 && result.out.pointlist[2 * b + 1] == 0.0) {
            ++bottom_pieces;
            EXPECT_EQ(result.out.segmentmarkerlist[s], kOutline);
            EXPECT_TRUE(a == on_edge || b == on_edge);
        }
    }
    EXPECT_EQ(bottom_pieces, 2);
}

TEST(TriangulateShapes, DuplicatePointsStayListedAndTheLaterCopyIsUnused) {
    Pslg pslg = unit_square();
    const int first = pslg.add_point(0.25, 0.25, {1.0, 1.0});
    const int copy = pslg.add_point(0.25, 0.25, {9.0, 9.0});
    const int other = pslg.add_point(0.75, 0.75, {1.0, 2.0});
    pslg.add_segment(first, other, kShape);
    pslg.add_segment(copy, other, kShape);
    const int corner_copy = pslg.add_point(1, 1, {5.0, 5.0});
    pslg.add_segment(corner_copy, other, kShape);
    check_at_all_angles(pslg, 1.0);

    Triangulated result;
    run_triangulate(pslg, "zpq27Q", result);
    for (int i = 0; i < 3 * result.out.numberoftriangles; ++i) {
        EXPECT_NE(result.out.trianglelist[i], copy);
        EXPECT_NE(result.out.trianglelist[i], corner_copy);
    }
}

TEST(TriangulateShapes, DegenerateSegmentIsIgnored) {
    Pslg pslg = unit_square();
    const int p = pslg.add_point(0.5, 0.5, {1.0, 1.0});
    pslg.add_segment(p, p, kShape);
    check_at_all_angles(pslg, 1.0);
}

TEST(TriangulateShapes, OverlappingCollinearSegmentsTakeTheLowerNumberedMarker) {
    Pslg pslg = unit_square();
    const int a = pslg.add_point(0.1, 0.5, {0.0, 1.0});
    const int b = pslg.add_point(0.7, 0.5, {6.0, 2.0});
    const int c = pslg.add_point(0.3, 0.5, {0.0, 3.0});
    const int d = pslg.add_point(0.9, 0.5, {6.0, 4.0});
    pslg.add_segment(a, b, 7);
    pslg.add_segment(c, d, 8);
    // An outline edge overlapped by a shape segment along x = 1.
    const int e = pslg.add_point(1.0, 0.2, {0.0, 5.0});
    const int f = pslg.add_point(1.0, 0.8, {0.0, 6.0});
    pslg.add_segment(e, f, kShape);
    check_at_all_angles(pslg, 1.0);
}

TEST(TriangulateShapes, OneDegreeWedgesFinishWithFewPoints) {
    for (const double degrees : {1.0, 0.1, 0.001}) {
        Pslg pslg = unit_square();
        const double a = degrees * kPi / 180.0;
        const int apex = pslg.add_point(0.1, 0.5, {0.0, -2.0});
        const int upper =
            pslg.add_point(0.1 + 0.8 * std::cos(a / 2), 0.5 + 0.8 * std::sin(a / 2), {1.0, 1.0});
        const int lower =
            pslg.add_point(0.1 + 0.8 * std::cos(a / 2), 0.5 - 0.8 * std::sin(a / 2), {2.0, -2.0});
        pslg.add_polyline({upper, apex, lower}, false, kShape);
        const std::vector<int> added = check_at_all_angles(pslg, 1.0);
        for (const int count : added) EXPECT_LT(count, 100) << degrees;
    }
}

TEST(TriangulateShapes, NearlyCollinearPoints) {
    Pslg pslg = unit_square();
    std::vector<int> line;
    for (int i = 0; i <= 10; ++i) {
        const double x = 0.1 + 0.08 * i;
        line.push_back(pslg.add_point(x, 0.5 + ((i % 2) ? 1e-13 : -1e-13), {x, i + 1.0}));
    }
    pslg.add_polyline(line, false, kShape);
    // A point one rounding step off a segment's line.
    const int near = pslg.add_point(std::nextafter(0.5, 1.0), 0.5, {0.0, 1.0});
    const int far = pslg.add_point(0.5, 0.9, {0.0, 2.0});
    pslg.add_segment(near, far, kShape);
    check_at_all_angles(pslg, 1.0);
}

TEST(TriangulateShapes, HoleRemovesTheRegionAroundIt) {
    Pslg pslg = unit_square();
    const std::vector<int> circle = add_circle(pslg, 0.5, 0.5, 0.25, 16);
    pslg.add_polyline(circle, true, kShape);
    pslg.holes = {0.5, 0.5};
    Triangulated result;
    run_triangulate(pslg, "zpq27Q", result);
    EXPECT_EQ(result.error, TRIANGULATE_OK);
    EXPECT_NEAR(mesh_area(result.out, 0), 1.0 - polygon_area(pslg, circle), 1e-12);
    EXPECT_EQ(result.out.holelist, pslg.holes.data());
}

TEST(TriangulateShapes, SliverFaceEndsWithFewPoints) {
    // Its two tiny corners are input angles that no refinement can widen.
    Pslg pslg;
    pslg.add_point(0, 0);
    pslg.add_point(1, 0);
    pslg.add_point(0.5, 1e-7);
    pslg.add_polyline({0, 1, 2}, true, kOutline);
    Triangulated result;
    run_triangulate(pslg, "zpq33Q", result);
    EXPECT_EQ(result.error, TRIANGULATE_OK);
    EXPECT_EQ(result.limited, 0);
    EXPECT_LT(result.out.numberofpoints, 200);
    CheckOptions options;
    options.min_angle = 33.0;
    options.expected_area = 0.5e-7;
    EXPECT_EQ(describe(check_triangulation(pslg, result.out, options)), "");
}

TEST(TriangulateShapes, UnreachableAngleStopsAtThePointLimit) {
    Pslg pslg = unit_square();
    Triangulated result;
    run_triangulate(pslg, "zpq60Q", result);
    EXPECT_EQ(result.error, TRIANGULATE_OK);
    EXPECT_EQ(result.limited, 1);
    const int limit = 100 * 4 + 10000;
    EXPECT_GE(result.out.numberofpoints, 4 + limit);
    EXPECT_LE(result.out.numberofpoints, 4 + limit + 2);
    CheckOptions options;
    options.expected_area = 1.0;
    EXPECT_EQ(describe(check_triangulation(pslg, result.out, options)), "");

    // The next call on the thread starts with a clear report.
    Triangulated next;
    run_triangulate(pslg, "zpq20Q", next);
    EXPECT_EQ(next.limited, 0);
}

// Eight lines crossing within 1e-12 of one point, with three points there: rounded
// crossing points make pieces cross again, and the triangulation has to split them at
// crossings of its own. Pieces this short lie below the checker's resolution for telling
// which segment they run along, so only the segment checks are left out.
TEST(TriangulateShapes, CrossingsPackedBelowTheMergeDistance) {
    const double lines[8][4] = {
        {0.918314232003417, 0.22611461648536479, 0.081685767995830272, 0.77388538351506508},
        {0.82986955461573086, 0.12425264214122556, 0.17013044538488353, 0.87574735785870028},
        {0.3426190977224286, 0.025414652988605568, 0.65738090227764534, 0.97458534701215338},
        {0.8767011866189145, 0.17122011010368815, 0.12329881338111742, 0.82877988989534712},
        {0.00052424974765047372, 0.47710950174798628, 0.99947575025157853, 0.52289049825254619},
        {0.9452235889162196, 0.27245669451114546, 0.054776411084563104, 0.72754330548936164},
        {0.0047982335906501805, 0.43089710175938439, 0.99520176640885216, 0.56910289824138627},
        {0.98560609630382401, 0.38089198501923727, 0.014393903696504451, 0.61910801498129253},
    };
    Pslg pslg;
    for (int i = 0; i < 8; ++i) {
        const int a = pslg.add_point(lines[i][0], lines[i][1]);
        const int b = pslg.add_point(lines[i][2], lines[i][3]);
        pslg.add_segment(a, b, i + 1);
    }
    pslg.add_point(0.49999999999950395, 0.4999999999996923);
    pslg.add_point(0.5000000000003344, 0.4999999999995649);
    pslg.add_point(0.4999999999999955, 0.49999999999995748);
    Triangulated result;
    run_triangulate(pslg, "zpQ", result);
    ASSERT_EQ(result.error, TRIANGULATE_OK);
    std::vector<std::string> problems;
    for (const std::string& problem : check_triangulation(pslg, result.out, CheckOptions())) {
        if (problem.rfind("output segment", 0) != 0)
            problems.push_back(problem);
    }
    EXPECT_EQ(describe(problems), "");
}

// Three hundred lines through one point inside a square cross there 44,850 times:
// every crossing becomes that one point (pairing each crossing with every other there
// took seconds).
TEST(TriangulateShapes, ManyCrossingsAtOnePointBecomeOnePoint) {
    constexpr int kLines = 300;
    Pslg pslg = unit_square();
    for (int i = 0; i < kLines; ++i) {
        const double a = kPi * i / kLines;
        const int p = pslg.add_point(0.5 + 0.4 * std::cos(a), 0.5 + 0.4 * std::sin(a));
        const int q = pslg.add_point(0.5 - 0.4 * std::cos(a), 0.5 - 0.4 * std::sin(a));
        pslg.add_segment(p, q, kShape);
    }
    Triangulated result;
    run_triangulate(pslg, "zpQ", result);
    ASSERT_EQ(result.error, TRIANGULATE_OK);
    ASSERT_EQ(result.out.numberofpoints, 4 + 2 * kLines + 1);
    const double* centre = &result.out.pointlist[2 * (4 + 2 * kLines)];
    EXPECT_NEAR(centre[0], 0.5, 1e-12);
    EXPECT_NEAR(centre[1], 0.5, 1e-12);
    EXPECT_EQ(describe(check_triangulation(pslg, result.out, CheckOptions())), "");
}

}  // namespace
}  // namespace tri_test
