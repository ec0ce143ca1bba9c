// The row index of closed polylines against the plain even-odd test, on points chosen
// where rounding and ties decide: at vertex heights, on horizontal edges, on edges.
#include "facecut/closed_lines_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "facecut/point_in_polyline.h"
#include "shape_builders.h"

namespace {

TEST(ClosedLinesIndex, AnswersAsThePlainTestOnRandomShapesAndTiePoints) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    std::uniform_int_distribution<int> grid(-4, 4);
    for (int trial = 0; trial < 200; ++trial) {
        PolyShape shape;
        int lines = 1 + trial % 4;
        for (int l = 0; l < lines; ++l) {
            PolyLine line;
            int count = 1 + static_cast<int>(rng() % 40);
            for (int i = 0; i < count; ++i) {
                // Half the shapes on a coarse grid: many horizontal edges and shared heights.
                Point3 p = trial % 2 ? Point3(coordinate(rng), coordinate(rng), 0.0f)
                                     : Point3(static_cast<float>(grid(rng)),
                                              static_cast<float>(grid(rng)), 0.0f);
                if (trial % 17 == 3 && i == 0)
                    p.y = std::nanf("");
                if (trial % 19 == 4 && i == 1)
                    p.y = INFINITY;
                line.Append(PolyPt(p));
            }
            if (l != 1)
                line.Close();
            shape.Append(line);
        }
        ClosedLinesIndex index(shape);
        for (int q = 0; q < 200; ++q) {
            Point3 p(coordinate(rng), coordinate(rng), 0.0f);
            if (q % 3 == 0)
                p = Point3(static_cast<float>(grid(rng)), static_cast<float>(grid(rng)), 0.0f);
            if (q % 5 == 0 && shape[0].numPts > 0)
                p.y = shape[0][q % shape[0].numPts].p.y;
            if (q == 7)
                p.y = std::nanf("");
            ASSERT_EQ(index.Contains(p), PointInClosedLines(p, shape))
                << "trial " << trial << " point " << q;
        }
    }
}

TEST(ClosedLinesIndex, NestedLinesCancelAndOpenLinesNeverCount) {
    PolyShape shape = MakeShape({MakeSquare(0, 0, 10, 10), MakeSquare(2, 2, 8, 8),
                                 MakeLine({Point3(-5, 5, 0), Point3(15, 5, 0)}, false)});
    ClosedLinesIndex index(shape);
    EXPECT_TRUE(index.Contains(Point3(1, 5, 0)));
    EXPECT_FALSE(index.Contains(Point3(5, 5, 0)));
    EXPECT_FALSE(index.Contains(Point3(11, 5, 0)));
    EXPECT_FALSE(ClosedLinesIndex(PolyShape()).Contains(Point3(0, 0, 0)));
}

// Every edge of a long zig-zag reaches across the whole height: one entry per edge per
// row would be 10^10 entries, past any int count.
TEST(ClosedLinesIndex, EdgesAcrossEveryRowStayExact) {
    PolyLine zigzag;
    const int points = 300000;
    for (int i = 0; i < points; ++i)
        zigzag.Append(PolyPt(Point3(i * 0.001f, (i % 2) ? 1.0f : 0.0f, 0.0f)));
    zigzag.Append(PolyPt(Point3(points * 0.001f, -1.0f, 0.0f)));
    zigzag.Append(PolyPt(Point3(0.0f, -1.0f, 0.0f)));
    zigzag.Close();
    PolyShape shape = MakeShape({zigzag});
    ClosedLinesIndex index(shape);
    for (float y : {-0.5f, 0.0f, 0.25f, 0.999f, 1.0f})
        for (float x : {-1.0f, 0.0005f, 150.0f, 150.0005f, 299.9f, 400.0f}) {
            Point3 p(x, y, 0.0f);
            ASSERT_EQ(index.Contains(p), PointInClosedLines(p, shape)) << x << ", " << y;
        }
}

}  // namespace
