// Parameter blocks: the description (ParamBlockDesc2) a plug-in declares once, the
// blocks (IParamBlock2) made from it per object, the class descriptor
// (ClassDesc2) that owns descriptions, and the parameter maps that show them in
// rollouts.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "custcont.h"
#include "object.h"
#include "windefs.h"

class ClassDesc2;
class IParamMap2;
class ParamBlockDesc2;
class Interface;

typedef short ParamID;
typedef short MapID;

// Parameter types.
enum ParamType2 { TYPE_FLOAT = 0, TYPE_INT = 1, TYPE_BOOL = 4, TYPE_INODE = 17 };

// Parameter flags.
#define P_ANIMATABLE 0x1

// Block flags.
#define P_AUTO_CONSTRUCT 0x2
#define P_AUTO_UI 0x4
#define P_MULTIMAP 0x20

// Rollup flags.
#define APPENDROLL_CLOSED 0x1

// Controls of a parameter in its rollout.
enum ControlType2 {
    TYPE_NONE = 0,
    TYPE_SPINNER,
    TYPE_SINGLECHEKBOX,
    TYPE_RADIO,
    TYPE_PICKNODEBUTTON
};

// The dimension of a parameter's value; world units are shown in scene units.
class ParamDimension {
public:
    explicit ParamDimension(const char* name) : name(name) {}
    const char* name;
};
extern ParamDimension* defaultDim;
extern ParamDimension* stdWorldDim;

// One parameter of a description: its identity, default, range and control.
class ParamDef {
public:
    static ParamDef Node(ParamID id, const wchar_t* name, int flags, int localName);
    static ParamDef Bool(ParamID id, const wchar_t* name, int flags, int localName, bool def);
    static ParamDef Int(ParamID id, const wchar_t* name, int flags, int localName, int def);
    static ParamDef Float(ParamID id, const wchar_t* name, int flags, int localName, float def);

    ParamDef& Range(float low, float high);
    ParamDef& Range(int low, int high);
    ParamDef& Dim(ParamDimension* d);
    ParamDef& PickButton(int ctrl);
    ParamDef& CheckBox(int ctrl);
    ParamDef& Spinner(int editType, int editCtrl, int spinCtrl, float step);
    // Radio buttons in value order: button i sets value i.
    ParamDef& Radio(std::vector<int> buttons);

    ParamID id = -1;
    std::wstring intName;
    ParamType2 type = TYPE_FLOAT;
    int flags = 0;
    int localName = 0;
    float defFloat = 0.0f;
    int defInt = 0;
    bool hasRange = false;
    float lowFloat = 0.0f, highFloat = 0.0f;
    int lowInt = 0, highInt = 0;
    ParamDimension* dim = nullptr;
    MapID mapID = 0;
    ControlType2 ctrlType = TYPE_NONE;
    int editType = EDITTYPE_FLOAT;
    std::vector<int> ctrlIDs;
    float step = 0.0f;
};

class ParamMap2UserDlgProc {
public:
    virtual ~ParamMap2UserDlgProc() = default;
    virtual INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg, WPARAM wParam,
                            LPARAM lParam) = 0;
    virtual void DeleteThis() = 0;
};

// One rollout of a description.
class ParamMapDesc {
public:
    MapID id = 0;
    int dialogTemplate = 0;
    int title = 0;
    int mapFlags = 0;
    int rollupFlags = 0;
    ParamMap2UserDlgProc* dlgProc = nullptr;
};

class ParamBlockDesc2 {
public:
    ParamBlockDesc2(BlockID id, const wchar_t* intName, int localName, ClassDesc2* cd, int flags,
                    int refNo, std::vector<ParamMapDesc> maps, std::vector<ParamDef> params);

    // Attaches proc to the rollout mapID: the open map takes it and deletes it when
    // it closes; with no map open it is deleted at once.
    void SetUserDlgProc(MapID mapID, ParamMap2UserDlgProc* proc);
    const ParamDef* GetParamDef(ParamID id) const;
    const ParamDef* FindParam(const std::wstring& intName) const;
    int Count() const { return static_cast<int>(params.size()); }
    const ParamDef& GetParamDefByIndex(int i) const { return params[i]; }
    int IDtoIndex(ParamID id) const;

    BlockID ID;
    std::wstring intName;
    int localName;
    ClassDesc2* cd;
    int flags;
    int refNo;
    std::vector<ParamMapDesc> maps;
    std::vector<ParamDef> params;
    // Maps open in the command panel, by map ID.
    std::map<MapID, IParamMap2*> openMaps;
};

class IParamBlock2 : public ReferenceTarget {
public:
    explicit IParamBlock2(ParamBlockDesc2* desc);
    ~IParamBlock2() override;

    SClass_ID SuperClassID() const override { return PARAMETER_BLOCK2_CLASS_ID; }
    Class_ID ClassID() const override { return paramBlock2ClassID; }
    ParamBlockDesc2* GetDesc() { return desc; }
    BlockID ID() const { return desc->ID; }

    // Reads parameter id at t and narrows valid to its validity: forever for a
    // constant parameter, the instant t for an animated one. FALSE for an unknown id
    // or a type that does not match (bool and int read as int).
    BOOL GetValue(ParamID id, TimeValue t, float& v, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, int& v, Interval& valid, int tabIndex = 0);
    BOOL GetValue(ParamID id, TimeValue t, INode*& v, Interval& valid, int tabIndex = 0);
    float GetFloat(ParamID id, TimeValue t = 0);
    int GetInt(ParamID id, TimeValue t = 0);
    INode* GetINode(ParamID id, TimeValue t = 0);

