// Finding the node whose pipeline holds a given application of a modifier.
#pragma once

#include "inode.h"
#include "object.h"
#include "tab.h"

typedef Tab<INode*> INodeTab;

// Collects the nodes among the dependents it is shown, in order.
class MyEnumProc : public DependentEnumProc {
public:
    int proc(ReferenceMaker* rmaker) override;
    INodeTab Nodes;
    int count = 0;
};

// The node whose pipeline holds the modifier application mc, or nullptr.
INode* FindOwnerNode(Modifier* mod, ModContext* mc);
// Whether obj, or an object below it or in one of its pipeline branches, holds mc.
bool FindModContextIndex(ModContext* mc, Object* obj);
