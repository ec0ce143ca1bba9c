// The modify pipeline of the Slitform modifier: shape placement, the face cuts and
// the clean-up, in place on the poly mesh that flows up the stack.
#include <algorithm>
#include <memory>
#include <vector>

#include "contract/cut_mesh_flags.h"
#include "facecut/cut_faces.h"
#include "inode.h"
#include "placement/orient_projection_direction.h"
#include "placement/projection_frame.h"
#include "placement/remove_collinear_vertices.h"
#include "placement/snap_shape_points.h"
#include "plugin/close_t_junctions.h"
#include "plugin/cut_thread_count.h"
#include "plugin/dump_triangulation_input.h"
#include "plugin/join_cut_outlines.h"
#include "plugin/owner_node.h"
#include "plugin/param_block.h"
#include "plugin/slitform.h"
#include "polyobj.h"
#include "splshape.h"

namespace {

// An object the pipeline obtained by conversion: deleted with the evaluation
// unless it is the object it was converted from, or was handed on.
class Converted {
public:
    Converted(Object* obj, Object* from) : obj(obj), owned(obj && obj != from) {}
    Converted(const Converted&) = delete;
    Converted& operator=(const Converted&) = delete;
    ~Converted() {
        if (owned)
            obj->DeleteThis();
    }
    Object* get() const { return obj; }
    Object* Release() {
        owned = false;
        return obj;
    }

private:
    Object* obj;
    bool owned;
};

void ClearFlags(MNMesh& mesh, DWORD vertFlags, DWORD edgeFlags, DWORD faceFlags) {
    for (int i = 0; i < mesh.numv; ++i) mesh.v[i].ClearFlag(vertFlags);
    for (int i = 0; i < mesh.nume; ++i) mesh.e[i].ClearFlag(edgeFlags);
    for (int i = 0; i < mesh.numf; ++i) mesh.f[i].ClearFlag(faceFlags);
}

// Rounds of T-junction closing and welding after the first; each round can only
// expose junctions that the previous weld made visible.
constexpr int kExtraWeldPasses = 4;

// The face cut's trace of its triangulator inputs, written where the cut names.
void DumpInput(const char* path, const triangulateio& input, bool binary) {
    DumpTriangulationInput(QString(path), input, binary);
}

bool HasPoints(const PolyShape& shape) {
    for (int i = 0; i < shape.numLines; ++i)
        if (shape.lines[i].numPts > 0)
            return true;
    return false;
}

}  // namespace

