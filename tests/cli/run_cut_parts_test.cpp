// The pieces of a cut run that do not need the plug-in: the report and the picture.
#include <gtest/gtest.h>

#include <cmath>

#include "app/cli/cut_picture.h"
#include "app/cli/cut_report.h"
#include "app/session/demo_scene.h"

TEST(CutReport, HoldsTheCountsTheDirectionAndTheTime) {
    CutOutcome outcome;
    outcome.evaluated = true;
    outcome.counts.facesIn = 2;
    outcome.counts.facesCut = 1;
    outcome.counts.selectedEdges = 3;
    outcome.direction = Point3(0, 0, -1);
    outcome.seconds = 0.5;
    std::string json = CutReportJson(outcome);
    EXPECT_NE(json.find("\"faces_cut\": 1"), std::string::npos) << json;
    EXPECT_NE(json.find("\"edges\": 3"), std::string::npos) << json;
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
