#include "app/cli/run_cut.h"

#include <ostream>

#include "app/io/atomic_write.h"
#include "app/cli/cut_picture.h"
#include "app/cli/cut_report.h"
#include "app/session/cut_session.h"
#include "app/cli/terminal_progress.h"
#include "app/io/write_mesh.h"

namespace {

// The shape's lines as the evaluation flattens them, in the object's space.
PolyShape ShapeLinesInObjectSpace(const CutSession& session) {
    PolyShape lines;
    auto* shape = static_cast<SplineShape*>(session.ShapeNode()->GetObjectRef());
    shape->MakePolyShape(0, lines, shape->shape.steps, shape->shape.optimize);
    Matrix3 toObject =
        session.ShapeNode()->GetNodeTM(0) * Inverse(session.ObjectNode()->GetNodeTM(0));
    for (int i = 0; i < lines.numLines; ++i)
        for (int j = 0; j < lines.lines[i].numPts; ++j)
            lines.lines[i].pts[j].p = lines.lines[i].pts[j].p * toObject;
    return lines;
}

}  // namespace

int RunCut(const CliOptions& o, std::unique_ptr<PolyObject> object,
           std::unique_ptr<SplineShape> shape, std::ostream& out, std::string& error) {
    std::unique_ptr<CutSession> session = CutSession::Open(o.pluginPath, error);
    if (!session)
        return 1;
    shape->shape.steps = o.steps;
    shape->shape.optimize = o.optimize;
    session->SetObject(object.release(), L"object", o.object.ToMatrix());
    if (o.shape.given)
        session->SetPlacedShape(shape->shape, o.shape.ToMatrix());
    else
        session->SetFittedShape(shape->shape);
    for (const auto& [name, value] : o.sets)
        if (!session->SetParameter(name, value, error))
            return 2;
    session->PickShape();

    TerminalProgress progress(stderr);
    CutOutcome outcome = session->Evaluate([&](long long done, long long total, double seconds) {
        progress.Update(done, total, seconds);
    });
    progress.Finish();
    if (!outcome.evaluated) {
        error = outcome.error;
        return 1;
    }
    if (!o.outPath.empty() && !WriteMesh(o.outPath, outcome.mesh, error))
        return 1;
    if (!o.reportPath.empty() && !WriteFileAtomically(o.reportPath, CutReportJson(outcome), error))
        return 1;
    if (!o.picturePath.empty() &&
        !WriteFileAtomically(
            o.picturePath,
            CutPictureSvg(outcome.mesh, ShapeLinesInObjectSpace(*session), outcome.direction),
            error))
        return 1;
    const CutCounts& c = outcome.counts;
    out << "faces: " << c.facesIn << " in, " << c.facesOut << " out, " << c.facesCut << " cut\n"
        << "selected: " << c.selectedVertices << " vertices, " << c.selectedEdges << " edges, "
        << c.selectedFaces << " faces\n"
        << "evaluation: " << outcome.seconds << " s\n";
    return 0;
}
