// Objects of the scene: BaseObject, Object (with class conversion, pipeline
// branches and channel validity), ObjectState, ModContext and Modifier.
#pragma once

#include "interval.h"
#include "matrix3.h"
#include "ref.h"

class INode;
class Object;
class IParamBlock2;
typedef DWORD ChannelMask;
typedef DWORD BlockID;

// Channels of an object that a modifier uses or changes.
#define TOPO_CHANNEL 0x1
#define GEOM_CHANNEL 0x2
#define TEXMAP_CHANNEL 0x4
#define MTL_CHANNEL 0x8
#define SELECT_CHANNEL 0x10
#define SUBSEL_TYPE_CHANNEL 0x20
#define DISP_ATTRIB_CHANNEL 0x40
#define VERTCOLOR_CHANNEL 0x80
#define NUM_OBJ_CHANNELS 8

// The object flowing up a node's pipeline.
class ObjectState {
public:
    ObjectState() = default;
    explicit ObjectState(Object* o) : obj(o) {}
    Object* obj = nullptr;
};

class BaseObject : public ReferenceTarget {
public:
    virtual std::wstring GetObjectName() { return std::wstring(); }
    virtual int NumParamBlocks() { return 0; }
    virtual IParamBlock2* GetParamBlock(int) { return nullptr; }
    virtual IParamBlock2* GetParamBlockByID(BlockID) { return nullptr; }
};

class Object : public BaseObject {
public:
    // Whether ConvertToType can make an object of class cid.
    virtual int CanConvertToType(Class_ID cid) { return cid == ClassID(); }
    // This object when it is of class cid; otherwise a new object that belongs to
    // the caller, or nullptr.
    virtual Object* ConvertToType(TimeValue, Class_ID cid) {
        return cid == ClassID() ? this : nullptr;
    }
    // The object's state at t: itself, for an object without a pipeline.
    virtual ObjectState Eval(TimeValue) { return ObjectState(this); }
    // A copy of the object, for a pipeline to modify; nullptr where it cannot be copied.
    virtual Object* CopyObject() { return nullptr; }
    // The input objects of a compound object.
    virtual int NumPipeBranches(bool /*selected*/ = true) { return 0; }
    virtual Object* GetPipeBranch(int, bool /*selected*/ = true) { return nullptr; }

    // Narrows the validity of every channel in the mask channels to v.
    void UpdateValidity(int channels, Interval v);
    Interval ChannelValidity(int channel) const;
    // Validity of all channels together.
    Interval ObjectValidity() const;

private:
    Interval chanValid[NUM_OBJ_CHANNELS] = {FOREVER, FOREVER, FOREVER, FOREVER,
                                            FOREVER, FOREVER, FOREVER, FOREVER};
};

// What a modifier application carries: one per application of a modifier.
class ModContext {
public:
    Matrix3 tm;
};

class Modifier : public BaseObject {
public:
    SClass_ID SuperClassID() const override { return OSM_CLASS_ID; }
    virtual Interval LocalValidity(TimeValue) { return FOREVER; }
    virtual ChannelMask ChannelsUsed() = 0;
    virtual ChannelMask ChannelsChanged() = 0;
    virtual Class_ID InputType() = 0;
    // Whether the modifier changes the selection type of the object.
    virtual BOOL ChangesSelType() { return (ChannelsChanged() & SUBSEL_TYPE_CHANNEL) != 0; }
    // Changes os->obj in place, or replaces it (the pipeline then owns the new object).
    virtual void ModifyObject(TimeValue t, ModContext& mc, ObjectState* os, INode* node) = 0;
};
