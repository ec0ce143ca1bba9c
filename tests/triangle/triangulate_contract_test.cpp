#include <gtest/gtest.h>

#include "triangle.h"

TEST(TriangulateContract, Smoke) {
    double points[] = {0, 0, 1, 0, 1, 1, 0, 1};
    int segments[] = {0, 1, 1, 2, 2, 3, 3, 0};
    triangulateio in{};
    in.pointlist = points;
    in.numberofpoints = 4;
    in.segmentlist = segments;
    in.numberofsegments = 4;
    triangulateio out{};
    char switches[] = "zpq27Q";
    triangulate(switches, &in, &out, nullptr);
    EXPECT_EQ(triangulate_last_error(), 0);
    EXPECT_GT(out.numberoftriangles, 0);
}
