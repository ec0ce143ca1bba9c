#include "app/run_cut.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <future>
#include <ostream>

#include "app/atomic_write.h"
#include "app/cut_picture.h"
#include "app/cut_report.h"
#include "app/plugin_loader.h"
#include "app/scene.h"
#include "app/shape_placement.h"
#include "app/terminal_progress.h"
#include "app/write_mesh.h"
#include "resources.h"

namespace {

const Class_ID kSlitformClassID(0x99B58387, 0xD1918693);

// The faces an evaluation may cut: the live visible ones at object level, the
// selected ones otherwise.
long long CandidateFaces(const MNMesh& mesh) {
    long long n = 0;
    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        if (face.GetFlag(MN_DEAD)) continue;
        n += mesh.selLevel == MNM_SL_OBJECT ? !face.GetFlag(MN_HIDDEN) : face.GetFlag(MN_SEL);
    }
    return n;
}

bool ParseNumber(const std::string& text, double& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && errno != ERANGE && std::isfinite(out);
}

}  // namespace

bool SetParameterByName(IParamBlock2* block, const std::string& name, const std::string& value,
                        std::string& error) {
    const ParamDef* def = block->GetDesc()->FindParam(WideFromUtf8(name));
    if (!def || def->type == TYPE_INODE) {
        error = "--set " + name +
                ": no such parameter (remove_unused, weld_on, weld, open, local, collinear_on, "
                "collinear, through, matid_on, matid, sel_level, min_angle)";
        return false;
    }
    double v = 0.0;
    if (def->type == TYPE_BOOL) {
        if (value == "1" || value == "on" || value == "true" || value == "yes")
            v = 1.0;
        else if (value == "0" || value == "off" || value == "false" || value == "no")
            v = 0.0;
        else {
            error = "--set " + name + "=" + value + ": not a switch (use on/off, 1/0, true/false)";
            return false;
        }
        block->SetValue(def->id, 0, static_cast<int>(v));
        return true;
    }
    if (!ParseNumber(value, v) || (def->type == TYPE_INT && v != std::floor(v))) {
        error = "--set " + name + "=" + value + ": not " +
                (def->type == TYPE_INT ? "a whole number" : "a number");
        return false;
    }
    if (def->type == TYPE_INT) {
        if (def->hasRange && (v < def->lowInt || v > def->highInt)) {
            error = "--set " + name + "=" + value + ": out of range " +
                    std::to_string(def->lowInt) + " to " + std::to_string(def->highInt);
            return false;
        }
        block->SetValue(def->id, 0, static_cast<int>(v));
        return true;
    }
    float f = static_cast<float>(v);
    if (def->hasRange && (f < def->lowFloat || f > def->highFloat)) {
        char range[96];
        std::snprintf(range, sizeof range, ": out of range %g to %g", def->lowFloat,
                      def->highFloat);
        error = "--set " + name + "=" + value + range;
        return false;
    }
    block->SetValue(def->id, 0, f);
    return true;
}

int RunCut(const CliOptions& o, std::unique_ptr<PolyObject> objectOwned,
           std::unique_ptr<SplineShape> shapeOwned, std::ostream& out, std::string& error) {
    PluginLibrary lib;
    if (!lib.Load(o.pluginPath.empty() ? DefaultPluginPath() : o.pluginPath, error))
        return 1;
    Modifier* mod = static_cast<Modifier*>(lib.CreateInstance(OSM_CLASS_ID, kSlitformClassID));
    if (!mod) {
        error = "plug-in " + lib.Path() + " offers no Slitform modifier";
        return 1;
    }
    Scene scene;  // after the library: gone before it is unloaded

    SplineShape* shape = shapeOwned.release();
    shape->shape.steps = o.steps;
    shape->shape.optimize = o.optimize;
    Matrix3 objectTM = o.object.ToMatrix();
    Matrix3 shapeTM = o.shape.ToMatrix();
    if (!o.shape.given) {
        ShapePlacement placement;
        if (DefaultShapePlacement(objectOwned->mm, objectTM, shape->shape, placement)) {
            CentreShape(shape->shape, placement);
            shapeTM = TransMatrix(placement.position);
        }
    }
    MeshCounts before = CountMesh(objectOwned->mm);
    long long candidates = CandidateFaces(objectOwned->mm);
    INode* objectNode = scene.AddNode(L"object", objectOwned.release(), objectTM);
    INode* shapeNode = scene.AddNode(L"shape", shape, shapeTM);
    scene.ApplyModifier(objectNode, mod);
    IParamBlock2* block = mod->GetParamBlockByID(0);
    for (const auto& [name, value] : o.sets)
        if (!SetParameterByName(block, name, value, error))
            return 2;
    block->SetValue(0, 0, shapeNode);

    // Evaluate on a worker thread so that the terminal shows progress meanwhile.
    TerminalProgress progress(candidates, stderr);
    long long deletedBefore = HostDeletedFaceCount();
    auto start = std::chrono::steady_clock::now();
    auto since = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::future<Object*> evaluation = std::async(
        std::launch::async, [objectNode] { return objectNode->EvalWorldState(0).obj; });
    while (evaluation.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready)
        progress.Update(HostDeletedFaceCount() - deletedBefore, since());
    Object* result = evaluation.get();
    double seconds = since();
    progress.Finish();
    if (!result || result->ClassID() != polyObjectClassID) {
        error = "the evaluation gave no poly mesh";
        return 1;
    }
    const MNMesh& mesh = static_cast<PolyObject*>(result)->mm;
    Point3 direction = ProjectionDirectionOf(objectNode, shapeNode, 0);
    CutReport report = MakeCutReport(before, mesh, direction, seconds);

    if (!o.outPath.empty() && !WriteMesh(o.outPath, mesh, error))
        return 1;
    if (!o.reportPath.empty() && !WriteFileAtomically(o.reportPath, CutReportJson(report), error))
        return 1;
    if (!o.picturePath.empty()) {
        PolyShape lines;
        shape->MakePolyShape(0, lines, shape->shape.steps, shape->shape.optimize);
        Matrix3 toObject = shapeTM * Inverse(objectTM);
        for (int i = 0; i < lines.numLines; ++i)
            for (int j = 0; j < lines.lines[i].numPts; ++j)
                lines.lines[i].pts[j].p = lines.lines[i].pts[j].p * toObject;
        if (!WriteFileAtomically(o.picturePath, CutPictureSvg(mesh, lines, direction), error))
            return 1;
    }
    out << "faces: " << report.facesIn << " in, " << report.facesOut << " out, " << report.facesCut
        << " cut\n"
        << "selected: " << report.selectedVertices << " vertices, " << report.selectedEdges
        << " edges, " << report.selectedFaces << " faces\n"
        << "evaluation: " << report.seconds << " s\n";
    return 0;
}
