#include "iparamb2.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "inode.h"

namespace {
ParamDimension defaultDimension("default");
ParamDimension worldDimension("world");
}  // namespace

ParamDimension* defaultDim = &defaultDimension;
ParamDimension* stdWorldDim = &worldDimension;

ParamDef ParamDef::Node(ParamID id, const wchar_t* name, int flags, int localName) {
    ParamDef d;
    d.id = id;
    d.intName = name;
    d.type = TYPE_INODE;
    d.flags = flags;
    d.localName = localName;
    return d;
}

ParamDef ParamDef::Bool(ParamID id, const wchar_t* name, int flags, int localName, bool def) {
    ParamDef d = Node(id, name, flags, localName);
    d.type = TYPE_BOOL;
    d.defInt = def ? 1 : 0;
    return d;
}

ParamDef ParamDef::Int(ParamID id, const wchar_t* name, int flags, int localName, int def) {
    ParamDef d = Node(id, name, flags, localName);
    d.type = TYPE_INT;
    d.defInt = def;
    return d;
}

ParamDef ParamDef::Float(ParamID id, const wchar_t* name, int flags, int localName, float def) {
    ParamDef d = Node(id, name, flags, localName);
    d.type = TYPE_FLOAT;
    d.defFloat = def;
    return d;
}

ParamDef& ParamDef::Range(float low, float high) {
    hasRange = true;
    lowFloat = low;
    highFloat = high;
    return *this;
}

ParamDef& ParamDef::Range(int low, int high) {
    hasRange = true;
    lowInt = low;
    highInt = high;
    return *this;
}

ParamDef& ParamDef::Dim(ParamDimension* d) {
    dim = d;
    return *this;
}

ParamDef& ParamDef::PickButton(int ctrl) {
    ctrlType = TYPE_PICKNODEBUTTON;
    ctrlIDs = {ctrl};
    return *this;
}

ParamDef& ParamDef::CheckBox(int ctrl) {
    ctrlType = TYPE_SINGLECHEKBOX;
    ctrlIDs = {ctrl};
    return *this;
}

ParamDef& ParamDef::Spinner(int edit, int editCtrl, int spinCtrl, float stepSize) {
    ctrlType = TYPE_SPINNER;
    editType = edit;
    ctrlIDs = {editCtrl, spinCtrl};
    step = stepSize;
    return *this;
}

ParamDef& ParamDef::Radio(std::vector<int> buttons) {
    ctrlType = TYPE_RADIO;
    ctrlIDs = std::move(buttons);
    return *this;
}

ParamBlockDesc2::ParamBlockDesc2(BlockID id, const wchar_t* name, int local, ClassDesc2* owner,
                                 int blockFlags, int ref, std::vector<ParamMapDesc> rollouts,
                                 std::vector<ParamDef> defs)
    : ID(id),
      intName(name),
      localName(local),
      cd(owner),
      flags(blockFlags),
      refNo(ref),
      maps(std::move(rollouts)),
      params(std::move(defs)) {
    if (cd)
        cd->AddParamBlockDesc(this);
}

int ParamBlockDesc2::IDtoIndex(ParamID id) const {
    for (int i = 0; i < Count(); ++i)
        if (params[i].id == id)
            return i;
    return -1;
}

const ParamDef* ParamBlockDesc2::GetParamDef(ParamID id) const {
    int i = IDtoIndex(id);
    return i < 0 ? nullptr : &params[i];
}

const ParamDef* ParamBlockDesc2::FindParam(const std::wstring& name) const {
    for (const ParamDef& d : params)
        if (d.intName == name)
            return &d;
    return nullptr;
}

void ParamBlockDesc2::SetUserDlgProc(MapID mapID, ParamMap2UserDlgProc* proc) {
    auto open = openMaps.find(mapID);
    if (open != openMaps.end())
        open->second->SetUserDlgProc(proc);
    else if (proc)
        proc->DeleteThis();
}

IParamBlock2::IParamBlock2(ParamBlockDesc2* d) : desc(d), values(d->params.size()) {
    for (size_t i = 0; i < values.size(); ++i) {
        const ParamDef& def = desc->params[i];
        values[i].constant = def.type == TYPE_FLOAT ? def.defFloat : static_cast<float>(def.defInt);
    }
}

IParamBlock2::~IParamBlock2() {
    DeleteAllRefs();
}

ReferenceTarget* IParamBlock2::GetReference(int i) {
    return values[i].node;
}

void IParamBlock2::SetReference(int i, ReferenceTarget* target) {
    values[i].node = static_cast<INode*>(target);
}

