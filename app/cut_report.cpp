#include "app/cut_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "contract/cut_mesh_flags.h"
#include "placement/orient_projection_direction.h"
#include "placement/projection_frame.h"
#include "splshape.h"

namespace {

template <class T>
int CountLive(const T* items, int n, DWORD flag) {
    int count = 0;
    for (int i = 0; i < n; ++i)
        if (!(items[i].flags & MN_DEAD) && (flag == 0 || (items[i].flags & flag)))
            ++count;
    return count;
}

}  // namespace

MeshCounts CountMesh(const MNMesh& mesh) {
    MeshCounts counts;
    counts.faces = CountLive(mesh.f, mesh.numf, 0);
    counts.edges = CountLive(mesh.e, mesh.nume, 0);
    counts.vertices = CountLive(mesh.v, mesh.numv, 0);
    counts.liveFaces.resize(static_cast<std::size_t>(mesh.numf));
    for (int f = 0; f < mesh.numf; ++f) counts.liveFaces[f] = !mesh.f[f].GetFlag(MN_DEAD);
    return counts;
}

CutReport MakeCutReport(const MeshCounts& in, const MNMesh& out, const Point3& direction,
                        double seconds) {
    CutReport r;
    r.facesIn = in.faces;
    r.edgesIn = in.edges;
    r.verticesIn = in.vertices;
    r.facesOut = CountLive(out.f, out.numf, 0);
    r.edgesOut = CountLive(out.e, out.nume, 0);
    r.verticesOut = CountLive(out.v, out.numv, 0);
    r.selectedVertices = CountLive(out.v, out.numv, MN_SEL);
    r.selectedEdges = CountLive(out.e, out.nume, MN_SEL);
    r.selectedFaces = CountLive(out.f, out.numf, MN_SEL);
    int shared = std::min(static_cast<int>(in.liveFaces.size()), out.numf);
    for (int f = 0; f < shared; ++f)
        if (in.liveFaces[f] && out.f[f].GetFlag(MN_DEAD) &&
            !out.f[f].GetFlag(cutflags::kCutHandledFace))
            ++r.facesCut;
    r.direction = direction;
    r.seconds = seconds;
    return r;
}

Point3 ProjectionDirectionOf(INode* object, INode* shape, TimeValue t) {
    Object* obj = shape->EvalWorldState(t).obj;
    if (!obj || obj->ClassID() != splineShapeClassID)
        return Point3();
    SplineShape* spline = static_cast<SplineShape*>(obj);
    PolyShape lines;
    spline->MakePolyShape(t, lines, spline->shape.steps, spline->shape.optimize ? TRUE : FALSE);
    Matrix3 objectTM = object->GetObjectTM(t), shapeTM = shape->GetObjectTM(t);
    Matrix3 toObject = Inverse(objectTM);
    Tab<Point3> points;
    for (int i = 0; i < lines.numLines; ++i)
        for (int j = 0; j < lines.lines[i].numPts; ++j) {
            Point3 p = (lines.lines[i].pts[j].p * shapeTM) * toObject;
            points.Append(1, &p);
        }
    if (points.Count() == 0)
        return Point3();
    return OrientProjectionDirection(ComputeProjectionFrame(points), objectTM, shapeTM);
}

std::string CutReportJson(const CutReport& r) {
    QJsonObject in{{"faces", r.facesIn}, {"edges", r.edgesIn}, {"vertices", r.verticesIn}};
    QJsonObject out{{"faces", r.facesOut}, {"edges", r.edgesOut}, {"vertices", r.verticesOut}};
    QJsonObject selected{
        {"vertices", r.selectedVertices}, {"edges", r.selectedEdges}, {"faces", r.selectedFaces}};
    QJsonObject root{
        {"in", in},
        {"out", out},
        {"faces_cut", r.facesCut},
        {"selected", selected},
        {"projection_direction", QJsonArray{r.direction.x, r.direction.y, r.direction.z}},
        {"evaluation_seconds", r.seconds}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}
