// The example files stay readable and say what their README says.
#include <gtest/gtest.h>

#include "io/read_mesh.h"
#include "io/read_shape.h"

namespace {

const std::string kExamples = SLITFORM_EXAMPLES_DIR;

TEST(ExampleFiles, GridBoxIsTheSameClosedBoxInObjAndPly) {
    MNMesh fromObj, fromPly;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ReadMesh(kExamples + "/grid_box.obj", fromObj, error, &warnings)) << error;
    ASSERT_TRUE(ReadMesh(kExamples + "/grid_box.ply", fromPly, error, &warnings)) << error;
    EXPECT_TRUE(warnings.empty());
    ASSERT_EQ(fromObj.numv, 186);
    ASSERT_EQ(fromObj.numf, 184);
    ASSERT_EQ(fromPly.numv, fromObj.numv);
    ASSERT_EQ(fromPly.numf, fromObj.numf);
    for (int i = 0; i < fromObj.numv; ++i) EXPECT_EQ(fromObj.v[i].p, fromPly.v[i].p);
    int top = 0;
    for (int i = 0; i < fromObj.numf; ++i) {
        EXPECT_EQ(fromObj.f[i].vtx, fromPly.f[i].vtx);
        EXPECT_EQ(fromObj.f[i].material, fromPly.f[i].material);
        top += fromObj.f[i].material == 0 ? 1 : 0;
    }
    EXPECT_EQ(top, 60);
    for (int i = 0; i < fromObj.nume; ++i) EXPECT_GE(fromObj.e[i].f2, 0) << "border edge " << i;
}

TEST(ExampleFiles, ShapesReadAsDescribed) {
    BezierShape shape;
    std::string error;
    ASSERT_TRUE(ReadShape(kExamples + "/star.svg", shape, error)) << error;
    ASSERT_EQ(shape.SplineCount(), 2);
    EXPECT_EQ(shape.splines[0].KnotCount(), 10);
    EXPECT_TRUE(shape.splines[0].closed && shape.splines[1].closed);

    ASSERT_TRUE(ReadShape(kExamples + "/lettering.svg", shape, error)) << error;
    ASSERT_EQ(shape.SplineCount(), 3);
    for (const Spline3D& spline : shape.splines) EXPECT_TRUE(spline.closed);
    EXPECT_EQ(shape.splines[1].KnotCount(), 10);  // the F

    ASSERT_TRUE(ReadShape(kExamples + "/ring.json", shape, error)) << error;
    ASSERT_EQ(shape.SplineCount(), 2);
    EXPECT_TRUE(shape.splines[0].closed);
    EXPECT_EQ(shape.splines[0].KnotCount(), 4);
    EXPECT_FALSE(shape.splines[1].closed);
}

}  // namespace
