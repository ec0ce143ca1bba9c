// INode: a node of the scene, carrying an object (or the top of its pipeline) and
// a transform.
#pragma once

#include <string>

#include "matrix3.h"
#include "object.h"

class INode : public ReferenceTarget {
public:
    INode() = default;
    ~INode() override;

    SClass_ID SuperClassID() const override { return BASENODE_CLASS_ID; }
    Class_ID ClassID() const override { return Class_ID(BASENODE_CLASS_ID, 0); }
    // The scene owns its nodes.
    bool AutoDelete() const override { return false; }

    const std::wstring& GetName() const { return name; }
    void SetName(const std::wstring& n) { name = n; }

    // The object at the top of the node's pipeline (a derived object when modified).
    Object* GetObjectRef() { return objRef; }
    void SetObjectRef(Object* obj);
    // Object space to world space: the object offset, then the node transform.
    Matrix3 GetObjectTM(TimeValue t, Interval* valid = nullptr);
    Matrix3 GetNodeTM(TimeValue t, Interval* valid = nullptr);
    void SetNodeTM(TimeValue t, const Matrix3& tm);
    void SetObjOffset(const Matrix3& offset);
    // Evaluates the pipeline at t; the state stays valid until the next evaluation.
    const ObjectState& EvalWorldState(TimeValue t);

    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int) override { return objRef; }
    void SetReference(int, ReferenceTarget* target) override;
    RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID&, RefMessage,
                               bool) override {
        return REF_SUCCEED;
    }

private:
    std::wstring name;
    Object* objRef = nullptr;
    Matrix3 nodeTM;
    Matrix3 objOffset;
    ObjectState state;
};