bool IParamBlock2::ValueAt(ParamID id, TimeValue t, float& v, Interval& valid, bool hold) {
    int i = desc->IDtoIndex(id);
    if (i < 0)
        return false;
    const Value& val = values[i];
    if (val.keys.empty()) {
        v = val.constant;
        valid &= FOREVER;
        return true;
    }
    valid &= Interval(t, t);
    auto after = val.keys.lower_bound(t);
    if (after == val.keys.begin()) {
        v = after->second;
    } else if (after == val.keys.end()) {
        v = std::prev(after)->second;
    } else if (after->first == t) {
        v = after->second;
    } else if (hold) {
        v = std::prev(after)->second;
    } else {
        auto before = std::prev(after);
        float u = float(t - before->first) / float(after->first - before->first);
        v = before->second + (after->second - before->second) * u;
    }
    return true;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, float& v, Interval& valid, int) {
    const ParamDef* def = desc->GetParamDef(id);
    if (!def || def->type != TYPE_FLOAT)
        return FALSE;
    return ValueAt(id, t, v, valid) ? TRUE : FALSE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue t, int& v, Interval& valid, int) {
    const ParamDef* def = desc->GetParamDef(id);
    if (!def || (def->type != TYPE_INT && def->type != TYPE_BOOL))
        return FALSE;
    float f = 0.0f;
    // An on/off track steps at its keys; an integer one interpolates and rounds.
    if (!ValueAt(id, t, f, valid, def->type == TYPE_BOOL))
        return FALSE;
    v = static_cast<int>(std::lround(f));
    return TRUE;
}

BOOL IParamBlock2::GetValue(ParamID id, TimeValue, INode*& v, Interval& valid, int) {
    const ParamDef* def = desc->GetParamDef(id);
    if (!def || def->type != TYPE_INODE)
        return FALSE;
    v = values[desc->IDtoIndex(id)].node;
    valid &= FOREVER;
    return TRUE;
}

float IParamBlock2::GetFloat(ParamID id, TimeValue t) {
    float v = 0.0f;
    Interval valid = FOREVER;
    GetValue(id, t, v, valid);
    return v;
}

int IParamBlock2::GetInt(ParamID id, TimeValue t) {
    int v = 0;
    Interval valid = FOREVER;
    GetValue(id, t, v, valid);
    return v;
}

INode* IParamBlock2::GetINode(ParamID id, TimeValue t) {
    INode* v = nullptr;
    Interval valid = FOREVER;
    GetValue(id, t, v, valid);
    return v;
}

void IParamBlock2::Changed(ParamID id) {
    lastNotifyParamID = id;
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, float v, int) {
    const ParamDef* def = desc->GetParamDef(id);
    if (!def || def->type == TYPE_INODE)
        return FALSE;
    Value& val = values[desc->IDtoIndex(id)];
    if (def->type != TYPE_FLOAT)
        v = static_cast<float>(std::lround(v));
    if (val.keys.empty())
        val.constant = v;
    else
        val.keys[t] = v;
    Changed(id);
    return TRUE;
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue t, int v, int tabIndex) {
    return SetValue(id, t, static_cast<float>(v), tabIndex);
}

BOOL IParamBlock2::SetValue(ParamID id, TimeValue, INode* v, int) {
    const ParamDef* def = desc->GetParamDef(id);
    if (!def || def->type != TYPE_INODE)
        return FALSE;
    if (ReplaceReference(desc->IDtoIndex(id), v) != REF_SUCCEED)
        return FALSE;
    Changed(id);
    return TRUE;
}

BOOL IParamBlock2::SetKey(ParamID id, TimeValue t, float v) {
    const ParamDef* def = desc->GetParamDef(id);
    if (!def || def->type == TYPE_INODE || !(def->flags & P_ANIMATABLE))
        return FALSE;
    values[desc->IDtoIndex(id)].keys[t] = v;
    Changed(id);
    return TRUE;
}

bool IParamBlock2::IsAnimated(ParamID id) const {
    int i = desc->IDtoIndex(id);
    return i >= 0 && !values[i].keys.empty();
}

RefResult IParamBlock2::NotifyRefChanged(const Interval&, ReferenceTarget* target, PartID&,
                                         RefMessage, bool) {
    // A change of a node this block references: it is that parameter that changed.
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i].node == target)
            lastNotifyParamID = desc->params[i].id;
    return REF_SUCCEED;
}

