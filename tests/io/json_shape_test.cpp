// Our JSON shape format: knots with handles in 3D, corners, closed flags, and
// clear errors for everything malformed.
#include <gtest/gtest.h>

#include "io/json_shape_reader.h"
#include "io/read_shape.h"
#include "io_test_files.h"

namespace {

std::string ErrorOf(const std::string& text) {
    std::vector<Spline3D> splines;
    std::string error;
    EXPECT_FALSE(ReadJsonShape("shape.json", text, splines, error));
    EXPECT_TRUE(OneLineErrorNaming(error, "shape.json"));
    return error;
}

TEST(JsonShape, ReadsKnotsHandlesCornersAndClosedFlags) {
    std::vector<Spline3D> splines;
    std::string error;
    ASSERT_TRUE(ReadJsonShape("shape.json",
                              R"({"splines": [
                                   {"closed": true, "knots": [
                                      {"knot": [0, 0, 1]},
                                      {"in": [8, -2, 1], "knot": [10, 0, 1.5], "out": [12, 2, 2]},
                                      {"knot": [10, 10, -1e-3], "out": [10, 12, 0]}]},
                                   {"knots": [{"knot": [1e30, -2.5, 3]}]}]})",
                              splines, error))
        << error;
    ASSERT_EQ(splines.size(), 2u);
    EXPECT_TRUE(splines[0].closed);
    ASSERT_EQ(splines[0].KnotCount(), 3);
    const SplineKnot& corner = splines[0].knots[0];
    EXPECT_EQ(corner.inVec, Point3(0, 0, 1));
    EXPECT_EQ(corner.outVec, Point3(0, 0, 1));
    const SplineKnot& smooth = splines[0].knots[1];
    EXPECT_EQ(smooth.inVec, Point3(8, -2, 1));
    EXPECT_EQ(smooth.knot, Point3(10, 0, 1.5f));
    EXPECT_EQ(smooth.outVec, Point3(12, 2, 2));
    EXPECT_EQ(splines[0].knots[2].inVec, Point3(10, 10, -1e-3f));
    EXPECT_EQ(splines[0].knots[2].outVec, Point3(10, 12, 0));
    EXPECT_FALSE(splines[1].closed);
    EXPECT_EQ(splines[1].knots[0].knot, Point3(1e30f, -2.5f, 3));
}

TEST(JsonShape, MalformedContentIsRefusedWithItsPlace) {
    EXPECT_NE(ErrorOf("{\"splines\": [\n{\"knots\": [\n{\"knot\": [0, 0, 0]]}]}").find("line 3: "),
              std::string::npos);
    EXPECT_NE(ErrorOf("").find("is empty"), std::string::npos);
    EXPECT_NE(ErrorOf("[1, 2]").find("\"splines\" array"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"splines": {}})").find("\"splines\" array"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"splines": [], "units": "mm"})").find("unknown member \"units\""),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"splines": [3]})").find("splines[0]: expected an object"),
              std::string::npos);
    EXPECT_NE(
        ErrorOf(R"({"splines": [{"knots": []}]})").find("splines[0].knots: expected an array"),
        std::string::npos);
    EXPECT_NE(ErrorOf(R"({"splines": [{"closed": 1, "knots": [{"knot": [0, 0, 0]}]}]})")
                  .find("splines[0].closed: expected true or false"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"splines": [{"knots": [{"knot": [0, 0, 0]}, {"out": [0, 0, 0]}]}]})")
                  .find("splines[0].knots[1]: has no \"knot\""),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"splines": [{"knots": [{"knot": [0, 0]}]}]})")
                  .find("splines[0].knots[0].knot: expected an array of three numbers"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"splines": [{"knots": [{"knot": [0, 0, 0], "in": [0, "1", 0]}]}]})")
                  .find("knots[0].in: expected an array of three finite"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"splines": [{"knots": [{"knot": [0, 0, 0], "out": [0, 1e39, 0]}]}]})")
                  .find("knots[0].out: expected an array of three finite"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"splines": [{"knots": [{"knot": [0, 0, 0], "handle": [0, 0, 0]}]}]})")
                  .find("unknown member \"handle\""),
              std::string::npos);
}

TEST(JsonShape, IllegalNumbersAreRefusedByName) {
    for (const char* bad : {"01", "-", "1.", "1e", "1e+", "--1", "1e999", "1.5.2", "-.5"}) {
        std::string text =
            std::string("{\"splines\": [{\"knots\": [\n{\"knot\": [0, ") + bad + ", 0]}]}]}";
        EXPECT_NE(ErrorOf(text).find(std::string("line 2: illegal number \"") + bad + "\""),
                  std::string::npos)
            << bad;
    }
    EXPECT_NE(ErrorOf("{\"splines\": 5").find("illegal number \"5\""), std::string::npos);
    // Strings may hold anything that looks like a number.
    EXPECT_NE(ErrorOf(R"({"splines": [], "-01e": 1})").find("unknown member \"-01e\""),
              std::string::npos);
}

// A member named twice in one object is refused before Qt's parser, which leaks on
// some; the same name in different objects, or as a string value, is fine.
TEST(JsonShape, AMemberNamedTwiceInOneObjectIsRefused) {
    EXPECT_NE(ErrorOf("{\"a\": [1],\n \"a\": [2]}").find("line 2: member \"a\" appears twice"),
              std::string::npos);
    EXPECT_NE(ErrorOf("{\"splines\": [{\"knots\": [], \"closed\": true, \"knots\": []}]}")
                  .find("\"knots\" appears twice"),
              std::string::npos);
    std::vector<Spline3D> splines;
    std::string error;
    EXPECT_TRUE(ReadJsonShape("shape.json",
                              R"({"splines": [{"knots": [{"knot": [0, 0, 0]}, {"knot": [1, 0, 0]}]},
                                              {"closed": false, "knots": [{"knot": [0, 1, 0]}, {"knot": [1, 1, 0]}]}]})",
                              splines, error))
        << error;
}

TEST(JsonShape, MemberNamesAreQuotedWithoutControlCharacters) {
    std::string error = ErrorOf("{\"splines\": [], \"a\\nb\\u001b[2J\\u009bc\": 1}");
    EXPECT_NE(error.find("unknown member \"a b [2J c\""), std::string::npos) << error;
    std::string longName(200, 'x');
    error = ErrorOf("{\"splines\": [], \"" + longName + "\": 1}");
    EXPECT_LT(error.size(), 120u);
    EXPECT_NE(error.find("xxx...\""), std::string::npos);
}

TEST(JsonShape, ReadShapeRefusesAShapeWithoutKnots) {
    ScratchFolder folder;
    std::string path = folder.File("empty.json");
    WriteBytes(path, R"({"splines": []})");
    BezierShape shape;
    std::string error;
    EXPECT_FALSE(ReadShape(path, shape, error));
    EXPECT_TRUE(OneLineErrorNaming(error, path));
    EXPECT_NE(error.find("no points"), std::string::npos);

    WriteBytes(
        path,
        R"({"splines": [{"closed": true, "knots": [{"knot": [0, 0, 0]}, {"knot": [1, 0, 0]}]}]})");
    ASSERT_TRUE(ReadShape(path, shape, error)) << error;
    EXPECT_EQ(shape.SplineCount(), 1);
}

}  // namespace
