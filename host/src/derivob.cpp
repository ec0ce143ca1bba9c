#include "derivob.h"

#include "evaluation_cancel.h"
#include "polyobj.h"

IDerivedObject::~IDerivedObject() {
    delete result;
    DeleteAllRefs();
    for (ModContext* mc : contexts) delete mc;
}

void IDerivedObject::AddModifier(Modifier* mod, int before) {
    if (before < 0 || before > NumModifiers())
        before = 0;
    mods.insert(mods.begin() + before, nullptr);
    contexts.insert(contexts.begin() + before, new ModContext());
    ReplaceReference(1 + before, mod);
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

void IDerivedObject::DeleteModifier(int i) {
    if (i < 0 || i >= NumModifiers())
        return;
    ReplaceReference(1 + i, nullptr);
    mods.erase(mods.begin() + i);
    delete contexts[i];
    contexts.erase(contexts.begin() + i);
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

ReferenceTarget* IDerivedObject::GetReference(int i) {
    return i == 0 ? static_cast<ReferenceTarget*>(objRef) : mods[i - 1];
}

void IDerivedObject::SetReference(int i, ReferenceTarget* target) {
    if (i == 0)
        objRef = static_cast<Object*>(target);
    else
        mods[i - 1] = static_cast<Modifier*>(target);
}

ObjectState IDerivedObject::Eval(TimeValue t) {
    // Freeing the last result and copying the object are the slow steps no modifier
    // sees: a cancelled evaluation stops before them.
    ThrowIfEvaluationCancelled();
    delete result;
    result = nullptr;
    if (!objRef)
        return ObjectState();
    Object* below = objRef->Eval(t).obj;
    ThrowIfEvaluationCancelled();
    Object* current = below ? below->CopyObject() : nullptr;
    for (int i = NumModifiers() - 1; i >= 0 && current; --i) {
        Modifier* mod = mods[i];
        if (!mod)
            continue;
        Class_ID input = mod->InputType();
        if (current->ClassID() != input) {
            if (!current->CanConvertToType(input))
                continue;
            Object* converted = current->ConvertToType(t, input);
            if (!converted)
                continue;
            if (converted != current)
                delete current;
            current = converted;
        }
        ObjectState os(current);
        try {
            mod->ModifyObject(t, *contexts[i], &os, nullptr);
        } catch (const EvaluationCancelled&) {
            // Freeing a large copy takes a while: it stays as the last result, which
            // the next evaluation frees, so that a cancel returns at once.
            if (os.obj != current)
                delete os.obj;
            result = current;
            throw;
        } catch (...) {
            // A cancelled or failed evaluation leaves no copy behind.
            if (os.obj != current)
                delete os.obj;
            delete current;
            throw;
        }
        if (os.obj != current) {
            delete current;
            current = os.obj;
        }
    }
    result = current;
    return ObjectState(result);
}

int IDerivedObject::CanConvertToType(Class_ID cid) {
    return objRef && objRef->CanConvertToType(cid);
}

Object* IDerivedObject::ConvertToType(TimeValue t, Class_ID cid) {
    Object* evaluated = Eval(t).obj;
    if (!evaluated)
        return nullptr;
    Object* converted = evaluated->ConvertToType(t, cid);
    // The evaluated object belongs to this derived object: hand out a copy.
    return converted == evaluated ? evaluated->CopyObject() : converted;
}

CompoundObject::~CompoundObject() {
    delete result;
    DeleteAllRefs();
}

void CompoundObject::AddOperand(Object* obj) {
    operands.push_back(nullptr);
    ReplaceReference(static_cast<int>(operands.size()) - 1, obj);
}

Object* CompoundObject::GetPipeBranch(int i, bool) {
    return i >= 0 && i < static_cast<int>(operands.size()) ? operands[i] : nullptr;
}

void CompoundObject::SetReference(int i, ReferenceTarget* target) {
    operands[i] = static_cast<Object*>(target);
}

ObjectState CompoundObject::Eval(TimeValue t) {
    delete result;
    PolyObject* joined = new PolyObject();
    result = joined;
    for (Object* operand : operands) {
        if (!operand)
            continue;
        Object* evaluated = operand->Eval(t).obj;
        if (!evaluated || !evaluated->CanConvertToType(polyObjectClassID))
            continue;
        Object* converted = evaluated->ConvertToType(t, polyObjectClassID);
        const MNMesh& part = static_cast<PolyObject*>(converted)->mm;
        std::vector<int> map(part.numv, -1);
        for (int i = 0; i < part.numv; ++i)
            if (!part.v[i].GetFlag(MN_DEAD))
                map[i] = joined->mm.NewVert(part.v[i].p);
        for (int fi = 0; fi < part.numf; ++fi) {
            const MNFace& face = part.f[fi];
            if (face.GetFlag(MN_DEAD))
                continue;
            std::vector<int> corners;
            for (int c : face.vtx) corners.push_back(map[c]);
            int nf = joined->mm.CreateFace(face.deg, corners.data());
            if (nf >= 0) {
                joined->mm.f[nf].smGroup = face.smGroup;
                joined->mm.f[nf].material = face.material;
            }
        }
        if (converted != evaluated)
            delete converted;
    }
    return ObjectState(result);
}
