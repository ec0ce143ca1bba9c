// The pieces of a cut run that do not need the plug-in: parameters by name, the
// default shape placement, the demo scene, the report and the picture.
#include <gtest/gtest.h>

#include <cmath>

#include "app/cut_picture.h"
#include "app/cut_report.h"
#include "app/demo_scene.h"
#include "app/run_cut.h"
#include "app/shape_placement.h"
#include "contract/cut_mesh_flags.h"
#include "iparamb2.h"

TEST(SetParameterByName, TypesRangesAndUnknownNames) {
    ParamBlockDesc2 desc(0, L"params", 0, nullptr, 0, 0, {},
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

TEST(ShapePlacement, CentredScaledAndAboveTheObject) {
    PolyObject* box = MakeRoundedBox(Point3(4.0f, 2.0f, 1.0f), 0.1f, 2);
    BezierShape shape;
    Spline3D line;
    for (Point3 p : {Point3(100, 100, 0), Point3(300, 100, 0), Point3(300, 150, 0)}) line.AddKnot(SplineKnot(p, p, p));
    shape.splines.push_back(line);
    ShapePlacement placement;
    Matrix3 objectTM = TransMatrix(Point3(10, 0, 0));
    ASSERT_TRUE(DefaultShapePlacement(box->mm, objectTM, shape, placement));
    EXPECT_EQ(placement.centre, Point3(200, 125, 0));
    EXPECT_FLOAT_EQ(placement.scale, 0.8f * std::min(4.0f / 200.0f, 2.0f / 50.0f));
    EXPECT_FLOAT_EQ(placement.position.x, 10.0f);
    EXPECT_GT(placement.position.z, 0.5f);
    CentreShape(shape, placement);
    EXPECT_FLOAT_EQ(shape.splines[0].knots[0].knot.x, -100.0f * placement.scale);
    BezierShape empty;
    EXPECT_FALSE(DefaultShapePlacement(box->mm, objectTM, empty, placement));
    delete box;
}

TEST(CutReport, CountsLiveComponentsAndCutFaces) {
    MNMesh in;
    for (Point3 p : {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0), Point3(2, 0, 0), Point3(2, 1, 0)})
        in.NewVert(p);
    int a[4] = {0, 1, 2, 3}, b[4] = {1, 4, 5, 2};
    in.CreateFace(4, a);
    in.CreateFace(4, b);
    MNMesh out = in;
    out.f[0].SetFlag(cutflags::kReplacedFace);
    out.DeleteFlaggedFaces(cutflags::kReplacedFace);  // replaced by the cut
    int c[3] = {out.NewVert(Point3(0, 0, 0)), out.NewVert(Point3(1, 0, 0)), out.NewVert(Point3(0, 1, 0))};
    int nf = out.CreateFace(3, c);
    ASSERT_GE(nf, 0);
    out.f[nf].SetFlag(MN_SEL | cutflags::kCutHandledFace);
    out.e[out.f[nf].edg[0]].SetFlag(MN_SEL);
    CutReport r = MakeCutReport(CountMesh(in), out, Point3(0, 0, -1), 0.5);
    EXPECT_EQ(r.facesIn, 2);
    EXPECT_EQ(r.facesOut, 2);
    EXPECT_EQ(r.facesCut, 1);
    EXPECT_EQ(r.selectedFaces, 1);
    EXPECT_EQ(r.selectedEdges, 1);
    std::string json = CutReportJson(r);
    EXPECT_NE(json.find("\"faces_cut\": 1"), std::string::npos) << json;
    EXPECT_NE(json.find("\"projection_direction\""), std::string::npos);
    EXPECT_NE(json.find("\"evaluation_seconds\": 0.5"), std::string::npos);
}

TEST(CutPicture, DrawsFacesSelectedEdgesAndTheShape) {
    PolyObject* box = MakeRoundedBox(Point3(2, 2, 2), 0.2f, 3);
    box->mm.e[0].SetFlag(MN_SEL);
    box->mm.f[0].SetFlag(MN_SEL);
    box->mm.v[5].p = Point3(NAN, 0, 0);
    PolyShape shape;
    PolyLine& line = shape.NewLine();
    line.Append(PolyPt(Point3(0, 0, 3)));
    line.Append(PolyPt(Point3(1, 0, 3)));
    std::string svg = CutPictureSvg(box->mm, shape, Point3(0, 0, -1));
    EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
    EXPECT_NE(svg.find("#ff7a00"), std::string::npos);
    EXPECT_NE(svg.find("<polyline"), std::string::npos);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
    EXPECT_EQ(svg.find("inf"), std::string::npos);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    MNMesh empty;
    EXPECT_NE(CutPictureSvg(empty, PolyShape(), Point3()).find("</svg>"), std::string::npos);
    delete box;
}
