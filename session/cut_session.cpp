#include "session/cut_session.h"

#include <chrono>
#include <exception>
#include <future>
#include <new>
#include <utility>

#include "contract/cut_record.h"
#include "derivob.h"
#include "evaluation_cancel.h"
#include "resources.h"
#include "session/carry_attributes.h"
#include "session/parameter_by_name.h"
#include "session/parameter_values.h"
#include "session/shape_placement.h"
#include "session/slitform_modifier.h"

namespace {

// The faces an evaluation may cut: the live visible ones at object level, the
// selected ones otherwise.
long long CandidateFaces(const MNMesh& mesh) {
    long long n = 0;
    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        if (face.GetFlag(MN_DEAD))
            continue;
        n += mesh.selLevel == MNM_SL_OBJECT ? !face.GetFlag(MN_HIDDEN) : face.GetFlag(MN_SEL);
    }
    return n;
}

// Per face of out, the face of in it came from, as the plug-in recorded it (-1 for a
// dead face). Faces past its record, or all of them where the plug-in keeps none,
// keep their index if in has it.
std::vector<int> FaceOrigins(SlitformFaceOriginsFn originsOf, Modifier* mod, const MNMesh& in,
                             const MNMesh& out) {
    const int* recorded = nullptr;
    int count = 0;
    if (!originsOf || !originsOf(mod, &recorded, &count))
        count = 0;
    std::vector<int> origin(static_cast<std::size_t>(out.numf), -1);
    for (int f = 0; f < out.numf; ++f) {
        int from = f < count ? recorded[f] : f < in.numf ? f : -1;
        if (!out.f[f].GetFlag(MN_DEAD) && from >= 0 && from < in.numf)
            origin[f] = from;
    }
    return origin;
}

}  // namespace

std::unique_ptr<CutSession> CutSession::Open(const std::string& path, std::string& error) {
    auto lib = std::make_shared<PluginLibrary>();
    if (!lib->Load(path.empty() ? DefaultPluginPath() : path, error))
        return nullptr;
    auto session = std::make_unique<CutSession>(lib);
    if (!session->Mod()) {
        error = "plug-in " + lib->Path() + " offers no Slitform modifier";
        return nullptr;
    }
    return session;
}

CutSession::CutSession(std::shared_ptr<const PluginLibrary> library) : lib(std::move(library)) {
    objectNode = scene.AddNode(L"object", new PolyObject());
    mod = NewSlitformModifier(*lib);
    if (mod)
        scene.ApplyModifier(objectNode, mod);
}

CutSession::~CutSession() = default;

IParamBlock2* CutSession::Block() const {
    return mod ? mod->GetParamBlockByID(0) : nullptr;
}

INode* CutSession::PickedNode() const {
    IParamBlock2* block = Block();
    if (!block)
        return nullptr;
    for (const ParamDef& def : block->GetDesc()->params)
        if (def.type == TYPE_INODE)
            return block->GetINode(def.id);
    return nullptr;
}

const MNMesh& CutSession::Mesh() const {
    Object* base = objectNode->GetObjectRef();
    if (base && base->SuperClassID() == GEN_DERIVOB_CLASS_ID)
        base = static_cast<IDerivedObject*>(base)->GetObjRef();
    return static_cast<PolyObject*>(base)->mm;
}

void CutSession::SetMesh(MNMesh mesh, const std::wstring& name, const Matrix3& tm) {
    auto* object = new PolyObject();
    object->mm = std::move(mesh);
    SetObject(object, name, tm);
}

void CutSession::SetObject(PolyObject* object, const std::wstring& name, const Matrix3& tm) {
    Object* top = objectNode->GetObjectRef();
    if (top && top->SuperClassID() == GEN_DERIVOB_CLASS_ID)
        static_cast<IDerivedObject*>(top)->ReferenceObject(object);
    else
        objectNode->SetObjectRef(object);
    objectNode->SetName(name);
    objectNode->SetNodeTM(0, tm);
    attributes = MeshAttributes();
    if (shapeNode && fitted)
        FitShape();
}

void CutSession::SetMeshAttributes(const MeshAttributes& meshAttributes) {
    attributes = meshAttributes;
}

void CutSession::SetFittedShape(const BezierShape& shape, const std::wstring& name,
                                const Matrix3& adjust, UpAxis up) {
    fitted = true;
    fitUp = up;
    shapeAsRead = shape;
    fitAdjust = adjust;
    SetShapeNode(new SplineShape(), Matrix3(), name);
    FitShape();
}

