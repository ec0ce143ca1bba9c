// Derived objects: an object below and a stack of modifier applications over it.
// Modifier 0 is the top of the stack (the last applied). The world-space form
// holds the world-space modifiers over everything else.
#pragma once

#include <vector>

#include "object.h"

class IDerivedObject : public Object {
public:
    explicit IDerivedObject(bool worldSpace = false) : worldSpace(worldSpace) {}
    ~IDerivedObject() override;

    SClass_ID SuperClassID() const override {
        return worldSpace ? WSM_DERIVOB_CLASS_ID : GEN_DERIVOB_CLASS_ID;
    }
    Class_ID ClassID() const override { return worldSpace ? WSMDerivObjClassID : derivObjClassID; }

    int NumModifiers() const { return static_cast<int>(mods.size()); }
    Modifier* GetModifier(int i) { return mods[i]; }
    ModContext* GetModContext(int i) { return contexts[i]; }
    // The object below the stack.
    Object* GetObjRef() { return objRef; }
    void ReferenceObject(Object* obj) { ReplaceReference(0, obj); }
    // Puts mod at stack position before (0: on top) with a new context; the derived
    // object owns the context.
    void AddModifier(Modifier* mod, int before = 0);
    void DeleteModifier(int i);

    // Evaluates the object below, copies it and applies the modifiers bottom up,
    // converting the object to each modifier's input type first.
    ObjectState Eval(TimeValue t) override;
    int CanConvertToType(Class_ID cid) override;
    Object* ConvertToType(TimeValue t, Class_ID cid) override;

    int NumRefs() override { return 1 + NumModifiers(); }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;

private:
    bool worldSpace;
    Object* objRef = nullptr;
    std::vector<Modifier*> mods;
    std::vector<ModContext*> contexts;
    Object* result = nullptr;  // the last evaluation's object, owned
};

// A compound object: operand objects (its pipeline branches), each evaluated
// through its own pipeline and joined into one poly object.
class CompoundObject : public Object {
public:
    ~CompoundObject() override;
    SClass_ID SuperClassID() const override { return GEOMOBJECT_CLASS_ID; }
    Class_ID ClassID() const override { return compoundObjClassID; }

    void AddOperand(Object* obj);
    int NumPipeBranches(bool = true) override { return static_cast<int>(operands.size()); }
    Object* GetPipeBranch(int i, bool = true) override;
    ObjectState Eval(TimeValue t) override;

    int NumRefs() override { return static_cast<int>(operands.size()); }
    ReferenceTarget* GetReference(int i) override { return operands[i]; }
    void SetReference(int i, ReferenceTarget* target) override;

private:
    std::vector<Object*> operands;
    Object* result = nullptr;
};
