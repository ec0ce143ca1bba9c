#include "app/cli/cut_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

// Rounds to places decimals; a result of zero loses its sign.
double Rounded(double value, int places) {
    double scale = std::pow(10.0, places);
    double r = std::round(value * scale) / scale;
    return r == 0.0 ? 0.0 : r;
}

QJsonArray Vector(const Point3& p) {
    return QJsonArray{Rounded(p.x, 6), Rounded(p.y, 6), Rounded(p.z, 6)};
}

QJsonArray Rows(const Matrix3& m) {
    return QJsonArray{Vector(m.GetRow(0)), Vector(m.GetRow(1)), Vector(m.GetRow(2)),
                      Vector(m.GetRow(3))};
}

QJsonObject Health(const MeshHealth& h) {
    return QJsonObject{{"border_edges", h.borderEdges},
                       {"non_manifold_edges", h.nonManifoldEdges},
                       {"components", h.components}};
}

QJsonValue ParameterValue(const ReportedParameter& p) {
    switch (p.kind) {
        case ReportedParameter::Kind::Switch:
            return p.value != 0.0;
        case ReportedParameter::Kind::Whole:
            return static_cast<int>(p.value);
        case ReportedParameter::Kind::Number:
            break;
    }
    return Rounded(p.value, 6);
}

}  // namespace

std::string CutReportJson(const CutReport& r, const CutOutcome& o) {
    const CutCounts& c = o.counts;
    QJsonObject parameters;
    for (const ReportedParameter& p : r.parameters)
        parameters.insert(QString::fromStdString(p.name), ParameterValue(p));
    QJsonObject inputs{{"mesh", QString::fromStdString(r.meshPath)},
                       {"shape", QString::fromStdString(r.shapePath)},
                       {"plugin", QString::fromStdString(r.pluginPath)},
                       {"object_transform", Rows(r.objectTM)},
                       {"shape_placement", QString::fromStdString(r.placement)},
                       {"shape_transform", Rows(r.shapeTM)},
                       {"steps", r.steps},
                       {"optimize", r.optimize}};
    if (!r.text.empty()) {
        inputs.insert("text", QString::fromStdString(r.text));
        inputs.insert("font", QString::fromStdString(r.font));
    }
    QJsonObject in{{"faces", c.facesIn}, {"edges", c.edgesIn}, {"vertices", c.verticesIn}};
    QJsonObject out{{"faces", c.facesOut}, {"edges", c.edgesOut}, {"vertices", c.verticesOut}};
    QJsonObject selected{
        {"vertices", c.selectedVertices}, {"edges", c.selectedEdges}, {"faces", c.selectedFaces}};
    QJsonObject root{
        {"program",
         QJsonObject{{"name", "slitform"}, {"version", QString::fromStdString(r.version)}}},
        {"inputs", inputs},
        {"parameters", parameters},
        {"in", in},
        {"out", out},
        {"faces_cut", c.facesCut},
        {"faces_at_point_limit", o.facesAtPointLimit},
        {"selected", selected},
        {"mesh_health", QJsonObject{{"in", Health(r.healthIn)}, {"out", Health(r.healthOut)}}},
        {"projection_direction", Vector(o.direction)},
        {"evaluation_seconds", Rounded(o.seconds, 3)}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}
