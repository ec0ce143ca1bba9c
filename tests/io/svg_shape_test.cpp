// SVG drawings as spline shapes: every path command, the basic shapes,
// transforms, viewBox and units, y turned up, subpaths and their closing.
#include <gtest/gtest.h>

#include <cmath>

#include "io/read_shape.h"
#include "io/svg_shape_reader.h"
#include "io_test_files.h"

namespace {

std::string Svg(const std::string& body, const std::string& attributes = "") {
    return "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"" + attributes +
           ">\n" + body + "\n</svg>\n";
}

std::vector<Spline3D> Read(const std::string& text) {
    std::vector<Spline3D> splines;
    std::string error;
    EXPECT_TRUE(ReadSvgShape("test.svg", text, splines, error)) << error;
    return splines;
}

std::string ErrorOf(const std::string& text) {
    std::vector<Spline3D> splines;
    std::string error;
    EXPECT_FALSE(ReadSvgShape("test.svg", text, splines, error));
    EXPECT_TRUE(OneLineErrorNaming(error, "test.svg"));
    return error;
}

::testing::AssertionResult Near(const Point3& a, const Point3& b, float tolerance = 1e-4f) {
    if ((a - b).Length() <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.x << ", " << a.y << ", " << a.z << ") is not ("
                                         << b.x << ", " << b.y << ", " << b.z << ")";
}

// A straight knot: both handles on the knot.
::testing::AssertionResult Corner(const SplineKnot& k, const Point3& at) {
    if (k.knot == at && k.inVec == at && k.outVec == at)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "knot (" << k.knot.x << ", " << k.knot.y << ") in (" << k.inVec.x << ", " << k.inVec.y
           << ") out (" << k.outVec.x << ", " << k.outVec.y << ")";
}

TEST(SvgPath, StraightCommandsAbsoluteAndRelativeMakeCornersWithYUp) {
    std::vector<Spline3D> s = Read(Svg("<path d='M 10 10 L 20 10 H 30 V 20 l -5 5 h -5 v 5 z'/>"));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_TRUE(s[0].closed);
    const Point3 expected[] = {{10, -10, 0}, {20, -10, 0}, {30, -10, 0}, {30, -20, 0},
                               {25, -25, 0}, {20, -25, 0}, {20, -30, 0}};
    ASSERT_EQ(s[0].KnotCount(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_TRUE(Corner(s[0].knots[i], expected[i])) << i;
    EXPECT_TRUE(s[0].IsStraight(6));  // the closing segment
}

TEST(SvgPath, CurveCommandsBecomeKnotsWithHandles) {
    std::vector<Spline3D> s = Read(Svg(
        "<path d='M0 0 C 10 0 20 10 20 20 S 30 40 40 40 q 10 0 10 10 T 60 70 c 0 0 0 0 0 0'/>"));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_FALSE(s[0].closed);
    const std::vector<SplineKnot>& k = s[0].knots;
    ASSERT_EQ(k.size(), 5u);  // the empty curve at the end is dropped
    EXPECT_EQ(k[0].outVec, Point3(10, 0, 0));
    EXPECT_EQ(k[1].inVec, Point3(20, -10, 0));
    EXPECT_EQ(k[1].knot, Point3(20, -20, 0));
    EXPECT_EQ(k[1].outVec, Point3(20, -30, 0));  // S reflects the last handle
    EXPECT_EQ(k[2].inVec, Point3(30, -40, 0));
    EXPECT_EQ(k[2].knot, Point3(40, -40, 0));
    // q (50, 40) from (40, 40) to (50, 50): handles two thirds of the way to it.
    EXPECT_TRUE(Near(k[2].outVec, Point3(40 + 20.0f / 3, -40, 0)));
    EXPECT_TRUE(Near(k[3].inVec, Point3(50, -50 + 20.0f / 3, 0)));
    EXPECT_EQ(k[3].knot, Point3(50, -50, 0));
    // T reflects the quadratic control point: (50, 60).
    EXPECT_TRUE(Near(k[3].outVec, Point3(50, -50 - 20.0f / 3, 0)));
    EXPECT_TRUE(Near(k[4].inVec, Point3(60 - 20.0f / 3, -70 + 20.0f / 3, 0)));
    EXPECT_EQ(k[4].knot, Point3(60, -70, 0));
}

TEST(SvgPath, ArcsFollowTheirCircleOnTheSweepSide) {
    for (const char* d : {"M 0 0 A 10 10 0 0 1 20 0", "M 0 0 a 10 10 0 1 1 20 0"}) {
        SCOPED_TRACE(d);
        std::vector<Spline3D> s = Read(Svg(std::string("<path d='") + d + "'/>"));
        ASSERT_EQ(s.size(), 1u);
        ASSERT_GE(s[0].Segments(), 2);
        EXPECT_EQ(s[0].knots.front().knot, Point3(0, 0, 0));
        EXPECT_TRUE(Near(s[0].knots.back().knot, Point3(20, 0, 0)));
        float highest = -1e9f;
        for (int seg = 0; seg < s[0].Segments(); ++seg)
            for (float u : {0.0f, 0.25f, 0.5f, 0.75f}) {
                Point3 p = s[0].InterpBezier3D(seg, u);
                EXPECT_NEAR((p - Point3(10, 0, 0)).Length(), 10.0f, 0.01f);
                highest = std::max(highest, p.y);
            }
        // Sweep 1 turns clockwise on screen, through SVG's (10, -10): up, once y is flipped.
        EXPECT_NEAR(highest, 10.0f, 0.01f);
    }
}

TEST(SvgPath, ArcsWithAZeroRadiusAreLinesAndThoseEndingWhereTheyStartDrawNothing) {
    std::vector<Spline3D> s =
        Read(Svg("<path d='M 0 0 L 10 0 A 0 5 0 0 1 20 10 a 5 0 0 1 1 10 0 A 5 5 0 0 1 30 10 "
                 "a 5 5 0 1 0 0 0 L 40 10'/>"));
    ASSERT_EQ(s.size(), 1u);
    const Point3 expected[] = {{0, 0, 0}, {10, 0, 0}, {20, -10, 0}, {30, -10, 0}, {40, -10, 0}};
    ASSERT_EQ(s[0].KnotCount(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(Corner(s[0].knots[i], expected[i])) << i;
}

TEST(SvgPath, AnArcAfterZStartsAtTheClosedSubpathsStart) {
    std::vector<Spline3D> s = Read(Svg("<path d='M 0 0 L 10 10 L 0 10 z A 5 5 0 0 0 10 0'/>"));
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[1].knots.front().knot, Point3(0, 0, 0));
    EXPECT_TRUE(Near(s[1].knots.back().knot, Point3(10, 0, 0)));
    for (int seg = 0; seg < s[1].Segments(); ++seg)
        EXPECT_NEAR((s[1].InterpBezier3D(seg, 0.5f) - Point3(5, 0, 0)).Length(), 5.0f, 0.01f);
}

TEST(SvgPath, SubpathsBecomeSplinesClosedByZ) {
    std::vector<Spline3D> s =
        Read(Svg("<path d='M0 0 L10 0 L10 10 L0 0 Z M 20 20 L 30 20 M 40 40 M 50 50 L 50 60 z l 5 "
                 "0 l 0 5'/>"));
    ASSERT_EQ(s.size(), 4u);
    EXPECT_TRUE(s[0].closed);
    EXPECT_EQ(s[0].KnotCount(), 3);  // the last knot lay on the first
    EXPECT_FALSE(s[1].closed);
    EXPECT_EQ(s[1].KnotCount(), 2);  // the lone move to (40, 40) draws nothing
    EXPECT_TRUE(s[2].closed);
    EXPECT_FALSE(s[3].closed);  // drawing on after z starts at the closed subpath's start
    ASSERT_EQ(s[3].KnotCount(), 3);
    EXPECT_EQ(s[3].knots[0].knot, Point3(50, -50, 0));
    EXPECT_EQ(s[3].knots[2].knot, Point3(55, -55, 0));
}

TEST(SvgShapes, BasicShapesBecomeSplines) {
    std::vector<Spline3D> s =
        Read(Svg("<rect x='1' y='2' width='10' height='5'/>"
                 "<rect width='10' height='10' rx='2'/>"
                 "<circle cx='5' cy='5' r='3'/>"
                 "<ellipse cx='0' cy='0' rx='4' ry='2'/>"
                 "<line x1='0' y1='0' x2='3' y2='4'/>"
                 "<polyline points='0,0 1,0 1,1'/>"
                 "<polygon points='0 0 2 0 2 2 0 2'/>"));
    ASSERT_EQ(s.size(), 7u);
    EXPECT_TRUE(s[0].closed);
    ASSERT_EQ(s[0].KnotCount(), 4);
    EXPECT_TRUE(Corner(s[0].knots[0], Point3(1, -2, 0)));
    EXPECT_TRUE(Corner(s[0].knots[2], Point3(11, -7, 0)));
    EXPECT_TRUE(s[1].closed);
    EXPECT_EQ(s[1].KnotCount(), 12);  // four sides, four rounded corners of two curves each
    EXPECT_TRUE(s[2].closed);
    for (int seg = 0; seg < s[2].Segments(); ++seg)
        EXPECT_NEAR((s[2].InterpBezier3D(seg, 0.5f) - Point3(5, -5, 0)).Length(), 3.0f, 0.01f);
    EXPECT_TRUE(s[3].closed);
    for (const SplineKnot& k : s[3].knots)
        EXPECT_NEAR(k.knot.x * k.knot.x / 16 + k.knot.y * k.knot.y / 4, 1.0f, 1e-5f);
    EXPECT_FALSE(s[4].closed);
    ASSERT_EQ(s[4].KnotCount(), 2);
    EXPECT_TRUE(Corner(s[4].knots[1], Point3(3, -4, 0)));
    EXPECT_FALSE(s[5].closed);
    EXPECT_EQ(s[5].KnotCount(), 3);
    EXPECT_TRUE(s[6].closed);
    EXPECT_EQ(s[6].KnotCount(), 4);
}

TEST(SvgTransforms, GroupAndElementTransformsCompose) {
    std::vector<Spline3D> s = Read(Svg(
        "<g transform='translate(100 0)'>"
        "  <g transform='rotate(90)'><line x1='0' y1='0' x2='10' y2='0' transform='scale(2)'/></g>"
        "  <line x1='1' y1='1' x2='2' y2='1' transform='matrix(1 0 0 1 0 5) skewX(45)'/>"
        "</g>"));
    ASSERT_EQ(s.size(), 2u);
    EXPECT_TRUE(Near(s[0].knots[0].knot, Point3(100, 0, 0)));
    EXPECT_TRUE(Near(s[0].knots[1].knot, Point3(100, -20, 0)));  // (0, 20) in SVG
    EXPECT_TRUE(Near(s[1].knots[0].knot, Point3(102, -6, 0)));
    EXPECT_TRUE(Near(s[1].knots[1].knot, Point3(103, -6, 0)));
}

TEST(SvgViewport, ViewBoxScalesAndUnitsConvert) {
    // 20 by 10 user units shown in 200 by 100 pixels.
    std::vector<Spline3D> s =
        Read(Svg("<path d='M 0 0 L 20 10'/>", " width='200' height='100' viewBox='0 0 20 10'"));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_TRUE(Near(s[0].knots[1].knot, Point3(200, -100, 0)));

    // Millimetres: 96 pixels to the inch.
    s = Read(Svg("<path d='M 0 0 L 10 0'/>", " width='10mm' height='10mm' viewBox='0 0 10 10'"));
    EXPECT_TRUE(Near(s[0].knots[1].knot, Point3(10 * 96 / 25.4f, 0, 0), 1e-3f));
    s = Read(Svg("<rect width='1in' height='2cm'/>"));
    EXPECT_TRUE(Near(s[0].knots[2].knot, Point3(96, -2 * 96 / 2.54f, 0), 1e-3f));

    // Without a size, the viewBox's own scale; its origin moves to 0.
    s = Read(Svg("<path d='M 10 10 L 30 20'/>", " viewBox='10 10 40 20'"));
    EXPECT_TRUE(Near(s[0].knots[0].knot, Point3(0, 0, 0)));
    EXPECT_TRUE(Near(s[0].knots[1].knot, Point3(20, -10, 0)));

    // A nested svg element places its own viewport.
    s =
        Read(Svg("<svg x='5' y='5' width='10' height='10' viewBox='0 0 1 1'>"
                 "<path d='M 0 0 L 1 1'/></svg>"));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_TRUE(Near(s[0].knots[1].knot, Point3(15, -15, 0)));
}

TEST(SvgContent, DrawsOnlyShapesOutsideDefsTextAndOtherNamespaces) {
    std::vector<Spline3D> s = Read(
        Svg("<defs><path d='M 0 0 L 1 1'/></defs>"
            "<text x='0' y='0'>A</text>"
            "<title>name</title>"
            "<editor:layer xmlns:editor='urn:example'><editor:path d='M 0 0 L 9 9'/></editor:layer>"
            "<path d='M 0 0 L 2 2' data-note='kept' editor:id='3' xmlns:editor='urn:example'/>"
            "<blink/>",
            " width='50' height='50'"));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].knots[1].knot, Point3(2, -2, 0));
}

TEST(SvgErrors, EachNamesTheFileTheLineAndTheProblem) {
    EXPECT_NE(ErrorOf("<svg width='10'><path d='M 0 0 L 1 1'/></svg>").find("xmlns"),
              std::string::npos);
    EXPECT_NE(ErrorOf(Svg("<path d='M 0 0 L 1 1'>")).find("bad XML"), std::string::npos);
    EXPECT_NE(ErrorOf("<?xml version='1.0'?>\n<html xmlns='http://www.w3.org/2000/svg'/>")
                  .find("line 2: is not an SVG drawing"),
              std::string::npos);
    EXPECT_NE(ErrorOf("").find("has no XML element"), std::string::npos);
    std::string error = ErrorOf(Svg("<g>\n<path d='M 0 0 L 1 x'/>\n</g>"));
    EXPECT_NE(error.find("line 4: <path>: bad value of attribute \"d\": \"M 0 0 L 1 x\""),
              std::string::npos)
        << error;
    EXPECT_NE(ErrorOf(Svg("<g transform='rotate(x)'/>")).find("\"transform\""), std::string::npos);
    EXPECT_NE(ErrorOf(Svg("<rect width='-1' height='2'/>")).find("width"), std::string::npos);
    EXPECT_NE(ErrorOf(Svg("<path d='M 0 0 L 1e39 0'/>")).find("<path>: a coordinate leaves single"),
              std::string::npos);
    EXPECT_NE(ErrorOf(Svg("<path d='M 0 0 L 1 1'/>", " width='1e300' viewBox='0 0 1e-300 1'"))
                  .find("single precision"),
              std::string::npos);
}

TEST(SvgErrors, ANegativeViewBoxIsNamedAsSuch) {
    EXPECT_NE(ErrorOf(Svg("<path d='M 0 0 L 1 1'/>", " viewBox='0 0 -10 10'"))
                  .find("line 2: <svg>: the viewBox has a negative width"),
              std::string::npos);
    EXPECT_NE(ErrorOf(Svg("<svg viewBox='0,0,10,-1'><path d='M 0 0 L 1 1'/></svg>", " width='9'"))
                  .find("line 3: <svg>: the viewBox has a negative height"),
              std::string::npos);
    EXPECT_NE(
        ErrorOf(Svg("<path d='M 0 0 L 1 1'/>", " width='-1' viewBox='0 0 1 1'")).find("\"width\""),
        std::string::npos);
}

TEST(SvgErrors, DeepNestingIsRefusedBeforeParsing) {
    std::string open, close;
    for (int i = 0; i < 199; ++i) {
        open += "<g>";
        close += "</g>";
    }
    EXPECT_EQ(Read(Svg(open + "<path d='M 0 0 L 1 1'/>" + close)).size(), 1u);
    std::string deeper = Svg("<g>" + open + "<path d='M 0 0 L 1 1'/>" + close + "</g>");
    EXPECT_NE(ErrorOf(deeper).find("deeper than 200"), std::string::npos);
    std::string unclosed;
    for (int i = 0; i < 100000; ++i) unclosed += "<g>";
    EXPECT_NE(ErrorOf(Svg(unclosed)).find("deeper than 200"), std::string::npos);
}

// Closing tags the XML parser skips must not lower the count: each nest below
// would overflow the stack if the parser saw it.
TEST(SvgErrors, ClosingTagsHiddenFromTheParserDoNotHideDepth) {
    const char* hidden[] = {"<?pi ></g>?>", "<!-- ></g> -->", "<![CDATA[ ></g> ]]>",
                            "<!DOCTYPE x [ <!ENTITY e '></g>'> ]>"};
    for (const char* hide : hidden) {
        std::string nest;
        for (int i = 0; i < 20000; ++i) nest += std::string("<g>") + hide;
        EXPECT_NE(ErrorOf(Svg(nest)).find("deeper than 200"), std::string::npos) << hide;
    }
    std::string quoted;
    for (int i = 0; i < 20000; ++i) quoted += "<g id='></g>'>";
    EXPECT_NE(ErrorOf(Svg(quoted)).find("deeper than 200"), std::string::npos);
    std::string closers;
    for (int i = 0; i < 20000; ++i) closers += "</g>";
    std::string nest;
    for (int i = 0; i < 20000; ++i) nest += "<g>";
    EXPECT_NE(ErrorOf("<!DOCTYPE svg [" + closers + "]>" + Svg(nest)).find("deeper than 200"),
              std::string::npos);
}

// And opening tags it skips must not raise it: 300 in each would be refused.
TEST(SvgContent, DeclarationsCommentsAndValuesWithTagsInThemAreSkippedWhole) {
    std::string opens;
    for (int i = 0; i < 300; ++i) opens += "<g>";
    std::string text = "<?xml version='1.0'?>\n<!DOCTYPE svg [ <!ENTITY e '" + opens +
                       "'> ]>\n<?pi " + opens + " ?><!-- " + opens +
                       " --><svg xmlns='http://www.w3.org/2000/svg'><![CDATA[" + opens +
                       "]]><g id='" + opens + "'><path d='M 0 0 L 1 1'/></g></svg>";
    EXPECT_EQ(Read(text).size(), 1u);
}

TEST(ShapeFile, ReadsSvgFilesAndRefusesEmptyOnesAndOtherFormats) {
    ScratchFolder folder;
    BezierShape shape;
    shape.steps = 3;
    std::string error;
    WriteBytes(folder.File("star.SVG"),
               Svg("<polygon points='0,-10 3,-3 10,0 3,3 0,10 -3,3 -10,0 -3,-3'/>"));
    ASSERT_TRUE(ReadShape(folder.File("star.SVG"), shape, error)) << error;
    ASSERT_EQ(shape.SplineCount(), 1);
    EXPECT_EQ(shape.splines[0].KnotCount(), 8);
    EXPECT_EQ(shape.steps, 3);

    WriteBytes(folder.File("empty.svg"), Svg("<g/>"));
    EXPECT_FALSE(ReadShape(folder.File("empty.svg"), shape, error));
    EXPECT_TRUE(OneLineErrorNaming(error, folder.File("empty.svg")));
    EXPECT_NE(error.find("no points"), std::string::npos);
    EXPECT_EQ(shape.SplineCount(), 1);  // left as it was

    EXPECT_FALSE(ReadShape(folder.File("missing.svg"), shape, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
    EXPECT_FALSE(ReadShape(folder.File("shape.dxf"), shape, error));
    EXPECT_NE(error.find("unknown shape format"), std::string::npos);
}

}  // namespace

TEST(SvgContent, UseDrawsWhatItRefersToMovedByItsPlaceAndTransform) {
    std::vector<std::string> warnings;
    std::vector<Spline3D> s;
    std::string error;
    ASSERT_TRUE(ReadSvgShape(
        "test.svg",
        Svg("<defs><path id='tick' d='M 0 0 L 1 1'/>"
            "<symbol id='box' viewBox='0 0 9 9'><use href='#tick' x='1'/></symbol></defs>"
            "<use xlink:href='#tick' x='10' y='20' xmlns:xlink='http://www.w3.org/1999/xlink'/>"
            "<use href='#box' transform='scale(2)' y='5'/>"
            "<use href='#nothing'/><use href='#a'/>"
            "<defs><g id='a'><use href='#b'/></g><g id='b'><use href='#a'/></g></defs>",
            " width='50' height='50'"),
        s, error, &warnings))
        << error;
    ASSERT_EQ(s.size(), 2u);
    EXPECT_TRUE(Near(s[0].knots[0].knot, Point3(10, -20, 0)));
    EXPECT_TRUE(Near(s[0].knots[1].knot, Point3(11, -21, 0)));
    // scale(2) then translate(0 5), then the symbol's own use at x 1.
    EXPECT_TRUE(Near(s[1].knots[0].knot, Point3(2, -10, 0)));
    EXPECT_TRUE(Near(s[1].knots[1].knot, Point3(4, -12, 0)));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("left 2 <use>"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("#nothing"), std::string::npos) << warnings[0];
    EXPECT_EQ(warnings[0].rfind("test.svg: ", 0), 0u) << warnings[0];
}

TEST(SvgContent, ASkippedElementIsNamedInAWarning) {
    std::vector<std::string> warnings;
    std::vector<Spline3D> s;
    std::string error;
    ASSERT_TRUE(ReadSvgShape("test.svg",
                             Svg("<text x='0' y='0'>A</text><text>B</text><image href='a.png'/>"
                                 "<g><blink/></g><title>t</title><path d='M 0 0 L 2 2'/>",
                                 " width='50' height='50'"),
                             s, error, &warnings))
        << error;
    // Without Qt's font engine running the texts stay undrawn, and say why.
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("left 2 <text> element(s) undrawn: text needs Qt's font engine"),
              std::string::npos)
        << warnings[0];
    EXPECT_EQ(warnings[1],
              "test.svg: skipped elements that draw no line: 1 <blink>, 1 <image>, 2 <text>");
    warnings.clear();
    ASSERT_TRUE(ReadSvgShape("test.svg", Svg("<desc>d</desc><path d='M 0 0 L 2 2'/>"), s, error,
                             &warnings));
    EXPECT_TRUE(warnings.empty());
}
