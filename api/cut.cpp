#include "slitform/cut.h"

#include <atomic>
#include <future>
#include <mutex>
#include <string>

#include "api/library_lock.h"
#include "api/mesh_conversion.h"
#include "api/plugin_path.h"
#include "api/shape_conversion.h"
#include "resources.h"
#include "session/cut_report.h"
#include "session/cut_session.h"
#include "session/mesh_health.h"

namespace slitform {

namespace {

// The session unloads the plug-in when it was the last to hold it.
struct SessionCloser {
    void operator()(CutSession* session) const {
        std::lock_guard<std::mutex> hold(LibraryLoadLock());
        delete session;
    }
};

// The counts, and the whole report as the command line writes it (the mesh and shape
// came as values: no file names).
void FillReport(const CutOutcome& result, const CutSession& session, const Shape& shape,
                const MeshHealth& healthIn, const MeshHealth& healthOut, Report& report) {
    const CutCounts& c = result.counts;
    report.facesIn = c.facesIn;
    report.edgesIn = c.edgesIn;
    report.verticesIn = c.verticesIn;
    report.facesOut = c.facesOut;
    report.edgesOut = c.edgesOut;
    report.verticesOut = c.verticesOut;
    report.facesCut = c.facesCut;
    report.selectedVertices = c.selectedVertices;
    report.selectedEdges = c.selectedEdges;
    report.selectedFaces = c.selectedFaces;
    report.directionKnown = result.directionKnown;
    report.direction = {result.direction.x, result.direction.y, result.direction.z};
    report.seconds = result.seconds;
    CutReport full;
    full.version = SLITFORM_VERSION;
    full.pluginPath = session.Library().Path();
    full.placement = shape.placed ? "matrix" : "fitted";
    if (!shape.placed)
        full.up = shape.up == UpAxis::Y ? "y" : "z";
    full.objectTM = session.ObjectNode()->GetNodeTM(0);
    full.shapeTM = session.ShapeNode()->GetNodeTM(0);
    full.steps = shape.steps;
    full.parameters = session.ReportedParameters();
    full.healthIn = healthIn;
    full.healthOut = healthOut;
    for (const ReportedParameter& p : full.parameters)
        report.parameters.emplace_back(p.name, p.value);
    for (const CutWarning& w : CutWarnings(full, result)) report.warnings.push_back(w.message);
    report.json = CutReportJson(full, result);
}

}  // namespace

Outcome Cut(const Mesh& mesh, const Shape& shape, const Parameters& parameters,
            Progress* progress) {
    if (mesh.FaceCount() == 0)
        throw Error(ErrorCode::BadInput, "mesh: no faces");
    MeshAttributes attributes;
    MNMesh poly = ToPolyMesh(mesh, &attributes);
    BezierShape bezier = ToBezierShape(shape);
    Matrix3 placement = shape.placed ? ToMatrix(shape) : Matrix3();

    std::string error;
    std::unique_ptr<CutSession, SessionCloser> session;
    {
        std::lock_guard<std::mutex> hold(LibraryLoadLock());
        session.reset(CutSession::Open(PluginPath(parameters.plugin), error).release());
    }
    if (!session)
        throw Error(ErrorCode::PluginMissing, error);
    const MeshHealth healthIn = MeasureMeshHealth(poly);
    session->SetMesh(std::move(poly));
    session->SetMeshAttributes(attributes);
    if (shape.placed)
        session->SetPlacedShape(bezier, placement);
    else
        session->SetFittedShape(bezier, L"shape", Matrix3(),
                                shape.up == UpAxis::Y ? ::UpAxis::Y : ::UpAxis::Z);
    for (const auto& [name, value] : parameters.Values())
        if (!session->SetParameter(name, value, error))
            throw Error(ErrorCode::BadParameter, "parameter " + error);
    session->PickShape();

    std::atomic<bool> cancelled{false};
    CutProgress hook;
    if (progress)
        hook = [&](long long done, long long total, double seconds) {
            if (!cancelled && !progress->Update(done, total, seconds))
                cancelled = true;
        };
    CutOutcome result = session->Evaluate(hook, true, &cancelled);
    if (cancelled)
        throw Error(ErrorCode::Cancelled, "the cut was cancelled");
    if (!result.evaluated)
        throw Error(result.outOfMemory ? ErrorCode::OutOfMemory : ErrorCode::CutFailed,
                    "the cut failed: " + result.error);
    // The result's health is measured beside its conversion: both only read it.
    std::future<MeshHealth> healthOut =
        std::async(std::launch::async, [&result] { return MeasureMeshHealth(result.mesh); });
    Outcome outcome;
    outcome.mesh = FromPolyMesh(result.mesh, result.attributes, &outcome);
    FillReport(result, *session, shape, healthIn, healthOut.get(), outcome.report);
    return outcome;
}

}  // namespace slitform