    // Sets the constant value (or, for an animated parameter, the key at t) and
    // notifies the dependents with this parameter as the last changed one.
    BOOL SetValue(ParamID id, TimeValue t, float v, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, int v, int tabIndex = 0);
    BOOL SetValue(ParamID id, TimeValue t, INode* v, int tabIndex = 0);
    // Makes parameter id animated with a key at t (linear between keys).
    BOOL SetKey(ParamID id, TimeValue t, float v);
    bool IsAnimated(ParamID id) const;
    // The parameter whose change the block reported last.
    ParamID LastNotifyParamID() const { return lastNotifyParamID; }

    int NumRefs() override { return static_cast<int>(values.size()); }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* target, PartID& partID,
                               RefMessage message, bool propagate) override;
    ReferenceTarget* Clone(RemapDir& remap) override;

private:
    struct Value {
        float constant = 0.0f;
        std::map<TimeValue, float> keys;
        INode* node = nullptr;
    };
    // The value at t: a key's own value at its time; between keys interpolated
    // linearly, or with hold the earlier key's value until the next key.
    bool ValueAt(ParamID id, TimeValue t, float& v, Interval& valid, bool hold = false);
    void Changed(ParamID id);

    ParamBlockDesc2* desc;
    std::vector<Value> values;  // by parameter index
    ParamID lastNotifyParamID = -1;
};

// The host's interface to the application, as plug-ins see it while editing.
class Interface {
public:
    virtual ~Interface() = default;
    virtual TimeValue GetTime() = 0;
    // A rollout was opened or is about to close in the command panel.
    virtual void RolloutOpened(IParamMap2* map) = 0;
    virtual void RolloutClosing(IParamMap2* map) = 0;
};

// An open rollout: the dialog made from the map's template, its controls bound
// to the block's parameters both ways. A control the user changes sets its
// parameter before the map's dialog procedure hears of it; a parameter that
// changes updates its control.
class IParamMap2 : public ReferenceMaker {
public:
    IParamMap2(IParamBlock2* block, const ParamMapDesc& desc, HINSTANCE module, Interface* ip);
    ~IParamMap2() override;
    SClass_ID SuperClassID() const override { return 0; }
    Class_ID ClassID() const override { return Class_ID(0, 0); }

    IParamBlock2* GetParamBlock() { return block; }
    MapID GetMapID() const { return desc.id; }
    const ParamMapDesc& Desc() const { return desc; }
    // The map owns proc from now on (a previous one is deleted); with the dialog
    // open, proc hears WM_INITDIALOG at once.
    void SetUserDlgProc(ParamMap2UserDlgProc* proc);
    ParamMap2UserDlgProc* GetUserDlgProc() { return userProc; }
    // The rollout's dialog; nullptr when the module has no such template.
    HWND GetHWnd() { return hWnd; }
    // Every bound control shows its parameter's value at the interface's time.
    void Invalidate();

    // What the user does to controls the host draws itself.
    // A value typed or spun into the spinner spinnerID (clamped to its limits).
    void UserSetSpinner(int spinnerID, float value);
    // The pick button armed by a click waits for a node; this picks it.
    bool IsPicking() const { return picking; }
    void UserPickNode(INode* node);

    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int) override;
    void SetReference(int, ReferenceTarget* target) override;
    RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID&, RefMessage,
                               bool) override;

private:
    INT_PTR DialogMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    TimeValue Now() const;

    IParamBlock2* block = nullptr;
    ParamMapDesc desc;
    Interface* ip;
    ParamMap2UserDlgProc* userProc = nullptr;
    HWND hWnd = nullptr;
    bool picking = false;
    std::map<int, std::wstring> pickLabels;  // the template's text of each pick button
};

class ClassDesc2 {
public:
    virtual ~ClassDesc2() = default;
    virtual int IsPublic() = 0;
    virtual void* Create(BOOL loading = FALSE) = 0;
    virtual BOOL OkToCreate(Interface*) { return TRUE; }
    virtual const wchar_t* ClassName() = 0;
    virtual SClass_ID SuperClassID() = 0;
    virtual Class_ID ClassID() = 0;
    virtual const wchar_t* Category() = 0;
    virtual const wchar_t* InternalName() { return nullptr; }
    virtual HINSTANCE HInstance() { return nullptr; }

    void AddParamBlockDesc(ParamBlockDesc2* pbd) { blockDescs.push_back(pbd); }
    int NumParamBlockDescs() const { return static_cast<int>(blockDescs.size()); }
    ParamBlockDesc2* GetParamBlockDesc(int i) { return blockDescs[i]; }
    ParamBlockDesc2* GetParamBlockDescByID(BlockID id);

    // Creates a block for every description with automatic construction and makes
    // it the owner's reference refNo.
    void MakeAutoParamBlocks(ReferenceMaker* owner);
    // Opens (closes) a rollout for every map of every description with automatic
    // user interface, on the owner's block of that description.
    void BeginEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags, Animatable* prev);
    void EndEditParams(IObjParam* ip, ReferenceMaker* obj, ULONG flags, Animatable* next);

private:
    std::vector<ParamBlockDesc2*> blockDescs;
};
