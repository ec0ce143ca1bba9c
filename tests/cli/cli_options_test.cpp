#include "app/cli/cli_options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

namespace {

ParseResult ParseWithOutput(std::vector<const char*> args, CliOptions& o, std::string& printed,
                            std::string& error) {
    args.insert(args.begin(), "slitform");
    std::ostringstream out;
    ParseResult result = ParseCommandLine(static_cast<int>(args.size()),
                                          const_cast<char**>(args.data()), o, out, error);
    printed = out.str();
    return result;
}

bool Parse(std::vector<const char*> args, CliOptions& o, std::string& error) {
    std::string printed;
    return ParseWithOutput(std::move(args), o, printed, error) == ParseResult::Run;
}

}  // namespace

TEST(CliOptions, CutWithEverything) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"cut",   "box.ply",       "star.svg",       "-o",        "out.ply",
                       "--set", "open=1",        "--set",          "weld=0.5",  "--steps",
                       "3",     "--no-optimize", "--object-scale", "2",         "--shape-translate",
                       "1,2,3", "--report",      "r.json",         "--picture", "p.svg"},
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
    ASSERT_TRUE(Parse({"cut", "a.obj", "b.json", "-o", "c.obj", "--object-rotate", "0,0,90",
                       "--shape-matrix", "1,0,0,0,1,0,0,0,1,5,6,7"},
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
        {{"cut", "a.ply", "-o", "c.ply"}, "SHAPE file or --text"},
        {{"cut", "a.ply", "b.svg"}, "--out is required"},
        {{"cut", "a.ply", "b.svg", "-o"}, "--out: 1 required"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--set", "weld"}, "NAME=VALUE"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--steps", "x"}, "--steps"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--steps", "-1"}, "--steps"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--object-translate", "1,2"}, "three numbers"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--object-translate", "1,2,nan"},
         "three numbers"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-scale", "0"},
         "for --shape-scale (a non-zero"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--object-scale", "0"}, "for --object-scale"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-matrix", "1,2,3"}, "12 numbers"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--object-matrix", "0,0,0,0,0,0,0,0,0,0,0,0"},
         "for --object-matrix (12 numbers separated by commas, an invertible matrix)"},
        // Rows that are multiples of each other flatten space as surely as zeros.
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-matrix", "1,2,3,2,4,6,0,0,1,5,5,5"},
         "an invertible matrix"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-twist", "1"},
         "not expected: 1 --shape-twist"},
        {{"cut", "a.ply", "b.svg", "-o", "c.ply", "--bogus"}, "not expected: --bogus"},
        {{"demo", "extra"}, "not expected: extra"},
        {{"info", "--set", "open=on"}, "not expected: open=on --set"},
        {{"cut", "a.ply", "b.svg", "c.ply", "-o", "d.ply"}, "not expected: c.ply"},
    };
    for (const Case& c : cases) {
        CliOptions o;
        std::string error;
        EXPECT_FALSE(Parse(c.args, o, error)) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.says << ": " << error;
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

TEST(CliOptions, SetsKeepTheirOrderAndMayStandAnywhere) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"cut", "--set", "open=on", "a.ply", "--set", "weld=0.5", "b.svg", "-o",
                       "c.ply", "--set", "matid=2"},
                      o, error))
        << error;
    EXPECT_EQ(o.meshPath, "a.ply");
    EXPECT_EQ(o.shapePath, "b.svg");
    ASSERT_EQ(o.sets.size(), 3u);
    EXPECT_EQ(o.sets[0].first, "open");
    EXPECT_EQ(o.sets[2].second, "2");
}

TEST(CliOptions, HelpAtEveryLevelAndTheVersion) {
    struct Case {
        std::vector<const char*> args;
        const char* says;
    };
    const Case cases[] = {
        {{"--help"}, "Subcommands:"},
        {{"-h"}, "Exit codes: 0 done, 1"},
        {{"cut", "--help"}, "--shape-matrix"},
        {{"cut", "-h"}, "rotates the fitted shape about its centre"},
        {{"demo", "--help"}, "--out DIR"},
        {{"info", "--help"}, "--plugin"},
        {{"cut", "a.ply", "--help"}, "MESH"},  // help wins over what is missing
        {{"--version"}, "slitform " SLITFORM_VERSION},
    };
    for (const Case& c : cases) {
        CliOptions o;
        std::string printed, error;
        EXPECT_EQ(ParseWithOutput(c.args, o, printed, error), ParseResult::Answered) << c.says;
        EXPECT_NE(printed.find(c.says), std::string::npos) << printed;
        EXPECT_TRUE(error.empty()) << error;
    }
}

TEST(CliOptions, ShapeTransformsAdjustTheFitAndTheMatrixStandsAlone) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-rotate", "0,0,90",
                       "--shape-translate", "1,0,0"},
                      o, error));
    EXPECT_TRUE(o.shape.given);
    EXPECT_FALSE(o.shape.matrix);
    ASSERT_TRUE(Parse({"cut", "a.ply", "b.svg", "-o", "c.ply", "--shape-translate", "1,0,0",
                       "--shape-matrix", "1,0,0,0,1,0,0,0,1,5,6,7"},
                      o, error));
    EXPECT_EQ(o.shape.ToMatrix().GetRow(3), Point3(5, 6, 7));  // the matrix wins
}
