// The pieces of a cut run that do not need the plug-in: the report and the picture.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "app/cli/cut_picture.h"
#include "session/cut_report.h"
#include "session/demo_scene.h"

TEST(CutReport, HoldsTheInputsEveryParameterAndRoundedNumbers) {
    CutOutcome outcome;
    outcome.evaluated = true;
    outcome.counts.facesIn = 2;
    outcome.counts.facesCut = 1;
    outcome.counts.selectedEdges = 3;
    outcome.direction = Point3(-6e-16f, 1e-9f, -1.0f);
    outcome.seconds = 0.50049;
    CutReport report;
    report.version = "9.8.7.6";
    report.meshPath = "box.ply";
    report.shapePath = "star.svg";
    report.placement = "fitted";
    report.shapeTM = TransMatrix(Point3(0.1f, 0, 2));
    report.parameters = {{"open", ReportedParameter::Kind::Switch, 1.0},
                         {"matid", ReportedParameter::Kind::Whole, 3.0},
                         {"weld", ReportedParameter::Kind::Number, 0.0010000000474974513}};
    report.healthIn.components = 1;
    report.healthOut.borderEdges = 12;
    QJsonObject json =
        QJsonDocument::fromJson(QByteArray::fromStdString(CutReportJson(report, outcome))).object();
    EXPECT_EQ(json["program"].toObject()["version"].toString(), "9.8.7.6");
    EXPECT_EQ(json["inputs"].toObject()["mesh"].toString(), "box.ply");
    EXPECT_EQ(json["inputs"].toObject()["shape_placement"].toString(), "fitted");
    EXPECT_EQ(json["inputs"].toObject()["shape_transform"].toArray()[3].toArray()[0].toDouble(),
              0.1);
    QJsonObject parameters = json["parameters"].toObject();
    EXPECT_EQ(parameters["open"], QJsonValue(true));
    EXPECT_EQ(parameters["matid"], QJsonValue(3));
    EXPECT_EQ(parameters["weld"].toDouble(), 0.001);  // not 0.0010000000474974513
    EXPECT_EQ(json["faces_cut"].toInt(), 1);
    EXPECT_EQ(json["selected"].toObject()["edges"].toInt(), 3);
    EXPECT_EQ(json["mesh_health"].toObject()["in"].toObject()["components"].toInt(), 1);
    EXPECT_EQ(json["mesh_health"].toObject()["out"].toObject()["border_edges"].toInt(), 12);
    QJsonArray direction = json["projection_direction"].toArray();
    EXPECT_FALSE(std::signbit(direction[0].toDouble()));  // -6e-16 is 0, not -0
    EXPECT_EQ(direction[0].toDouble(), 0.0);
    EXPECT_EQ(direction[1].toDouble(), 0.0);
    EXPECT_EQ(direction[2].toDouble(), -1.0);
    EXPECT_EQ(json["evaluation_seconds"].toDouble(), 0.5);
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