void Slitform::ModifyObject(TimeValue t, ModContext& mc, ObjectState* os, INode*) {
    Interval valid = FOREVER;
    lastCut = CutRecord();
    faceOrigins.clear();
    facesToVisit = 0;
    facesVisited = 0;
    Object* input = os->obj;
    if (!input)
        return;

    // The poly object: the input itself, or a conversion of it.
    std::unique_ptr<Converted> converted;
    PolyObject* poly = nullptr;
    if (input->ClassID() == polyObjectClassID) {
        poly = static_cast<PolyObject*>(input);
    } else {
        if (!input->CanConvertToType(polyObjectClassID))
            return;
        converted = std::make_unique<Converted>(input->ConvertToType(t, polyObjectClassID), input);
        if (!converted->get())
            return;
        poly = static_cast<PolyObject*>(converted->get());
    }
    auto triangles = std::make_unique<Converted>(input->ConvertToType(t, triObjectClassID), input);
    if (!triangles->get() || triangles->get()->ClassID() != triObjectClassID)
        return;

    INode* owner = FindOwnerNode(this, &mc);
    if (!owner)
        return;
    Matrix3 objectTM = owner->GetObjectTM(t);
    Matrix3 objectTMInverse = Inverse(objectTM);

    INode* picked = nullptr;
    pblock->GetValue(pb_pick_path, t, picked, valid);
    if (!picked)
        return;
    Matrix3 shapeTM = picked->GetObjectTM(t);

    Object* shapeObject = picked->EvalWorldState(t).obj;
    if (!shapeObject)
        return;
    std::unique_ptr<Converted> shapeConversion;
    if (shapeObject->ClassID() != splineShapeClassID) {
        if (!shapeObject->CanConvertToType(splineShapeClassID))
            return;
        shapeConversion = std::make_unique<Converted>(
            shapeObject->ConvertToType(t, splineShapeClassID), shapeObject);
        shapeObject = shapeConversion->get();
        if (!shapeObject || shapeObject->ClassID() != splineShapeClassID)
            return;
    }
    SplineShape* spline = static_cast<SplineShape*>(shapeObject);
    PolyShape shape;
    spline->MakePolyShape(t, shape, spline->shape.steps, spline->shape.optimize ? TRUE : FALSE);

    int weldOn = 0, removeUnused = 0, open = 0, local = 0, collinearOn = 0, matidOn = 0, matid = 1,
        through = 0, selLevel = 4;
    float weld = 0.0f, collinear = 0.0f, minAngle = 0.0f;
    pblock->GetValue(pb_weld_on, t, weldOn, valid);
    pblock->GetValue(pb_weld, t, weld, valid);
    pblock->GetValue(pb_remove_unused, t, removeUnused, valid);
    pblock->GetValue(pb_open, t, open, valid);
    pblock->GetValue(pb_local, t, local, valid);
    pblock->GetValue(pb_collinear_on, t, collinearOn, valid);
    pblock->GetValue(pb_collinear, t, collinear, valid);
    pblock->GetValue(pb_matid_on, t, matidOn, valid);
    pblock->GetValue(pb_matid, t, matid, valid);
    pblock->GetValue(pb_through, t, through, valid);
    pblock->GetValue(pb_sel_level, t, selLevel, valid);
    pblock->GetValue(pb_min_angle, t, minAngle, valid);

    // A shape without a single point has no projection frame: leave the object as
    // it came, as when nothing is picked, rather than throw out of the evaluation.
    if (!HasPoints(shape))
        return;

    MNMesh& mesh = poly->mm;
    ClearFlags(mesh, cutflags::kVertexMarks, cutflags::kEdgeMarks, cutflags::kFaceMarks);
    if (poly->GetSubselState() == MNM_SL_OBJECT)
        for (int f = 0; f < mesh.numf; ++f)
            if (!(mesh.f[f].flags & (MN_DEAD | MN_HIDDEN)))
                mesh.f[f].SetFlag(MN_SEL);

    Tab<Point3> points;
    for (int i = 0; i < shape.numLines; ++i)
        for (int j = 0; j < shape.lines[i].numPts; ++j) {
            Point3 p = (shape.lines[i].pts[j].p * shapeTM) * objectTMInverse;
            points.Append(1, &p);
        }
    Point3 direction = OrientProjectionDirection(ComputeProjectionFrame(points), objectTM, shapeTM);
    lastCut = CutRecord{true, direction};
    const std::atomic<bool>* stop = cancelFlag.load();
    auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
    const int threads = CutThreadCount();
    // Stopped by the host: the cut has not begun, and the host throws the object away.
    if (!SnapShapePoints(shape, shapeTM, objectTM, direction, local != 0,
                         static_cast<TriObject*>(triangles->get())->mesh, stop, threads))
        return;
    // The triangle copy served the snapping only; the cuts need its memory.
    triangles.reset();

    // Faces the cuts append are not cut again.
    std::vector<int> selected;
    for (int f = 0; f < mesh.numf; ++f)
        if ((mesh.f[f].flags & MN_SEL) && !(mesh.f[f].flags & MN_DEAD))
            selected.push_back(f);
    facesVisited = 0;
    facesToVisit = static_cast<long long>(selected.size());
    if (stopped())
        return;
    CutSettings settings;
    settings.through = through != 0;
    settings.direction = Point3(direction);
    settings.local = local != 0;
    settings.removeUnused = removeUnused != 0;
    settings.minAngle = minAngle;
    settings.weld = weld;
    settings.threads = threads;
    settings.dumpInput = &DumpInput;
    CutFacesSummary cut = CutFaces(mesh, selected, shape, settings, &facesVisited, stop);
    lastCut.facesAtPointLimit = cut.facesAtPointLimit;
    lastCut.facesOverCrossingLimit = cut.facesOverCrossingLimit;
    // Nothing after the cut adds or moves a face: faces it left keep their index.
    const int firstCreated = mesh.numf - static_cast<int>(cut.createdFrom.size());
    faceOrigins.resize(static_cast<size_t>(firstCreated));
    for (int f = 0; f < firstCreated; ++f) faceOrigins[f] = f;
    faceOrigins.insert(faceOrigins.end(), cut.createdFrom.begin(), cut.createdFrom.end());
    // Stopped by the host: what is left is part cut, and the host throws it away.
    if (stopped())
        return;

    mesh.InvalidateGeomCache();
    ClearFlags(mesh, MN_SEL, 0, 0);
    mesh.PropegateComponentFlags(MNM_SL_VERTEX, MN_SEL, MNM_SL_EDGE, MN_SEL, true, true);
    if (collinearOn)
        RemoveCollinearVertices(mesh, collinear);
    if (weldOn) {
        // As far as the narrowest face cut allows.
        float reach = static_cast<float>(WeldReach(weld, cut.cornerSpacing));
        // The cut knows which copies belong together; distance alone joins points of
        // neighbouring edges where faces are narrower than the reach.
        JoinCutOutlines(mesh, cut.outlineVertices, reach);
        CloseTJunctions(mesh, reach, cutflags::kCutCornerVertex);
        mesh.WeldBorderVerts(reach, cutflags::kCutCornerVertex);
        // A cut point beside a corner waits for the weld to join that corner's copies;
        // only then is it seen as a T-junction on the neighbour's edge.
        for (int pass = 0; pass < kExtraWeldPasses &&
                           CloseTJunctions(mesh, reach, cutflags::kCutCornerVertex) > 0;
             ++pass)
            mesh.WeldBorderVerts(reach, cutflags::kCutCornerVertex);
    }
    if (open) {
        mesh.DeleteFlaggedFaces(cutflags::kInsideFace, 0);
        ClearFlags(mesh, 0, 0, MN_SEL);
    } else {
        ClearFlags(mesh, 0, 0, MN_SEL);
        mesh.PropegateComponentFlags(MNM_SL_FACE, MN_SEL, MNM_SL_FACE, cutflags::kInsideFace, false,
                                     true);
        if (matidOn)
            for (int f = 0; f < mesh.numf; ++f)
                if (mesh.f[f].GetFlag(MN_SEL))
                    mesh.f[f].material = static_cast<MtlID>(matid - 1);
    }
    shapeConversion.reset();
    ClearFlags(mesh, MN_SEL, 0, 0);
    mesh.PropegateComponentFlags(MNM_SL_VERTEX, MN_SEL, MNM_SL_FACE, MN_SEL, false, true);
    mesh.InvalidateGeomCache();

    switch (selLevel) {
        case 0:
            mesh.SetDispFlag(MNDISP_VERTTICKS);
            poly->SetSubSelState(MNM_SL_OBJECT);
            break;
        case 1:
            mesh.SetDispFlag(MNDISP_SELVERTS);
            poly->SetSubSelState(MNM_SL_VERTEX);
            break;
        case 2:
            mesh.SetDispFlag(MNDISP_SELEDGES);
            poly->SetSubSelState(MNM_SL_EDGE);
            break;
        case 3:
            mesh.SetDispFlag(MNDISP_SELFACES);
            poly->SetSubSelState(MNM_SL_FACE);
            break;
        default:
            break;
    }
    poly->UpdateValidity(SLITFORM_CHANNELS, valid);
    // A converted object carries the cut: hand it up the stack in place of the input.
    if (converted)
        os->obj = converted->Release();
}
