// References and change notifications: the host's Animatable, ReferenceMaker and
// ReferenceTarget. A maker holds numbered references to targets; a target keeps
// its dependents (the makers that reference it) and notifies them of changes.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "classid.h"
#include "interval.h"
#include "maxtypes.h"

typedef DWORD PartID;
typedef int RefMessage;
typedef int RefResult;

// Results of NotifyRefChanged.
#define REF_FAIL 0
#define REF_SUCCEED 1
#define REF_DONTCARE 2
#define REF_STOP 3

// Messages.
#define REFMSG_CHANGE 0x50
#define REFMSG_BEGIN_EDIT 0x90
#define REFMSG_END_EDIT 0xA0
#define REFMSG_MOD_DISPLAY_ON 0xF2
#define REFMSG_MOD_DISPLAY_OFF 0xF3

// Parts of an object that a change concerns.
#define PART_TOPO 0x1
#define PART_GEOM 0x2
#define PART_TEXMAP 0x4
#define PART_MTL 0x8
#define PART_SELECT 0x10
#define PART_SUBSEL_TYPE 0x20
#define PART_DISPLAY 0x40
#define PART_VERTCOLOR 0x80
#define PART_TM 0x100
#define PART_OBJ \
    (PART_TOPO | PART_GEOM | PART_TEXMAP | PART_SELECT | PART_SUBSEL_TYPE | PART_VERTCOLOR)
#define PART_ALL 0x800037FF

// Which dependents a notification reaches.
#define NOTIFY_ALL static_cast<SClass_ID>(0xfffffff0)

// Animatable flag: the object's parameters are being edited.
#define A_MOD_BEING_EDITED 0x40

class ReferenceTarget;
class ReferenceMaker;
class RemapDir;
class Interface;
typedef Interface IObjParam;
class Animatable;

class Animatable {
public:
    virtual ~Animatable() = default;
    virtual void DeleteThis() { delete this; }
    virtual void GetClassName(std::wstring& s) const { s.clear(); }
    virtual SClass_ID SuperClassID() const = 0;
    virtual Class_ID ClassID() const = 0;
    virtual int NumSubs() { return 0; }
    virtual Animatable* SubAnim(int) { return nullptr; }
    virtual std::wstring SubAnimName(int) { return std::wstring(); }
    virtual void BeginEditParams(IObjParam*, ULONG, Animatable*) {}
    virtual void EndEditParams(IObjParam*, ULONG, Animatable*) {}

    void SetAFlag(DWORD mask) { aflag |= mask; }
    void ClearAFlag(DWORD mask) { aflag &= ~mask; }
    bool TestAFlag(DWORD mask) const { return (aflag & mask) != 0; }

private:
    DWORD aflag = 0;
};

class ReferenceMaker : public Animatable {
public:
    ReferenceMaker() = default;
    ReferenceMaker(const ReferenceMaker&) = delete;
    ReferenceMaker& operator=(const ReferenceMaker&) = delete;
    // Derived destructors call DeleteAllRefs themselves, while their slots still
    // exist; this one only checks that nothing is left.
    ~ReferenceMaker() override;

    virtual int NumRefs() { return 0; }
    virtual ReferenceTarget* GetReference(int) { return nullptr; }
    // Stores target in slot i; only ReplaceReference calls it.
    virtual void SetReference(int, ReferenceTarget*) {}
    // Makes target reference i: this maker leaves the old target's dependents and
    // joins the new one's. An old target left with no dependents is deleted when
    // deleteOld is set and the target deletes itself automatically. REF_FAIL, and
    // nothing changed, when target is this maker or depends on it (a loop).
    RefResult ReplaceReference(int i, ReferenceTarget* target, bool deleteOld = true);
    // Drops every reference.
    void DeleteAllRefs();
    virtual RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* target,
                                       PartID& partID, RefMessage message, bool propagate) = 0;
    // Whether this maker is also a target (so notifications pass through it).
    virtual ReferenceTarget* AsTarget() { return nullptr; }

private:
    friend class ReferenceTarget;
    std::vector<ReferenceTarget*> held;  // one entry per reference held, for cleanup
};

// Called once for every dependent of a target; returns one of these.
#define DEP_ENUM_CONTINUE 0
#define DEP_ENUM_HALT 1
#define DEP_ENUM_SKIP 2

class DependentEnumProc {
public:
    virtual ~DependentEnumProc() = default;
    virtual int proc(ReferenceMaker* rmaker) = 0;
};

class ReferenceTarget : public ReferenceMaker {
public:
    // Dependents still referencing a target that goes away lose that reference.
    ~ReferenceTarget() override;
    ReferenceTarget* AsTarget() override { return this; }
    RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID&, RefMessage,
                               bool) override {
        return REF_SUCCEED;
    }
    // Tells every dependent of the change; a dependent that answers anything but
    // REF_STOP passes it on to its own dependents when propagate is set.
    RefResult NotifyDependents(const Interval& changeInt, PartID partID, RefMessage message,
                               SClass_ID sclass = NOTIFY_ALL, bool propagate = true);
    // Calls proc once for every direct and indirect dependent, nearest first.
    int DoEnumDependents(DependentEnumProc* proc);
    const std::vector<ReferenceMaker*>& Dependents() const { return dependents; }
    // Whether the target deletes itself when its last dependent lets go.
    virtual bool AutoDelete() const { return true; }

    // A copy made through remap; nullptr for a target that cannot be copied.
    virtual ReferenceTarget* Clone(RemapDir& remap);
    // Copies the host's own state of from into to.
    void BaseClone(ReferenceTarget* from, ReferenceTarget* to, RemapDir& remap);

private:
    friend class ReferenceMaker;
    std::vector<ReferenceMaker*> dependents;
};

// Clones shared by several references once.
class RemapDir {
public:
    // The clone of from made in this remapping, made now if needed.
    ReferenceTarget* CloneRef(ReferenceTarget* from);
    void AddEntry(ReferenceTarget* from, ReferenceTarget* to) { map[from] = to; }
    ReferenceTarget* FindMapping(ReferenceTarget* from) const;

private:
    std::map<ReferenceTarget*, ReferenceTarget*> map;
};
