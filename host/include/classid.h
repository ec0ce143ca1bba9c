// Class identity of host objects: a super class ID and a two-word class ID.
#pragma once

#include "maxtypes.h"

typedef DWORD SClass_ID;

class Class_ID {
public:
    Class_ID() = default;
    Class_ID(DWORD a, DWORD b) : a_(a), b_(b) {}
    DWORD PartA() const { return a_; }
    DWORD PartB() const { return b_; }
    bool operator==(const Class_ID& o) const { return a_ == o.a_ && b_ == o.b_; }
    bool operator!=(const Class_ID& o) const { return !(*this == o); }
    bool operator<(const Class_ID& o) const { return a_ < o.a_ || (a_ == o.a_ && b_ < o.b_); }

private:
    DWORD a_ = 0xffffffff;
    DWORD b_ = 0xffffffff;
};

// Super classes.
#define BASENODE_CLASS_ID 0x00000001
#define GEN_DERIVOB_CLASS_ID 0x00000002
#define GEOMOBJECT_CLASS_ID 0x00000010
#define SHAPE_CLASS_ID 0x00000040
#define WSM_DERIVOB_CLASS_ID 0x00000060
#define PARAMETER_BLOCK2_CLASS_ID 0x00000082
#define OSM_CLASS_ID 0x00000810

// Classes of the host's own objects.
#define triObjectClassID Class_ID(9, 0)
#define polyObjectClassID Class_ID(0x504F4C59, 0x4D455348)
#define splineShapeClassID Class_ID(0x53504C4E, 0x53485045)
#define derivObjClassID Class_ID(0x44455256, 0)
#define WSMDerivObjClassID Class_ID(0x92AAB38C, 0)
#define compoundObjClassID Class_ID(0x434D504E, 0)
#define paramBlock2ClassID Class_ID(0x50424C32, 0)
