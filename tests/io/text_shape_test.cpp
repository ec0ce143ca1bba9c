// Lettering as a shape: closed glyph contours from Qt's font engine, y up.
#include "app/io/text_shape.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <algorithm>
#include <memory>

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