void CutSession::AdjustFittedShape(const Matrix3& adjust) {
    if (!shapeNode || !fitted)
        return;
    fitAdjust = adjust;
    FitShape();
}

void CutSession::SetPlacedShape(const BezierShape& shape, const Matrix3& tm,
                                const std::wstring& name) {
    auto* object = new SplineShape();
    object->shape = shape;
    SetShapeObject(object, tm, name);
}

void CutSession::SetShapeObject(Object* shape, const Matrix3& tm, const std::wstring& name) {
    fitted = false;
    shapeAsRead = BezierShape();
    fitAdjust = Matrix3();
    SetShapeNode(shape, tm, name);
}

INode* CutSession::AddNode(const std::wstring& name, Object* obj, const Matrix3& tm) {
    return scene.AddNode(name, obj, tm);
}

void CutSession::SetShapeNode(Object* shape, const Matrix3& tm, const std::wstring& name) {
    if (!shapeNode) {
        shapeNode = scene.AddNode(name, shape, tm);
        return;
    }
    shapeNode->SetObjectRef(shape);
    shapeNode->SetNodeTM(0, tm);
    shapeNode->SetName(name);
}

void CutSession::FitShape() {
    auto* object = new SplineShape();
    object->shape = shapeAsRead;
    Matrix3 tm;
    ShapePlacement placement;
    if (DefaultShapePlacement(Mesh(), objectNode->GetNodeTM(0), object->shape, fitUp, placement)) {
        CentreShape(object->shape, placement);
        tm = placement.node;
    }
    shapeNode->SetObjectRef(object);
    shapeNode->SetNodeTM(0, fitAdjust * tm);
}

void CutSession::PickShape(bool pick) {
    IParamBlock2* block = Block();
    if (!block)
        return;
    INode* node = pick ? shapeNode : nullptr;
    for (const ParamDef& def : block->GetDesc()->params)
        if (def.type == TYPE_INODE)
            block->SetValue(def.id, 0, node);
}

std::vector<ReportedParameter> CutSession::ReportedParameters() const {
    std::vector<ReportedParameter> parameters;
    IParamBlock2* block = Block();
    if (!block)
        return parameters;
    for (const ParamDef& def : block->GetDesc()->params) {
        ReportedParameter p;
        p.name = Utf8FromWide(def.intName);
        if (def.type == TYPE_FLOAT) {
            p.value = block->GetFloat(def.id);
        } else if (def.type == TYPE_INT || def.type == TYPE_BOOL) {
            p.kind = def.type == TYPE_BOOL ? ReportedParameter::Kind::Switch
                                           : ReportedParameter::Kind::Whole;
            p.value = block->GetInt(def.id);
        } else {
            continue;
        }
        parameters.push_back(p);
    }
    return parameters;
}

bool CutSession::SetParameter(const std::string& name, const std::string& value,
                              std::string& error) {
    IParamBlock2* block = Block();
    if (!block) {
        error = "the plug-in offers no Slitform modifier";
        return false;
    }
    return SetParameterByName(block, name, value, error);
}

void CutSession::NameInsideMaterial(MeshAttributes& out) const {
    const ParamDef* on = Block()->GetDesc()->FindParam(L"matid_on");
    const ParamDef* id = Block()->GetDesc()->FindParam(L"matid");
    if (!on || !id || Block()->GetInt(on->id) == 0 || Block()->GetInt(id->id) < 1)
        return;
    auto index = static_cast<std::size_t>(Block()->GetInt(id->id) - 1);
    if (out.materialNames.size() <= index)
        out.materialNames.resize(index + 1);
    if (out.materialNames[index].empty())
        out.materialNames[index] = kInsideMaterialName;
}

