#include "app/studio/evaluate_copy.h"

#include <chrono>
#include <exception>
#include <new>

#include "app/cut_report.h"
#include "app/scene.h"
#include "polyobj.h"

namespace {

const Class_ID kSlitformClassID(0x99B58387, 0xD1918693);

}  // namespace

std::vector<ParameterValue> ParameterValuesOf(IParamBlock2* block) {
    std::vector<ParameterValue> values;
    for (const ParamDef& def : block->GetDesc()->params) {
        if (def.type == TYPE_INODE)
            continue;
        ParameterValue v;
        v.id = def.id;
        v.isFloat = def.type == TYPE_FLOAT;
        if (v.isFloat)
            v.value = block->GetFloat(def.id);
        else
            v.whole = block->GetInt(def.id);
        values.push_back(v);
    }
    return values;
}

EvaluationResult EvaluateCopy(const PluginLibrary& lib, const EvaluationInput& input) {
    EvaluationResult result;
    result.mesh = input.mesh;
    Modifier* mod = static_cast<Modifier*>(lib.CreateInstance(OSM_CLASS_ID, kSlitformClassID));
    if (!mod) {
        result.error = "the plug-in offers no Slitform modifier";
        return result;
    }
    Scene scene;
    auto* object = new PolyObject();
    object->mm = input.mesh;
    INode* objectNode = scene.AddNode(L"object", object, input.objectTM);
    INode* shapeNode = nullptr;
    if (input.hasShape) {
        auto* shape = new SplineShape();
        shape->shape = input.shape;
        shapeNode = scene.AddNode(L"shape", shape, input.shapeTM);
    }
    scene.ApplyModifier(objectNode, mod);
    IParamBlock2* block = mod->GetParamBlockByID(0);
    for (const ParameterValue& v : input.parameters) {
        if (v.isFloat)
            block->SetValue(v.id, 0, v.value);
        else
            block->SetValue(v.id, 0, v.whole);
    }
    if (shapeNode && input.shapePicked)
        for (const ParamDef& def : block->GetDesc()->params)
            if (def.type == TYPE_INODE)
                block->SetValue(def.id, 0, shapeNode);

    try {
        auto start = std::chrono::steady_clock::now();
        Object* out = objectNode->EvalWorldState(0).obj;
        result.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!out || out->ClassID() != polyObjectClassID) {
            result.error = "the evaluation gave no poly mesh";
            return result;
        }
        result.mesh = static_cast<PolyObject*>(out)->mm;
        Point3 direction = shapeNode ? ProjectionDirectionOf(objectNode, shapeNode, 0) : Point3();
        CutReport report =
            MakeCutReport(CountMesh(input.mesh), result.mesh, direction, result.seconds);
        result.facesCut = report.facesCut;
        result.selectedEdges = report.selectedEdges;
        result.evaluated = true;
    } catch (const std::bad_alloc&) {
        // Copying the input again could run out too: show nothing instead.
        result.error = "out of memory while evaluating the cut";
        result.mesh = MNMesh();
    } catch (const std::exception& e) {
        result.error = e.what();
        result.mesh = input.mesh;
    }
    return result;
}
