#include "plugin/owner_node.h"

#include "derivob.h"

int MyEnumProc::proc(ReferenceMaker* rmaker) {
    if (rmaker->SuperClassID() == BASENODE_CLASS_ID) {
        INode* node = static_cast<INode*>(rmaker);
        Nodes.Append(1, &node);
        ++count;
    }
    return DEP_ENUM_CONTINUE;
}

INode* FindOwnerNode(Modifier* mod, ModContext* mc) {
    MyEnumProc dep;
    mod->DoEnumDependents(&dep);
    for (int i = 0; i < dep.count; ++i) {
        INode* node = dep.Nodes[i];
        Object* obj = node->GetObjectRef();
        if (FindModContextIndex(mc, obj))
            return node;
        if (obj && obj->SuperClassID() == WSM_DERIVOB_CLASS_ID &&
            obj->ClassID() == WSMDerivObjClassID) {
            // Below the world-space modifiers.
            Object* below = static_cast<Object*>(node->GetObjectRef()->GetReference(0));
            if (FindModContextIndex(mc, below))
                return node;
        }
    }
    return nullptr;
}

bool FindModContextIndex(ModContext* mc, Object* obj) {
    while (obj && obj->SuperClassID() == GEN_DERIVOB_CLASS_ID) {
        IDerivedObject* derived = static_cast<IDerivedObject*>(obj);
        for (int i = 0; i < derived->NumModifiers(); ++i)
            if (derived->GetModContext(i) == mc)
                return true;
        obj = derived->GetObjRef();
    }
    if (!obj)
        return false;
    for (int b = 0; b < obj->NumPipeBranches(false); ++b)
        if (FindModContextIndex(mc, obj->GetPipeBranch(b, false)))
            return true;
    return false;
}