ReferenceTarget* IParamBlock2::Clone(RemapDir& remap) {
    IParamBlock2* copy = new IParamBlock2(desc);
    for (size_t i = 0; i < values.size(); ++i) {
        copy->values[i].constant = values[i].constant;
        copy->values[i].keys = values[i].keys;
        if (values[i].node)
            copy->ReplaceReference(static_cast<int>(i), values[i].node);
    }
    BaseClone(this, copy, remap);
    return copy;
}

IParamMap2::IParamMap2(IParamBlock2* pb, const ParamMapDesc& d, HINSTANCE module, Interface* iface)
    : desc(d), ip(iface) {
    ReplaceReference(0, pb, false);
    hWnd = CreateDialogFromTemplate(module, desc.dialogTemplate, nullptr);
    if (!hWnd)
        return;
    hWnd->dialogProc = [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return DialogMessage(msg, wParam, lParam);
    };
    ParamBlockDesc2* pbd = block->GetDesc();
    for (const ParamDef& def : pbd->params) {
        if (def.mapID != desc.id || def.ctrlType != TYPE_SPINNER || def.ctrlIDs.size() < 2)
            continue;
        ISpinnerControl* spin = GetISpinner(GetDlgItem(hWnd, def.ctrlIDs[1]));
        if (!spin)
            continue;
        if (def.type == TYPE_FLOAT)
            spin->SetLimits(def.hasRange ? def.lowFloat : -1e30f,
                            def.hasRange ? def.highFloat : 1e30f, FALSE);
        else
            spin->SetLimits(static_cast<float>(def.hasRange ? def.lowInt : -2147483647),
                            static_cast<float>(def.hasRange ? def.highInt : 2147483647), FALSE);
        spin->SetScale(def.step);
        spin->SetEditType(def.editType);
        ReleaseISpinner(spin);
    }
    Invalidate();
}

IParamMap2::~IParamMap2() {
    if (userProc)
        userProc->DeleteThis();
    if (hWnd)
        DestroyWindow(hWnd);
    ReplaceReference(0, nullptr, false);
}

ReferenceTarget* IParamMap2::GetReference(int) {
    return block;
}

void IParamMap2::SetReference(int, ReferenceTarget* target) {
    block = static_cast<IParamBlock2*>(target);
}

RefResult IParamMap2::NotifyRefChanged(const Interval&, ReferenceTarget*, PartID&,
                                       RefMessage message, bool) {
    if (message == REFMSG_CHANGE)
        Invalidate();
    return REF_SUCCEED;
}

TimeValue IParamMap2::Now() const {
    return ip ? ip->GetTime() : 0;
}

void IParamMap2::SetUserDlgProc(ParamMap2UserDlgProc* proc) {
    if (userProc && userProc != proc)
        userProc->DeleteThis();
    userProc = proc;
    if (userProc && hWnd)
        userProc->DlgProc(Now(), this, hWnd, WM_INITDIALOG, 0, 0);
}

void IParamMap2::Invalidate() {
    if (!hWnd || !block)
        return;
    TimeValue t = Now();
    for (const ParamDef& def : block->GetDesc()->params) {
        if (def.mapID != desc.id || def.ctrlIDs.empty())
            continue;
        switch (def.ctrlType) {
            case TYPE_SINGLECHEKBOX:
                CheckDlgButton(hWnd, def.ctrlIDs[0],
                               block->GetInt(def.id, t) ? BST_CHECKED : BST_UNCHECKED);
                break;
            case TYPE_RADIO: {
                int value = block->GetInt(def.id, t);
                for (size_t i = 0; i < def.ctrlIDs.size(); ++i)
                    CheckDlgButton(hWnd, def.ctrlIDs[i],
                                   static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED);
                break;
            }
            case TYPE_SPINNER: {
                if (def.ctrlIDs.size() < 2)
                    break;
                float value = def.type == TYPE_FLOAT ? block->GetFloat(def.id, t)
                                                     : static_cast<float>(block->GetInt(def.id, t));
                if (ISpinnerControl* spin = GetISpinner(GetDlgItem(hWnd, def.ctrlIDs[1]))) {
                    spin->SetValue(value, FALSE);
                    ReleaseISpinner(spin);
                }
                wchar_t text[64];
                if (def.type == TYPE_FLOAT)
                    swprintf(text, 64, L"%g", value);
                else
                    swprintf(text, 64, L"%d", static_cast<int>(value));
                SetDlgItemTextW(hWnd, def.ctrlIDs[0], text);
                break;
            }
            case TYPE_PICKNODEBUTTON: {
                INode* node = block->GetINode(def.id, t);
                HWND button = GetDlgItem(hWnd, def.ctrlIDs[0]);
                if (!button)
                    break;
                // The button shows the picked node's name, or its own label.
                pickLabels.emplace(def.ctrlIDs[0], button->text);
                std::wstring label = node ? node->GetName() : pickLabels[def.ctrlIDs[0]];
                SetDlgItemTextW(hWnd, def.ctrlIDs[0], label.c_str());
                CheckDlgButton(hWnd, def.ctrlIDs[0], picking ? BST_CHECKED : BST_UNCHECKED);
                break;
            }
            default:
                break;
        }
    }
}