CutOutcome CutSession::Evaluate(const CutProgress& progress, bool copyMesh,
                                const std::atomic<bool>* cancel) {
    CutOutcome outcome;
    const MNMesh& in = Mesh();
    if (!mod) {
        outcome.error = "the plug-in offers no Slitform modifier";
        outcome.mesh = in;
        return outcome;
    }
    MeshCounts before = CountMesh(in);
    // The plug-in watches the flag itself between faces, on every thread of its cut.
    auto watchOf = reinterpret_cast<SlitformWatchCancelFn>(lib->Symbol(CUT_CANCEL_EXPORT));
    struct Watch {
        SlitformWatchCancelFn fn;
        Modifier* modifier;
        ~Watch() {
            if (fn)
                fn(modifier, nullptr);
        }
    } watch{cancel ? watchOf : nullptr, mod};
    if (watch.fn)
        watch.fn(mod, cancel);
    try {
        auto start = std::chrono::steady_clock::now();
        auto since = [&] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        };
        Object* out = nullptr;
        if (progress) {
            long long total = CandidateFaces(in);
            long long deletedBefore = HostDeletedFaceCount();
            INode* node = objectNode;
            std::future<Object*> evaluation = std::async(std::launch::async, [node, cancel] {
                EvaluationCancelScope scope(cancel);
                return node->EvalWorldState(0).obj;
            });
            // The plug-in's own count of the faces its cut has visited, where it
            // offers one (earlier builds count only the faces they replaced).
            auto progressOf =
                reinterpret_cast<SlitformCutProgressFn>(lib->Symbol(CUT_PROGRESS_EXPORT));
            Modifier* modifier = mod;
            while (evaluation.wait_for(std::chrono::milliseconds(100)) !=
                   std::future_status::ready) {
                long long visited = 0, visiting = 0;
                if (progressOf && progressOf(modifier, &visited, &visiting))
                    progress(visited, visiting > 0 ? visiting : total, since());
                else
                    progress(HostDeletedFaceCount() - deletedBefore, total, since());
            }
            out = evaluation.get();
            progress(total, total, since());
        } else {
            EvaluationCancelScope scope(cancel);
            out = objectNode->EvalWorldState(0).obj;
        }
        outcome.seconds = since();
        if (cancel && cancel->load())
            throw EvaluationCancelled();
        if (!out || out->ClassID() != polyObjectClassID) {
            outcome.error = "the evaluation gave no poly mesh";
            outcome.mesh = in;
            return outcome;
        }
        MNMesh& result = static_cast<PolyObject*>(out)->mm;
        outcome.counts = CountCut(before, result);
        if (copyMesh) {
            outcome.attributes = CarryAttributes(
                in, attributes, result,
                FaceOrigins(
                    reinterpret_cast<SlitformFaceOriginsFn>(lib->Symbol(FACE_ORIGINS_EXPORT)), mod,
                    in, result));
            NameInsideMaterial(outcome.attributes);
            // The pipeline copied the mesh for this evaluation and frees that copy at the
            // next: taken, not copied again.
            outcome.mesh = std::move(result);
        }
        auto recordOf = reinterpret_cast<SlitformCutRecordFn>(lib->Symbol(CUT_RECORD_EXPORT));
        const CutRecord* record = recordOf ? recordOf(mod) : nullptr;
        if (record && record->cut) {
            outcome.directionKnown = true;
            outcome.direction = record->projectionDirection;
            outcome.facesAtPointLimit = record->facesAtPointLimit;
            outcome.facesOverCrossingLimit = record->facesOverCrossingLimit;
        }
        outcome.evaluated = true;
    } catch (const EvaluationCancelled& e) {
        outcome.error = e.what();
        outcome.cancelled = true;
    } catch (const std::bad_alloc&) {
        // Copying the input again could run out too: give back nothing instead.
        outcome.error = "out of memory while evaluating the cut";
        outcome.outOfMemory = true;
        outcome.mesh = MNMesh();
    } catch (const std::exception& e) {
        outcome.error = e.what();
        outcome.mesh = in;
    }
    return outcome;
}

std::unique_ptr<CutSession> CutSession::Clone() const {
    auto copy = std::make_unique<CutSession>(lib);
    copy->SetMesh(Mesh(), objectNode->GetName(), objectNode->GetNodeTM(0));
    copy->attributes = attributes;
    Object* shape = shapeNode ? shapeNode->GetObjectRef() : nullptr;
    if (shape && shape->ClassID() == splineShapeClassID) {
        auto* spline = new SplineShape();
        spline->shape = static_cast<SplineShape*>(shape)->shape;
        copy->SetShapeNode(spline, shapeNode->GetNodeTM(0), shapeNode->GetName());
        copy->fitted = fitted;
        copy->shapeAsRead = shapeAsRead;
        copy->fitAdjust = fitAdjust;
        copy->fitUp = fitUp;
    }
    if (Block() && copy->Block()) {
        SetParameterValues(copy->Block(), ParameterValuesOf(Block()));
        copy->PickShape(shapeNode && PickedNode() == shapeNode && copy->shapeNode);
    }
    return copy;
}
