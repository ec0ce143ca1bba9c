#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/cli/cli_options.h"

namespace {

bool Parse(std::vector<const char*> args, CliOptions& o, std::string& error) {
    args.insert(args.begin(), "slitform");
    return ParseCommandLine(static_cast<int>(args.size()), const_cast<char**>(args.data()), o, error);
}

}  // namespace

TEST(CliOptions, CutWithEverything) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"cut", "box.ply", "star.svg", "-o", "out.ply", "--set", "open=1", "--set", "weld=0.5",
                       "--steps", "3", "--no-optimize", "--object-scale", "2", "--shape-translate", "1,2,3",
                       "--report", "r.json", "--picture", "p.svg"},
                      o, error))
        << error;
    EXPECT_EQ(o.command, "cut");
    EXPECT_EQ(o.meshPath, "box.ply");
    EXPECT_EQ(o.shapePath, "star.svg");
    EXPECT_EQ(o.outPath, "out.ply");
    ASSERT_EQ(o.sets.size(), 2u);
    EXPECT_EQ(o.sets[1].first, "weld");
    EXPECT_EQ(o.sets[1].second, "0.5");
    EXPECT_EQ(o.steps, 3);
    EXPECT_FALSE(o.optimize);
    EXPECT_TRUE(o.object.given);
    EXPECT_EQ(o.object.ToMatrix().GetRow(0), Point3(2, 0, 0));
    EXPECT_TRUE(o.shape.given);
    EXPECT_EQ(o.shape.ToMatrix().GetRow(3), Point3(1, 2, 3));
    EXPECT_EQ(o.reportPath, "r.json");
}

TEST(CliOptions, RotationsInDegreesAndWholeMatrices) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"cut", "a.obj", "b.json", "-o", "c.obj", "--object-rotate", "0,0,90", "--shape-matrix",
                       "1,0,0,0,1,0,0,0,1,5,6,7"},
                      o, error));
    Point3 x = Point3(1, 0, 0) * o.object.ToMatrix();
    EXPECT_NEAR(x.x, 0.0f, 1e-6);
    EXPECT_NEAR(x.y, 1.0f, 1e-6);
    EXPECT_EQ(o.shape.ToMatrix().GetRow(3), Point3(5, 6, 7));
    // A tiny scale is invertible although its determinant underflows in float.
    EXPECT_TRUE(Parse({"cut", "a.obj", "b.json", "-o", "c.obj", "--object-matrix",
                       "1e-20,0,0,0,1e-20,0,0,0,1e-20,0,0,0"},
                      o, error))
        << error;
}

TEST(CliOptions, UsageErrorsSayWhatIsWrong) {
    struct Case {
        std::vector<const char*> args;
        const char* says;
    };
    const Case cases[] = {
        {{}, "no command"},
        {{"frob"}, "unknown command"},
        {{"cut", "a.ply"}, "MESH SHAPE"},
        {{"cut", "a.ply", "b.svg"}, "-o OUT"},
        {{"cut", "a.ply", "b.svg", "-o"}, "needs a value"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--set", "weld"}, "NAME=VALUE"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--steps", "x"}, "--steps"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--steps", "-1"}, "--steps"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--object-translate", "1,2"}, "three numbers"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--object-translate", "1,2,nan"}, "three numbers"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-scale", "0"},
         "for --shape-scale (a non-zero"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--object-scale", "0"}, "for --object-scale"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-matrix", "1,2,3"}, "12 numbers"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--object-matrix", "0,0,0,0,0,0,0,0,0,0,0,0"},
         "for --object-matrix (12 numbers separated by commas, an invertible matrix)"},
        // Rows that are multiples of each other flatten space as surely as zeros.
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-matrix", "1,2,3,2,4,6,0,0,1,5,5,5"},
         "an invertible matrix"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-twist", "1"}, "unknown option"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--bogus"}, "unknown option"},
        {{"demo", "extra"}, "unexpected argument"},
    };
    for (const Case& c : cases) {
        CliOptions o;
        std::string error;
        EXPECT_FALSE(Parse(c.args, o, error)) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(CliOptions, DemoTakesAnOutputFolder) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"demo"}, o, error));
    EXPECT_EQ(o.outDir, "slitform-demo");
    ASSERT_TRUE(Parse({"demo", "--out", "/tmp/x"}, o, error));
    EXPECT_EQ(o.outDir, "/tmp/x");
}