INT_PTR IParamMap2::DialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && block) {
        int id = LOWORD(wParam);
        TimeValue t = Now();
        for (const ParamDef& def : block->GetDesc()->params) {
            if (def.mapID != desc.id)
                continue;
            auto at = std::find(def.ctrlIDs.begin(), def.ctrlIDs.end(), id);
            if (at == def.ctrlIDs.end())
                continue;
            if (def.ctrlType == TYPE_SINGLECHEKBOX) {
                block->SetValue(def.id, t, IsDlgButtonChecked(hWnd, id) == BST_CHECKED ? 1 : 0);
            } else if (def.ctrlType == TYPE_RADIO) {
                block->SetValue(def.id, t, static_cast<int>(at - def.ctrlIDs.begin()));
            } else if (def.ctrlType == TYPE_PICKNODEBUTTON) {
                picking = !picking;
                Invalidate();
            }
        }
    }
    return userProc ? userProc->DlgProc(Now(), this, hWnd, msg, wParam, lParam) : FALSE;
}

void IParamMap2::UserSetSpinner(int spinnerID, float value) {
    if (!hWnd || !block)
        return;
    for (const ParamDef& def : block->GetDesc()->params) {
        if (def.mapID != desc.id || def.ctrlType != TYPE_SPINNER || def.ctrlIDs.size() < 2 ||
            def.ctrlIDs[1] != spinnerID)
            continue;
        HWND spinner = GetDlgItem(hWnd, spinnerID);
        if (!spinner || !spinner->enabled)
            return;
        ISpinnerControl* spin = GetISpinner(spinner);
        if (!spin)
            return;
        spin->SetValue(value, TRUE);
        float v = spin->GetFVal();
        ReleaseISpinner(spin);
        if (def.type == TYPE_FLOAT)
            block->SetValue(def.id, Now(), v);
        else
            block->SetValue(def.id, Now(), static_cast<int>(std::lround(v)));
        return;
    }
}

void IParamMap2::UserPickNode(INode* node) {
    if (!picking || !block)
        return;
    picking = false;
    for (const ParamDef& def : block->GetDesc()->params)
        if (def.mapID == desc.id && def.ctrlType == TYPE_PICKNODEBUTTON)
            block->SetValue(def.id, Now(), node);
    Invalidate();
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDescByID(BlockID id) {
    for (ParamBlockDesc2* pbd : blockDescs)
        if (pbd->ID == id)
            return pbd;
    return nullptr;
}

void ClassDesc2::MakeAutoParamBlocks(ReferenceMaker* owner) {
    for (ParamBlockDesc2* pbd : blockDescs)
        if (pbd->flags & P_AUTO_CONSTRUCT)
            owner->ReplaceReference(pbd->refNo, new IParamBlock2(pbd));
}

void ClassDesc2::BeginEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG, Animatable*) {
    BaseObject* owner = dynamic_cast<BaseObject*>(obj);
    if (!owner)
        return;
    for (ParamBlockDesc2* pbd : blockDescs) {
        if (!(pbd->flags & P_AUTO_UI))
            continue;
        IParamBlock2* block = owner->GetParamBlockByID(pbd->ID);
        if (!block)
            continue;
        for (const ParamMapDesc& mapDesc : pbd->maps) {
            IParamMap2* map = new IParamMap2(block, mapDesc, HInstance(), ip);
            pbd->openMaps[mapDesc.id] = map;
            if (ip)
                ip->RolloutOpened(map);
        }
    }
}

void ClassDesc2::EndEditParams(IObjParam* ip, ReferenceMaker*, ULONG, Animatable*) {
    for (ParamBlockDesc2* pbd : blockDescs) {
        for (auto& [id, map] : pbd->openMaps) {
            if (ip)
                ip->RolloutClosing(map);
            delete map;
        }
        pbd->openMaps.clear();
    }
}
