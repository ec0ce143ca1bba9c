#include "app/cli/cut_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

std::string CutReportJson(const CutOutcome& o) {
    const CutCounts& c = o.counts;
    QJsonObject in{{"faces", c.facesIn}, {"edges", c.edgesIn}, {"vertices", c.verticesIn}};
    QJsonObject out{{"faces", c.facesOut}, {"edges", c.edgesOut}, {"vertices", c.verticesOut}};
    QJsonObject selected{
        {"vertices", c.selectedVertices}, {"edges", c.selectedEdges}, {"faces", c.selectedFaces}};
    QJsonObject root{
        {"in", in},
        {"out", out},
        {"faces_cut", c.facesCut},
        {"selected", selected},
        {"projection_direction", QJsonArray{o.direction.x, o.direction.y, o.direction.z}},
        {"evaluation_seconds", o.seconds}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}
