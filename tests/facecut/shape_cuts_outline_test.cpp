#include "facecut/prepare/shape_cuts_outline.h"

#include <gtest/gtest.h>

#include "shape_builders.h"

namespace {

bool Cuts(const PolyLine& line) {
    return ShapeCutsOutline(MakeSquare(0, 0, 1, 1), MakeShape({line}));
}

TEST(ShapeCutsOutline, LineWhollyInsideCuts) {
    EXPECT_TRUE(Cuts(MakeLine({Point3(0.2f, 0.2f, 0), Point3(0.8f, 0.3f, 0)}, false)));
    EXPECT_FALSE(ShapeCutsOutline(MakeSquare(0, 0, 1, 1), PolyShape()));
}

TEST(ShapeCutsOutline, ProperCrossingCutsTouchingDoesNot) {
    EXPECT_TRUE(Cuts(MakeLine({Point3(0.5f, -1, 0), Point3(0.5f, 2, 0)}, false)));
    // Through a corner only.
    EXPECT_FALSE(Cuts(MakeLine({Point3(-1, 1, 0), Point3(1, -1, 0)}, false)));
    // Along an edge, overlapping it: parallel.
    EXPECT_FALSE(Cuts(MakeLine({Point3(-1, 0, 0), Point3(2, 0, 0)}, false)));
    // Ending on an edge from outside.
    EXPECT_FALSE(Cuts(MakeLine({Point3(0.5f, -1, 0), Point3(0.5f, 0, 0)}, false)));
}

TEST(ShapeCutsOutline, FractionAlongTheSegmentMustLieWithinLimits) {
    // The segment's end lies past the edge by 0.00005 of its length (mu 0.99995),
    // and as the last point of an open line it is not tested for being inside.
    EXPECT_FALSE(Cuts(MakeLine({Point3(0.5f, -1, 0), Point3(0.5f, 0.00005f, 0)}, false)));
    EXPECT_TRUE(Cuts(MakeLine({Point3(0.5f, -1, 0), Point3(0.5f, 0.0005f, 0)}, false)));
    // Starting outside, 0.00005 of its length before the top edge (mu 0.00005),
    // and ending inside.
    EXPECT_FALSE(Cuts(MakeLine({Point3(0.5f, 1.00005f, 0), Point3(0.5f, 0.00005f, 0)}, false)));
    EXPECT_TRUE(Cuts(MakeLine({Point3(0.5f, 1.0005f, 0), Point3(0.5f, 0.0005f, 0)}, false)));
}

TEST(ShapeCutsOutline, FractionAlongTheEdgeMustLieWithinLimits) {
    // Crossing the bottom edge 0.00005 from its end (1, 0): sigma 0.00005. The
    // right edge is parallel, the top edge is never reached.
    EXPECT_FALSE(Cuts(MakeLine({Point3(0.99995f, -1, 0), Point3(0.99995f, 0.5f, 0)}, false)));
    EXPECT_TRUE(Cuts(MakeLine({Point3(0.9995f, -1, 0), Point3(0.9995f, 0.5f, 0)}, false)));
}

TEST(ShapeCutsOutline, LastPointOfAnOpenLineIsNotTested) {
    // The only point inside is the last, reached through the corner (0, 0).
    PolyLine line = MakeLine({Point3(-1, -1, 0), Point3(0.5f, 0.5f, 0)}, false);
    EXPECT_FALSE(Cuts(line));
    line.Close();
    EXPECT_TRUE(Cuts(line));
}

TEST(ShapeCutsOutline, OnePointLines) {
    EXPECT_FALSE(Cuts(MakeLine({Point3(0.5f, 0.5f, 0)}, false)));
    EXPECT_TRUE(Cuts(MakeLine({Point3(0.5f, 0.5f, 0)}, true)));
    EXPECT_FALSE(Cuts(MakeLine({Point3(1.5f, 0.5f, 0)}, true)));
}

// A piece from one outline point to another cuts the face when its midpoint lies
// strictly inside; along an edge, or outside a concave corner, it does not. (The
// lower left corner of a square counts as inside for the even-odd rule, so the
// pieces here start elsewhere.)
TEST(ShapeCutsOutline, PieceBetweenTwoOutlinePointsCutsWhenItRunsThroughTheFace) {
    EXPECT_TRUE(Cuts(MakeLine({Point3(1, 0, 0), Point3(0, 1, 0)}, false)));
    EXPECT_FALSE(Cuts(MakeLine({Point3(1, 0, 0), Point3(1, 1, 0)}, false)));
    PolyLine inserted = MakeLine(
        {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 0.5f, 0), Point3(1, 1, 0), Point3(0, 1, 0)},
        true);
    EXPECT_TRUE(ShapeCutsOutline(
        inserted, MakeShape({MakeLine({Point3(0, 1, 0), Point3(1, 0.5f, 0)}, false)})));
    PolyLine l = MakeLine({Point3(0, 0, 0), Point3(2, 0, 0), Point3(2, 1, 0), Point3(1, 1, 0),
                           Point3(1, 2, 0), Point3(0, 2, 0)},
                          true);
    EXPECT_FALSE(
        ShapeCutsOutline(l, MakeShape({MakeLine({Point3(2, 1, 0), Point3(1, 2, 0)}, false)})));
    EXPECT_TRUE(
        ShapeCutsOutline(l, MakeShape({MakeLine({Point3(2, 0, 0), Point3(1, 1, 0)}, false)})));
    // Within the overlay's sine tolerance of an edge the piece lies on it.
    PolyLine nearEdge = MakeLine({Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 0.0005f, 0),
                                  Point3(1, 0.005f, 0), Point3(1, 1, 0), Point3(0, 1, 0)},
                                 true);
    EXPECT_FALSE(ShapeCutsOutline(
        nearEdge, MakeShape({MakeLine({Point3(1, 0.0005f, 0), Point3(0, 0, 0)}, false)})));
    EXPECT_TRUE(ShapeCutsOutline(
        nearEdge, MakeShape({MakeLine({Point3(1, 0.005f, 0), Point3(0, 0, 0)}, false)})));
}

}  // namespace
