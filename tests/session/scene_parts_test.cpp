// The parts of a session that do not need the plug-in: parameters by name, the
// automatic shape placement and the demo scene.
#include <gtest/gtest.h>

#include <cmath>

#include "iparamb2.h"
#include "session/demo_scene.h"
#include "session/parameter_by_name.h"
#include "session/shape_placement.h"

TEST(SetParameterByName, TypesRangesAndUnknownNames) {
    ParamBlockDesc2 desc(
        0, L"params", 0, nullptr, 0, 0, {},
        {ParamDef::Node(0, L"Pick path", 0, 7), ParamDef::Bool(4, L"open", 1, 10, false),
         ParamDef::Float(3, L"weld", 1, 9, 0.001f).Range(0.0f, 10000000.0f),
         ParamDef::Int(10, L"matid", 1, 14, 1).Range(1, 999)});
    IParamBlock2 block(&desc);
    std::string error;
    EXPECT_TRUE(SetParameterByName(&block, "open", "on", error));
    EXPECT_EQ(block.GetInt(4), 1);
    EXPECT_TRUE(SetParameterByName(&block, "weld", "0.25", error));
    EXPECT_EQ(block.GetFloat(3), 0.25f);
    EXPECT_TRUE(SetParameterByName(&block, "matid", "999", error));
    EXPECT_EQ(block.GetInt(10), 999);

    EXPECT_FALSE(SetParameterByName(&block, "matid", "1000", error));
    EXPECT_NE(error.find("out of range 1 to 999"), std::string::npos) << error;
    EXPECT_FALSE(SetParameterByName(&block, "matid", "2.5", error));
    EXPECT_NE(error.find("whole number"), std::string::npos);
    EXPECT_FALSE(SetParameterByName(&block, "weld", "-1", error));
    EXPECT_FALSE(SetParameterByName(&block, "weld", "nan", error));
    EXPECT_FALSE(SetParameterByName(&block, "weld", "1e400", error));
    EXPECT_FALSE(SetParameterByName(&block, "weld", "", error));
    EXPECT_FALSE(SetParameterByName(&block, "open", "maybe", error));
    EXPECT_FALSE(SetParameterByName(&block, "Pick path", "x", error));
    EXPECT_FALSE(SetParameterByName(&block, "frobnicate", "1", error));
    EXPECT_NE(error.find("no such parameter"), std::string::npos);
    EXPECT_EQ(block.GetInt(10), 999);  // refused values change nothing
}

TEST(DemoScene, RoundedBoxIsClosedAndStarIsClosed) {
    PolyObject* box = MakeRoundedBox(Point3(4.0f, 4.0f, 1.5f), 0.3f, 8);
    const MNMesh& m = box->mm;
    std::string why;
    ASSERT_TRUE(m.CheckAllData(&why)) << why;
    EXPECT_EQ(m.numf, 6 * 64);
    for (int e = 0; e < m.nume; ++e) EXPECT_GE(m.e[e].f2, 0) << e;
    Point3 lo, hi;
    ASSERT_TRUE(m.GetBoundingBox(lo, hi));
    EXPECT_NEAR(hi.x, 2.0f, 1e-5);
    EXPECT_NEAR(hi.z, 0.75f, 1e-5);
    EXPECT_GT(m.GetFaceNormal(4 * 8 + 4, true).z, 0.99f);  // the middle of the first side, the top
    delete box;

    SplineShape* star = MakeStar(5, 1.0f, 0.4f);
    ASSERT_EQ(star->shape.splines.size(), 1u);
    EXPECT_EQ(star->shape.splines[0].KnotCount(), 10);
    EXPECT_TRUE(star->shape.splines[0].closed);
    EXPECT_NEAR(star->shape.splines[0].knots[0].knot.y, 1.0f, 1e-6);
    delete star;
}

TEST(ShapePlacement, CentredScaledAndAboveTheObjectForEitherUpAxis) {
    PolyObject* box = MakeRoundedBox(Point3(4.0f, 2.0f, 1.0f), 0.1f, 2);
    Matrix3 objectTM = TransMatrix(Point3(10, 0, 0));
    const struct {
        UpAxis up;
        float depth;  // the box along the shape's y
        Point3 upward, page;
    } cases[] = {{UpAxis::Z, 2.0f, Point3(0, 0, 1), Point3(0, 1, 0)},
                 {UpAxis::Y, 1.0f, Point3(0, 1, 0), Point3(0, 0, -1)}};
    for (const auto& c : cases) {
        BezierShape shape;
        Spline3D line;
        for (Point3 p : {Point3(100, 100, 0), Point3(300, 100, 0), Point3(300, 150, 0)})
            line.AddKnot(SplineKnot(p, p, p));
        shape.splines.push_back(line);
        ShapePlacement placement;
        ASSERT_TRUE(DefaultShapePlacement(box->mm, objectTM, shape, c.up, placement));
        EXPECT_EQ(placement.centre, Point3(200, 125, 0));
        EXPECT_FLOAT_EQ(placement.scale, 0.8f * std::min(4.0f / 200.0f, c.depth / 50.0f));
        EXPECT_EQ(placement.node.GetRow(0), Point3(1, 0, 0));
        EXPECT_EQ(placement.node.GetRow(1), c.page);
        EXPECT_EQ(placement.node.GetRow(2), c.upward);
        // Over the object's centre, above its top along the up axis.
        const Point3 at = placement.node.GetTrans();
        EXPECT_FLOAT_EQ(at.x, 10.0f);
        EXPECT_NEAR(DotProd(at, c.page), 0.0f, 1e-6f);
        const float top = c.up == UpAxis::Z ? 0.5f : 1.0f;
        EXPECT_GT(DotProd(at, c.upward), top);
        CentreShape(shape, placement);
        EXPECT_FLOAT_EQ(shape.splines[0].knots[0].knot.x, -100.0f * placement.scale);
        BezierShape empty;
        EXPECT_FALSE(DefaultShapePlacement(box->mm, objectTM, empty, c.up, placement));
    }
    delete box;
}
