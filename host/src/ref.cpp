#include "ref.h"

#include <algorithm>
#include <set>

namespace {

template <class T>
void EraseOne(std::vector<T>& list, const T& item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end())
        list.erase(it);
}

}  // namespace

ReferenceMaker::~ReferenceMaker() {
    // Whatever a derived class left: leave the targets' dependents without
    // deleting them, since the slots are gone.
    for (ReferenceTarget* target : held)
        EraseOne(target->dependents, static_cast<ReferenceMaker*>(this));
}

namespace {

// Stops at the first dependent that is the one looked for.
class FindDependent : public DependentEnumProc {
public:
    explicit FindDependent(ReferenceMaker* wanted) : wanted(wanted) {}
    int proc(ReferenceMaker* rmaker) override {
        found = found || rmaker == wanted;
        return found ? DEP_ENUM_HALT : DEP_ENUM_CONTINUE;
    }
    ReferenceMaker* wanted;
    bool found = false;
};

}  // namespace

RefResult ReferenceMaker::ReplaceReference(int i, ReferenceTarget* target, bool deleteOld) {
    ReferenceTarget* old = GetReference(i);
    if (old == target)
        return REF_SUCCEED;
    // A reference to one of the maker's own dependents would close a loop, in which
    // changes and evaluations would run round for ever.
    if (target && AsTarget()) {
        if (target == AsTarget())
            return REF_FAIL;
        FindDependent search(target);
        AsTarget()->DoEnumDependents(&search);
        if (search.found)
            return REF_FAIL;
    }
    if (target) {
        target->dependents.push_back(this);
        held.push_back(target);
    }
    SetReference(i, target);
    if (old) {
        EraseOne(old->dependents, static_cast<ReferenceMaker*>(this));
        EraseOne(held, old);
        if (deleteOld && old->dependents.empty() && old->AutoDelete())
            old->DeleteThis();
    }
    return REF_SUCCEED;
}

void ReferenceMaker::DeleteAllRefs() {
    for (int i = 0; i < NumRefs(); ++i) ReplaceReference(i, nullptr);
}

ReferenceTarget::~ReferenceTarget() {
    const std::vector<ReferenceMaker*> deps = dependents;
    for (ReferenceMaker* dep : deps) {
        for (int i = 0; i < dep->NumRefs(); ++i)
            if (dep->GetReference(i) == this)
                dep->SetReference(i, nullptr);
        dep->held.erase(std::remove(dep->held.begin(), dep->held.end(), this), dep->held.end());
    }
}

RefResult ReferenceTarget::NotifyDependents(const Interval& changeInt, PartID partID,
                                            RefMessage message, SClass_ID sclass, bool propagate) {
    const std::vector<ReferenceMaker*> deps = dependents;
    for (ReferenceMaker* dep : deps) {
        if (sclass != NOTIFY_ALL && dep->SuperClassID() != sclass)
            continue;
        PartID part = partID;
        RefResult result = dep->NotifyRefChanged(changeInt, this, part, message, propagate);
        if (result == REF_STOP || !propagate)
            continue;
        if (ReferenceTarget* next = dep->AsTarget())
            next->NotifyDependents(changeInt, part, message, sclass, propagate);
    }
    return REF_SUCCEED;
}

int ReferenceTarget::DoEnumDependents(DependentEnumProc* proc) {
    std::set<ReferenceMaker*> seen;
    std::vector<ReferenceMaker*> stack(dependents.rbegin(), dependents.rend());
    while (!stack.empty()) {
        ReferenceMaker* dep = stack.back();
        stack.pop_back();
        if (!seen.insert(dep).second)
            continue;
        int answer = proc->proc(dep);
        if (answer == DEP_ENUM_HALT)
            return 1;
        if (answer == DEP_ENUM_SKIP)
            continue;
        if (ReferenceTarget* target = dep->AsTarget())
            stack.insert(stack.end(), target->dependents.rbegin(), target->dependents.rend());
    }
    return 0;
}

ReferenceTarget* ReferenceTarget::Clone(RemapDir&) {
    return nullptr;
}

void ReferenceTarget::BaseClone(ReferenceTarget* from, ReferenceTarget* to, RemapDir& remap) {
    remap.AddEntry(from, to);
}

ReferenceTarget* RemapDir::CloneRef(ReferenceTarget* from) {
    if (!from)
        return nullptr;
    if (ReferenceTarget* done = FindMapping(from))
        return done;
    ReferenceTarget* to = from->Clone(*this);
    if (to)
        map[from] = to;
    return to;
}

ReferenceTarget* RemapDir::FindMapping(ReferenceTarget* from) const {
    auto it = map.find(from);
    return it == map.end() ? nullptr : it->second;
}
