// The C interface: switches, numbering, output arrays, failures and the thread queries.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <thread>

#include "mesh_checker.h"
#include "pslg.h"

namespace tri_test {
namespace {

// A square with a diagonal polyline, markers 2 and 3.
Pslg square_with_diagonal() {
    Pslg pslg;
    pslg.add_point(0, 0, {0.0, -1.0});
    pslg.add_point(2, 0, {1.0, -1.0});
    pslg.add_point(2, 2, {2.0, -1.0});
    pslg.add_point(0, 2, {3.0, -1.0});
    pslg.add_polyline({0, 1, 2, 3}, true, 2);
    const int a = pslg.add_point(0.5, 0.5, {4.0, -2.0});
    const int b = pslg.add_point(1.5, 1.2, {5.0, -2.0});
    pslg.add_segment(a, b, 3);
    return pslg;
}

void expect_empty_failure(const Triangulated& result, int code) {
    EXPECT_EQ(result.error, code);
    EXPECT_EQ(result.out.numberoftriangles, 0);
    EXPECT_EQ(result.out.numberofpoints, 0);
    EXPECT_EQ(result.out.numberofsegments, 0);
    EXPECT_EQ(result.out.trianglelist, nullptr);
    EXPECT_EQ(result.out.pointlist, nullptr);
    EXPECT_EQ(result.out.numberofcorners, 3);
    EXPECT_STRNE(triangulate_last_error_message(), "no error");
}

TEST(TriangulateContract, SwitchesOutsideZpqQFail) {
    for (const char* switches :
         {"zpq27Qc", "zpqQe", "zpq2.7.1Q", "zpq.Q", "zpq61Q", "-zpQ", "zp Q"}) {
        Pslg pslg = square_with_diagonal();
        Triangulated result;
        run_triangulate(pslg, switches, result);
        expect_empty_failure(result, TRIANGULATE_BAD_SWITCHES);
    }
    Pslg pslg = square_with_diagonal();
    InputRecord record(pslg, 0);
    triangulateio out{};
    triangulate(nullptr, &record.in, &out, nullptr);
    EXPECT_EQ(triangulate_last_error(), TRIANGULATE_BAD_SWITCHES);
    EXPECT_EQ(out.trianglelist, nullptr);
}

TEST(TriangulateContract, BareQMeansTwentyDegrees) {
    Pslg pslg = square_with_diagonal();
    Triangulated bare;
    run_triangulate(pslg, "zpqQ", bare);
    ASSERT_EQ(bare.error, TRIANGULATE_OK);
    EXPECT_GE(smallest_angle(bare.out, 0), 20.0 - 1e-3);
    Triangulated twenty;
    run_triangulate(pslg, "zpq20Q", twenty);
    EXPECT_EQ(bare.out.numberofpoints, twenty.out.numberofpoints);
    Triangulated none;
    run_triangulate(pslg, "zpQ", none);
    EXPECT_LT(smallest_angle(none.out, 0), 20.0);
}

TEST(TriangulateContract, OneBasedNumberingWithoutZ) {
    Pslg pslg = square_with_diagonal();
    Triangulated zero;
    run_triangulate(pslg, "zpq27.000Q", zero);
    Triangulated one;
    run_triangulate(pslg, "pq27.000Q", one);
    ASSERT_EQ(one.error, TRIANGULATE_OK);
    ASSERT_EQ(one.out.numberoftriangles, zero.out.numberoftriangles);
    for (int i = 0; i < 3 * one.out.numberoftriangles; ++i) {
        EXPECT_EQ(one.out.trianglelist[i], zero.out.trianglelist[i] + 1);
    }
    for (int i = 0; i < 2 * one.out.numberofsegments; ++i) {
        EXPECT_EQ(one.out.segmentlist[i], zero.out.segmentlist[i] + 1);
    }
    CheckOptions options;
    options.base = 1;
    options.min_angle = 27.0;
    options.expected_area = 4.0;
    EXPECT_EQ(describe(check_triangulation(pslg, one.out, options)), "");
}

TEST(TriangulateContract, OutputArraysAndCopiedPointers) {
    Pslg pslg = square_with_diagonal();
    pslg.holes = {5.0, 5.0};  // outside: eats nothing
    InputRecord record(pslg, 0);
    double region[4] = {1.0, 1.0, 7.0, 0.0};
    record.in.regionlist = region;
    record.in.numberofregions = 1;
    int point_markers[6] = {10, 11, 12, 13, 14, 15};
    record.in.pointmarkerlist = point_markers;
    Triangulated result;
    char switches[] = "zpq27Q";
    triangulate(switches, &record.in, &result.out, nullptr);
    ASSERT_EQ(triangulate_last_error(), TRIANGULATE_OK);
    const triangulateio& out = result.out;
    EXPECT_EQ(out.holelist, pslg.holes.data());
    EXPECT_EQ(out.numberofholes, 1);
    EXPECT_EQ(out.regionlist, region);
    EXPECT_EQ(out.numberofregions, 1);
    EXPECT_EQ(out.numberofcorners, 3);
    EXPECT_EQ(out.numberofpointattributes, 2);
    EXPECT_EQ(out.neighborlist, nullptr);
    EXPECT_EQ(out.edgelist, nullptr);
    EXPECT_EQ(out.triangleattributelist, nullptr);
    EXPECT_NEAR(mesh_area(out, 0), 4.0, 1e-12);
    ASSERT_NE(out.pointmarkerlist, nullptr);
    for (int p = 0; p < 6; ++p) EXPECT_EQ(out.pointmarkerlist[p], point_markers[p]);
    // The caller may overwrite every marker (the face cut keeps its own map there).
    for (int p = 0; p < out.numberofpoints; ++p) out.pointmarkerlist[p] = -1;
}

TEST(TriangulateContract, MissingMarkersAndAttributes) {
    Pslg pslg;
    pslg.attribute_count = 0;
    pslg.add_point(0, 0);
    pslg.add_point(1, 0);
    pslg.add_point(0, 1);
    pslg.add_polyline({0, 1, 2}, true, 0);
    InputRecord record(pslg, 0);
    record.in.segmentmarkerlist = nullptr;
    Triangulated result;
    char switches[] = "zpq30Q";
    triangulate(switches, &record.in, &result.out, nullptr);
    ASSERT_EQ(triangulate_last_error(), TRIANGULATE_OK);
    EXPECT_EQ(result.out.pointattributelist, nullptr);
    EXPECT_GT(result.out.numberofsegments, 3);
    for (int s = 0; s < result.out.numberofsegments; ++s)
        EXPECT_EQ(result.out.segmentmarkerlist[s], 0);
}

TEST(TriangulateContract, WithoutPTheConvexHullIsTriangulatedAndSegmentsIgnored) {
    Pslg pslg = square_with_diagonal();
    pslg.segments[0] = 99;  // not read without p
    Triangulated result;
    run_triangulate(pslg, "zq25Q", result);
    ASSERT_EQ(result.error, TRIANGULATE_OK);
    EXPECT_EQ(result.out.numberofsegments, 0);
    EXPECT_NEAR(mesh_area(result.out, 0), 4.0, 1e-12);
    EXPECT_GE(smallest_angle(result.out, 0), 25.0 - 1e-3);
}

TEST(TriangulateContract, HugeAndTinyCoordinates) {
    for (const double scale : {1e300, 1e-300, 1e-310}) {
        Pslg pslg = square_with_diagonal();
        for (double& c : pslg.points) c *= scale;
        Triangulated result;
        run_triangulate(pslg, "zpq27Q", result);
        ASSERT_EQ(result.error, TRIANGULATE_OK) << scale;
        EXPECT_GT(result.out.numberoftriangles, 0);
        double largest = 0.0;
        for (int i = 0; i < 2 * result.out.numberofpoints; ++i) {
            ASSERT_TRUE(std::isfinite(result.out.pointlist[i]));
            largest = std::max(largest, std::fabs(result.out.pointlist[i]));
        }
        EXPECT_LE(largest, 2.0 * scale);
    }
}

TEST(TriangulateContract, MalformedInputFailsWithoutTriangles) {
    struct Case {
        const char* name;
        int code;
        void (*spoil)(Pslg&);
    };
    const Case cases[] = {
        {"segment past the last point", TRIANGULATE_BAD_SEGMENT,
         [](Pslg& p) { p.segments[9] = 6; }},
        {"negative segment point", TRIANGULATE_BAD_SEGMENT, [](Pslg& p) { p.segments[0] = -1; }},
        {"nan coordinate", TRIANGULATE_NOT_FINITE,
         [](Pslg& p) { p.points[3] = std::numeric_limits<double>::quiet_NaN(); }},
        {"infinite coordinate", TRIANGULATE_NOT_FINITE,
         [](Pslg& p) { p.points[8] = -std::numeric_limits<double>::infinity(); }},
        {"nan hole", TRIANGULATE_NOT_FINITE,
         [](Pslg& p) {
             p.holes = {std::numeric_limits<double>::quiet_NaN(), 0.0};
         }},
        {"two points", TRIANGULATE_TOO_FEW_POINTS,
         [](Pslg& p) {
             p.points.resize(4);
             p.attributes.resize(4);
             p.segments = {0, 1};
             p.markers = {2};
         }},
        {"all on a line", TRIANGULATE_COLLINEAR,
         [](Pslg& p) {
             for (int i = 0; i < p.point_count(); ++i) p.points[2 * i + 1] = 3.0 * p.points[2 * i];
         }},
        {"all in one place", TRIANGULATE_COLLINEAR,
         [](Pslg& p) {
             for (double& c : p.points) c = 1.5;
         }},
        // 317 x 317 segments crossing: past the 100000 crossings taken.
        {"a dense lattice", TRIANGULATE_TOO_MANY_CROSSINGS,
         [](Pslg& p) {
             for (int i = 0; i < 317; ++i) {
                 const double at = -0.99 + 1.98 * i / 316.0;
                 p.add_segment(p.add_point(at, -0.995), p.add_point(at, 0.995), 3);
                 p.add_segment(p.add_point(-0.995, at), p.add_point(0.995, at), 3);
             }
         }},
    };
    for (const Case& c : cases) {
        Pslg pslg = square_with_diagonal();
        c.spoil(pslg);
        Triangulated result;
        run_triangulate(pslg, "zpq27Q", result);
        SCOPED_TRACE(c.name);
        expect_empty_failure(result, c.code);
    }
    // One-based numbering has no point 0.
    Pslg pslg = square_with_diagonal();
    pslg.segments[0] = -1;  // becomes 0 when passed one-based
    Triangulated result;
    run_triangulate(pslg, "pq27Q", result);
    expect_empty_failure(result, TRIANGULATE_BAD_SEGMENT);
}

TEST(TriangulateContract, BrokenRecordsFail) {
    Pslg pslg = square_with_diagonal();
    {
        InputRecord record(pslg, 0);
        record.in.pointlist = nullptr;
        Triangulated result;
        char switches[] = "zpQ";
        triangulate(switches, &record.in, &result.out, nullptr);
        EXPECT_EQ(triangulate_last_error(), TRIANGULATE_BAD_RECORD);
    }
    {
        InputRecord record(pslg, 0);
        record.in.numberofsegments = -1;
        Triangulated result;
        char switches[] = "zpQ";
        triangulate(switches, &record.in, &result.out, nullptr);
        EXPECT_EQ(triangulate_last_error(), TRIANGULATE_BAD_RECORD);
    }
    {
        Triangulated result;
        char switches[] = "zpQ";
        triangulate(switches, nullptr, &result.out, nullptr);
        EXPECT_EQ(triangulate_last_error(), TRIANGULATE_BAD_RECORD);
        EXPECT_EQ(result.out.numberofpoints, 0);
    }
    InputRecord record(pslg, 0);
    char switches[] = "zpQ";
    triangulate(switches, &record.in, nullptr, nullptr);
    EXPECT_EQ(triangulate_last_error(), TRIANGULATE_BAD_RECORD);
    // A good call afterwards reports success again.
    Triangulated result;
    run_triangulate(pslg, "zpQ", result);
    EXPECT_EQ(result.error, TRIANGULATE_OK);
    EXPECT_STREQ(triangulate_last_error_message(), "no error");
}

TEST(TriangulateContract, EachThreadSeesItsOwnLastError) {
    int good_error = -1, bad_error = -1;
    std::thread good([&good_error] {
        for (int i = 0; i < 20; ++i) {
            Pslg pslg = square_with_diagonal();
            Triangulated result;
            run_triangulate(pslg, "zpq30Q", result);
            if (result.error != TRIANGULATE_OK)
                good_error = result.error;
        }
        if (good_error < 0)
            good_error = triangulate_last_error();
    });
    std::thread bad([&bad_error] {
        for (int i = 0; i < 20; ++i) {
            Pslg pslg = square_with_diagonal();
            pslg.segments[1] = 40;
            Triangulated result;
            run_triangulate(pslg, "zpq30Q", result);
        }
        bad_error = triangulate_last_error();
    });
    good.join();
    bad.join();
    EXPECT_EQ(good_error, TRIANGULATE_OK);
    EXPECT_EQ(bad_error, TRIANGULATE_BAD_SEGMENT);
}

}  // namespace
}  // namespace tri_test
