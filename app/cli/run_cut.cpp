#include "app/cli/run_cut.h"

#include <cstdio>
#include <future>
#include <ostream>
#include <vector>

#include "app/cli/cut_picture.h"
#include "app/cli/terminal_progress.h"
#include "io/atomic_write.h"
#include "io/file_bytes.h"
#include "io/write_mesh.h"
#include "resources.h"
#include "session/cut_report.h"
#include "session/cut_session.h"

namespace {

// Seconds as the report rounds them: to the millisecond.
std::string EvaluationSeconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

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

// The warnings with what to do about them here.
void WarnAboutTheResult(const CutOutcome& outcome, const CutReport& report, std::ostream& err) {
    for (const CutWarning& w : CutWarnings(report, outcome)) {
        err << "slitform: warning: " << w.message;
        if (w.kind == CutWarning::Kind::CutNoFace)
            err << "; see slitform cut --help for how to place it over the mesh";
        else if (w.kind == CutWarning::Kind::SplitWithoutWeld)
            err << "; --set weld_on=on joins them";
        err << "\n";
    }
}

}  // namespace

int RunCut(const CliOptions& o, std::unique_ptr<PolyObject> object,
           const MeshAttributes& attributes, std::unique_ptr<SplineShape> shape, std::ostream& out,
           std::ostream& err, std::string& error) {
    std::unique_ptr<CutSession> session = CutSession::Open(o.pluginPath, error);
    if (!session)
        return 1;
    CutReport report;
    report.version = SLITFORM_VERSION;
    report.meshPath = o.meshPath;
    report.shapePath = o.shapePath;
    if (!o.text.empty()) {
        report.text = o.text;
        report.font = o.font;
    }
    report.pluginPath = session->Library().Path();
    report.steps = shape->shape.steps = o.steps;
    report.optimize = shape->shape.optimize = o.optimize;
    report.healthIn = MeasureMeshHealth(object->mm);
    session->SetObject(object.release(), L"object", o.object.ToMatrix());
    // The mesh's up axis: as the user says, else as its format defines it.
    MeshAttributes carried = attributes;
    if (!o.up.empty())
        carried.up = o.up == "y" ? slitform::UpAxis::Y : slitform::UpAxis::Z;
    session->SetMeshAttributes(carried);
    if (o.shape.matrix) {
        report.placement = "matrix";
        session->SetPlacedShape(shape->shape, *o.shape.matrix);
    } else {
        report.placement = o.shape.given ? "fitted and adjusted" : "fitted";
        const bool yUp = carried.up == slitform::UpAxis::Y;
        report.up = yUp ? "y" : "z";
        session->SetFittedShape(shape->shape, L"shape", o.shape.ToMatrix(),
                                yUp ? UpAxis::Y : UpAxis::Z);
    }
    report.objectTM = session->ObjectNode()->GetNodeTM(0);
    report.shapeTM = session->ShapeNode()->GetNodeTM(0);
    for (const auto& [name, value] : o.sets)
        if (!session->SetParameter(name, value, error)) {
            error = "--set " + error;
            return 2;
        }
    session->PickShape();
    report.parameters = session->ReportedParameters();

    TerminalProgress progress(stderr);
    CutOutcome outcome = session->Evaluate([&](long long done, long long total, double seconds) {
        progress.Update(done, total, seconds);
    });
    progress.Finish();
    if (!outcome.evaluated) {
        error = o.meshPath + ": " + outcome.error;
        return 1;
    }
    // Measured beside the writing, which only reads the result.
    std::future<MeshHealth> healthOut =
        std::async(std::launch::async, [&outcome] { return MeasureMeshHealth(outcome.mesh); });
    bool reportToStdout = o.reportPath == "-";
    MeshWriteOptions writing;
    writing.attributes = &outcome.attributes;
    writing.cutLines = o.cutLines;
    writing.plyEncoding = o.plyBinary  ? PlyEncoding::BinaryLittleEndian
                          : o.plyAscii ? PlyEncoding::Ascii
                                       : DefaultPlyEncoding(outcome.counts.facesOut);
    if (!o.outPath.empty() && !WriteMesh(o.outPath, outcome.mesh, writing, error))
        return 1;
    report.healthOut = healthOut.get();
    if (reportToStdout)
        out << CutReportJson(report, outcome);
    else if (!o.reportPath.empty() &&
             !WriteFileAtomically(o.reportPath, CutReportJson(report, outcome), error))
        return 1;
    if (!o.picturePath.empty() &&
        !WriteFileAtomically(
            o.picturePath,
            CutPictureSvg(outcome.mesh, ShapeLinesInObjectSpace(*session), outcome.direction),
            error))
        return 1;
    WarnAboutTheResult(outcome, report, err);
    const CutCounts& c = outcome.counts;
    (reportToStdout ? err : out) << "faces: " << c.facesIn << " in, " << c.facesOut << " out, "
                                 << c.facesCut << " cut\n"
                                 << "selected: " << c.selectedVertices << " vertices, "
                                 << c.selectedEdges << " edges, " << c.selectedFaces << " faces\n"
                                 << "evaluation: " << EvaluationSeconds(outcome.seconds) << " s\n";
    return 0;
}
