#include "plugin/slitform.h"

#include "plugin/class_desc.h"
#include "plugin/module/module_string.h"
#include "plugin/param_block.h"
#include "plugin/ui/about_dlg_proc.h"
#include "plugin/ui/general_dlg_proc.h"
#include "plugin/ui/resource.h"

namespace {

std::wstring StringOrEmpty(int id) {
    const WCHAR* s = GetString(id);
    return s ? std::wstring(s) : std::wstring();
}

}  // namespace

Slitform::Slitform() {
    GetSlitformDesc()->MakeAutoParamBlocks(this);
}

Slitform::~Slitform() {
    if (aboutImages)
        ImageList_Destroy(aboutImages);
    DeleteAllRefs();
}

void Slitform::GetClassName(std::wstring& s) const {
    s = StringOrEmpty(IDS_CLASS_NAME);
}

Class_ID Slitform::ClassID() const {
    return SLITFORM_CLASS_ID;
}

std::wstring Slitform::SubAnimName(int) {
    return StringOrEmpty(IDS_PARAMS);
}

std::wstring Slitform::GetObjectName() {
    return StringOrEmpty(IDS_CLASS_NAME);
}

IParamBlock2* Slitform::GetParamBlockByID(BlockID id) {
    return pblock && pblock->ID() == id ? pblock : nullptr;
}

void Slitform::SetReference(int, ReferenceTarget* target) {
    pblock = static_cast<IParamBlock2*>(target);
}

Interval Slitform::LocalValidity(TimeValue) {
    return NEVER;
}

void Slitform::BeginEditParams(IObjParam* ip, ULONG flags, Animatable* prev) {
    TimeValue t = ip->GetTime();
    NotifyDependents(Interval(t, t), PART_ALL, REFMSG_BEGIN_EDIT, NOTIFY_ALL, true);
    NotifyDependents(Interval(t, t), PART_ALL, REFMSG_MOD_DISPLAY_ON, NOTIFY_ALL, true);
    SetAFlag(A_MOD_BEING_EDITED);
    GetSlitformDesc()->BeginEditParams(ip, this, flags, prev);
    slitform_param_blk.SetUserDlgProc(slitform_map_params, new GeneralDlgProc(this));
    slitform_param_blk.SetUserDlgProc(slitform_map_about, new AboutDlgProc(&aboutImages));
}

void Slitform::EndEditParams(IObjParam* ip, ULONG flags, Animatable* next) {
    GetSlitformDesc()->EndEditParams(ip, this, flags, next);
    TimeValue t = ip->GetTime();
    ClearAFlag(A_MOD_BEING_EDITED);
    NotifyDependents(Interval(t, t), PART_ALL, REFMSG_END_EDIT, NOTIFY_ALL, true);
    NotifyDependents(Interval(t, t), PART_ALL, REFMSG_MOD_DISPLAY_OFF, NOTIFY_ALL, true);
}

RefResult Slitform::NotifyRefChanged(const Interval&, ReferenceTarget* target, PartID& partID,
                                     RefMessage message, bool) {
    // A change of the picked node passes on only when it concerns the shape itself.
    if (message == REFMSG_CHANGE && target == pblock &&
        pblock->LastNotifyParamID() == pb_pick_path && partID != PART_TOPO && partID != PART_GEOM &&
        partID != PART_ALL)
        return REF_STOP;
    return REF_SUCCEED;
}

ReferenceTarget* Slitform::Clone(RemapDir& remap) {
    Slitform* mod = new Slitform();
    mod->ReplaceReference(PBLOCK_REF, remap.CloneRef(pblock), true);
    BaseClone(this, mod, remap);
    return mod;
}
