// The planar graph of one face: the shape segments that reach the outline, tagged as
// in their whole polyline.
#include "facecut/input/triangulation_input.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "shape_builders.h"

namespace {

double TagAt(const triangulateio& in, double x) {
    for (int p = 0; p < in.numberofpoints; ++p)
        if (in.pointlist[2 * p] == x)
            return in.pointattributelist[2 * p + 1];
    return 99.0;
}

TEST(TriangulationInput, TakesOnlyTheRunsOfSegmentsThatReachTheOutline) {
    unsetenv("SLITFORM_DRIVE_D");
    FaceCutState state;
    state.outline = MakeSquare(0, 0, 1, 1);
    state.cornerSpacing = 1.0;
    state.frameShape = MakeShape({
        MakeLine({Point3(-10, 0.5f, 0), Point3(-5, 0.5f, 0), Point3(-0.2f, 0.4f, 0),
                  Point3(1.2f, 0.6f, 0), Point3(5, 0.5f, 0), Point3(10, 0.5f, 0)},
                 false),
        MakeSquare(20, 20, 21, 21),                                       // far away: left out
        MakeLine({Point3(0.5f, 0.3f, 0), Point3(0.7f, 0.2f, 0)}, false),  // wholly inside
    });
    FaceTriangulation tri;
    BuildTriangulationInput(state, Welding(0.001f), tri);
    const triangulateio& in = tri.in;
    // The square's 4 corners, the 2 points of the first line's one reaching segment
    // (from x = -0.2 to 1.2), the 2 of the last line.
    ASSERT_EQ(in.numberofpoints, 8);
    EXPECT_EQ(in.numberofsegments, 4 + 1 + 1);
    // Where the run is cut off its points keep their inner tag; the last line's ends
    // are polyline ends.
    EXPECT_EQ(TagAt(in, -0.2f), 1.0);
    EXPECT_EQ(TagAt(in, 1.2f), 1.0);
    EXPECT_EQ(TagAt(in, 0.5f), -2.0);
    EXPECT_EQ(TagAt(in, 0.7f), -2.0);
    EXPECT_EQ(TagAt(in, -5.0), 99.0);
    EXPECT_EQ(TagAt(in, -10.0), 99.0);
    EXPECT_EQ(TagAt(in, 20.0), 99.0);
}

// A closed polyline whose reaching run passes its first point stays one run.
TEST(TriangulationInput, AClosedPolylinesRunMayPassItsFirstPoint) {
    unsetenv("SLITFORM_DRIVE_D");
    FaceCutState state;
    state.outline = MakeSquare(0, 0, 1, 1);
    state.cornerSpacing = 1.0;
    state.frameShape =
        MakeShape({MakeLine({Point3(0.5f, 0.2f, 0), Point3(0.8f, 0.5f, 0), Point3(9, 9, 0),
                             Point3(8, 9, 0), Point3(0.2f, 0.5f, 0)},
                            true)});
    FaceTriangulation tri;
    BuildTriangulationInput(state, Welding(0.001f), tri);
    // Segments (0.2,0.5)->(0.5,0.2)->(0.8,0.5) and the two leaving for (9, 9) and (8, 9)
    // reach; (9,9)->(8,9) does not.
    EXPECT_EQ(tri.in.numberofpoints, 4 + 5);
    EXPECT_EQ(tri.in.numberofsegments, 4 + 4);
    EXPECT_EQ(TagAt(tri.in, 0.5f), -2.0);  // the polyline's first point
    EXPECT_EQ(TagAt(tri.in, 9.0), 1.0);
}

}  // namespace
