// The library's export of a modifier's cut record; a function rather than a virtual
// of the host's classes, so that hosts and earlier builds keep their layout.
#include "contract/cut_record.h"
#include "plugin/class_desc.h"
#include "plugin/slitform.h"

extern "C" HOST_DLLEXPORT const CutRecord* SlitformCutRecord(Modifier* mod) {
    if (!mod || mod->ClassID() != SLITFORM_CLASS_ID)
        return nullptr;
    return &static_cast<Slitform*>(mod)->lastCut;
}

extern "C" HOST_DLLEXPORT bool SlitformCutProgress(Modifier* mod, long long* visited,
                                                   long long* total) {
    if (!mod || mod->ClassID() != SLITFORM_CLASS_ID || !visited || !total)
        return false;
    const Slitform* slitform = static_cast<Slitform*>(mod);
    *total = slitform->facesToVisit.load(std::memory_order_relaxed);
    *visited = slitform->facesVisited.load(std::memory_order_relaxed);
    return true;
}

extern "C" HOST_DLLEXPORT bool SlitformFaceOrigins(Modifier* mod, const int** origins, int* count) {
    if (!mod || mod->ClassID() != SLITFORM_CLASS_ID || !origins || !count)
        return false;
    const std::vector<int>& record = static_cast<Slitform*>(mod)->faceOrigins;
    *origins = record.data();
    *count = static_cast<int>(record.size());
    return true;
}

extern "C" HOST_DLLEXPORT bool SlitformWatchCancel(Modifier* mod, const std::atomic<bool>* flag) {
    if (!mod || mod->ClassID() != SLITFORM_CLASS_ID)
        return false;
    static_cast<Slitform*>(mod)->cancelFlag.store(flag);
    return true;
}
