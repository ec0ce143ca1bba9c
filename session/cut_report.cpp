#include "session/cut_report.h"

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

bool SwitchOn(const CutReport& report, const char* name) {
    for (const ReportedParameter& p : report.parameters)
        if (p.name == name)
            return p.value != 0.0;
    return false;
}

}  // namespace

std::vector<CutWarning> CutWarnings(const CutReport& report, const CutOutcome& outcome) {
    std::vector<CutWarning> warnings;
    // A shape around faces it does not cross still selects them (or cuts them out).
    const CutCounts& c = outcome.counts;
    if (c.facesCut == 0 && c.selectedFaces == 0 && c.facesOut == c.facesIn &&
        outcome.facesOverCrossingLimit == 0)
        warnings.push_back({CutWarning::Kind::CutNoFace, "the shape cut no face"});
    int opened = report.healthOut.borderEdges - report.healthIn.borderEdges;
    if (c.facesCut > 0 && !SwitchOn(report, "weld_on") &&
        report.healthOut.components > report.healthIn.components)
        warnings.push_back(
            {CutWarning::Kind::SplitWithoutWeld,
             "the cut left the mesh split along the cut faces (" +
                 std::to_string(report.healthOut.components - report.healthIn.components) +
                 " more pieces, " + std::to_string(opened) +
                 " more border edges) because weld_on is off"});
    if (outcome.facesAtPointLimit > 0)
        warnings.push_back({CutWarning::Kind::PointLimit,
                            "refinement stopped at its point limit on " +
                                std::to_string(outcome.facesAtPointLimit) +
                                (outcome.facesAtPointLimit == 1 ? " face" : " faces") +
                                ", whose triangles may be thinner than min_angle; a smaller "
                                "min_angle avoids it"});
    if (outcome.facesOverCrossingLimit > 0)
        warnings.push_back(
            {CutWarning::Kind::CrossingLimit,
             std::to_string(outcome.facesOverCrossingLimit) +
                 (outcome.facesOverCrossingLimit == 1 ? " face was" : " faces were") +
                 " left uncut: the shape crosses itself more than 100000 times "
                 "inside each"});
    return warnings;
}

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
    if (!r.up.empty())
        inputs.insert("up", QString::fromStdString(r.up));
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
        {"faces_over_crossing_limit", o.facesOverCrossingLimit},
        {"selected", selected},
        {"mesh_health", QJsonObject{{"in", Health(r.healthIn)}, {"out", Health(r.healthOut)}}},
        {"projection_direction", Vector(o.direction)},
        {"evaluation_seconds", Rounded(o.seconds, 3)}};
    QJsonArray warnings;
    for (const CutWarning& w : CutWarnings(r, o))
        warnings.append(QString::fromStdString(w.message));
    root.insert("warnings", warnings);
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}
