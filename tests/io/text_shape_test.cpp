// Lettering as a shape: closed glyph contours from Qt's font engine, y up.
#include "io/text_shape.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <algorithm>
#include <memory>

#include "io/svg_shape_reader.h"

namespace {

class TextShapeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "io_tests";
        static char* argv[] = {name, nullptr};
        app = new QGuiApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete app;
        app = nullptr;
    }
    static QGuiApplication* app;
};

QGuiApplication* TextShapeTest::app = nullptr;

}  // namespace

TEST_F(TextShapeTest, LettersBecomeClosedContoursStandingOnTheBaseline) {
    std::vector<Spline3D> splines;
    std::string error;
    ASSERT_TRUE(TextShape("O", "DejaVu Sans", splines, error)) << error;
    ASSERT_EQ(splines.size(), 2u);  // the outer and the inner contour
    float top = -1e9f, bottom = 1e9f;
    for (const Spline3D& s : splines) {
        EXPECT_TRUE(s.closed);
        EXPECT_GE(s.KnotCount(), 3);
        for (const SplineKnot& k : s.knots) {
            top = std::max(top, k.knot.y);
            bottom = std::min(bottom, k.knot.y);
            EXPECT_EQ(k.knot.z, 0.0f);
        }
    }
    EXPECT_GT(top, 60.0f);  // a capital stands about 73 units of 100 above the baseline
    EXPECT_LT(top, 100.0f);
    EXPECT_NEAR(bottom, 0.0f, 3.0f);
    ASSERT_TRUE(TextShape("ENGRAVE", "DejaVu Sans", splines, error)) << error;
    EXPECT_EQ(splines.size(), 9u);  // seven letters, A and R with a counter each
}

TEST_F(TextShapeTest, AnUnknownFontOrBlankTextIsRefused) {
    std::vector<Spline3D> splines;
    std::string error;
    EXPECT_FALSE(TextShape("X", "No Such Font", splines, error));
    EXPECT_NE(error.find("No Such Font"), std::string::npos) << error;
    EXPECT_FALSE(TextShape("   ", "DejaVu Sans", splines, error));
    EXPECT_NE(error.find("draws no outline"), std::string::npos) << error;
}

TEST_F(TextShapeTest, SvgTextDrawsItsOutlinesAtItsPlaceAndSize) {
    std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>"
        "<text x='10' y='50' style='font-size:20px' font-family=\"'DejaVu Sans', sans-serif\">"
        "O</text><text>  </text></svg>";
    std::vector<Spline3D> splines;
    std::vector<std::string> warnings;
    std::string error;
    ASSERT_TRUE(ReadSvgShape("text.svg", svg, splines, error, &warnings)) << error;
    ASSERT_EQ(splines.size(), 2u);
    for (const Spline3D& s : splines) {
        EXPECT_TRUE(s.closed);
        for (const SplineKnot& k : s.knots) {
            EXPECT_GT(k.knot.x, 10.0f);
            EXPECT_LT(k.knot.x, 10.0f + 20.0f);
            EXPECT_GT(k.knot.y, -50.5f);  // standing on the baseline at y 50, y up
            EXPECT_LT(k.knot.y, -50.0f + 20.0f);
        }
    }
    // The blank text draws nothing and is named.
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("left 1 <text>"), std::string::npos) << warnings[0];
}

TEST_F(TextShapeTest, SvgTspansMoveThePenAndSetTheirOwnSize) {
    // Two lines: the second starts back at x 10 one line lower, at twice the size;
    // the indentation between the tspans draws nothing and moves nothing.
    std::string svg =
        "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='200'>"
        "<text x='10' y='40' font-size='20'>\n"
        "   <tspan>I</tspan><tspan dx='30'>I</tspan>\n"
        "   <tspan x='10' y='100' style='font-size:40px'>I</tspan>\n"
        "</text></svg>";
    std::vector<Spline3D> splines;
    std::vector<std::string> warnings;
    std::string error;
    ASSERT_TRUE(ReadSvgShape("lines.svg", svg, splines, error, &warnings)) << error;
    EXPECT_TRUE(warnings.empty());
    ASSERT_EQ(splines.size(), 3u);  // one contour per I, in document order
    auto box = [](const Spline3D& s, float& left, float& right, float& bottom, float& top) {
        left = bottom = 1e9f;
        right = top = -1e9f;
        for (const SplineKnot& k : s.knots) {
            left = std::min(left, k.knot.x);
            right = std::max(right, k.knot.x);
            bottom = std::min(bottom, k.knot.y);
            top = std::max(top, k.knot.y);
        }
    };
    float l[3], r[3], b[3], t[3];
    for (int i = 0; i < 3; ++i) box(splines[i], l[i], r[i], b[i], t[i]);
    // The first I starts at the text's x, with no space before it.
    EXPECT_GT(l[0], 10.0f);
    EXPECT_LT(l[0], 15.0f);
    EXPECT_NEAR(b[0], -40.0f, 0.5f);
    // The second follows on the same baseline, 30 units after the first's advance.
    EXPECT_GT(l[1], r[0] + 30.0f);
    EXPECT_LT(l[1], r[0] + 40.0f);
    EXPECT_NEAR(b[1], -40.0f, 0.5f);
    // The third starts a new line, twice as tall.
    EXPECT_GT(l[2], 10.0f);
    EXPECT_LT(l[2], l[0] + 10.0f);
    EXPECT_NEAR(b[2], -100.0f, 0.5f);
    EXPECT_NEAR(t[2] - b[2], 2.0f * (t[0] - b[0]), 0.5f);
}
