#include "session/scene.h"

#include "derivob.h"

Scene::~Scene() {
    // Objects referenced by several nodes go with the last of them.
    while (!nodes.empty()) nodes.pop_back();
}

INode* Scene::AddNode(const std::wstring& name, Object* obj, const Matrix3& tm) {
    nodes.push_back(std::make_unique<INode>());
    INode* node = nodes.back().get();
    node->SetName(name);
    node->SetNodeTM(0, tm);
    node->SetObjectRef(obj);
    return node;
}

INode* Scene::FindNode(const std::wstring& name) const {
    for (const auto& node : nodes)
        if (node->GetName() == name)
            return node.get();
    return nullptr;
}

void Scene::ApplyModifier(INode* node, Modifier* mod) {
    Object* top = node->GetObjectRef();
    IDerivedObject* worldSpace = nullptr;
    if (top && top->SuperClassID() == WSM_DERIVOB_CLASS_ID) {
        worldSpace = static_cast<IDerivedObject*>(top);
        top = worldSpace->GetObjRef();
    }
    IDerivedObject* derived = nullptr;
    if (top && top->SuperClassID() == GEN_DERIVOB_CLASS_ID) {
        derived = static_cast<IDerivedObject*>(top);
    } else {
        derived = new IDerivedObject();
        derived->ReferenceObject(top);
        if (worldSpace)
            worldSpace->ReferenceObject(derived);
        else
            node->SetObjectRef(derived);
    }
    derived->AddModifier(mod);
}

void Scene::ApplyWorldSpaceModifier(INode* node, Modifier* mod) {
    Object* top = node->GetObjectRef();
    if (!top || top->SuperClassID() != WSM_DERIVOB_CLASS_ID) {
        IDerivedObject* worldSpace = new IDerivedObject(true);
        worldSpace->ReferenceObject(top);
        node->SetObjectRef(worldSpace);
        top = worldSpace;
    }
    static_cast<IDerivedObject*>(top)->AddModifier(mod);
}
