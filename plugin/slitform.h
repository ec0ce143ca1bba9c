// The Slitform modifier: owns its parameter block, reports its class and channels,
// opens its rollouts while edited, filters its block's notifications, and cuts
// the object in ModifyObject.
#pragma once

#include <atomic>
#include <vector>

#include "contract/cut_record.h"
#include "iparamb2.h"
#include "object.h"

// Channels the modifier uses and changes: topology, geometry, texture
// coordinates, selection, sub-selection type and vertex colours.
#define SLITFORM_CHANNELS 183

class Slitform : public Modifier {
public:
    Slitform();
    ~Slitform() override;

    void DeleteThis() override { delete this; }
    void GetClassName(std::wstring& s) const override;
    SClass_ID SuperClassID() const override { return OSM_CLASS_ID; }
    Class_ID ClassID() const override;
    void BeginEditParams(IObjParam* ip, ULONG flags, Animatable* prev) override;
    void EndEditParams(IObjParam* ip, ULONG flags, Animatable* next) override;
    int NumSubs() override { return 1; }
    Animatable* SubAnim(int) override { return pblock; }
    std::wstring SubAnimName(int) override;
    int NumParamBlocks() override { return 1; }
    IParamBlock2* GetParamBlock(int) override { return pblock; }
    IParamBlock2* GetParamBlockByID(BlockID id) override;
    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int) override { return pblock; }
    void SetReference(int, ReferenceTarget* target) override;
    int SubNumToRefNum(int subNum) { return subNum; }
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* target, PartID& partID,
                               RefMessage message, bool propagate) override;
    ReferenceTarget* Clone(RemapDir& remap) override;
    std::wstring GetObjectName() override;
    Interval LocalValidity(TimeValue t) override;
    ChannelMask ChannelsUsed() override { return SLITFORM_CHANNELS; }
    ChannelMask ChannelsChanged() override { return SLITFORM_CHANNELS; }
    Class_ID InputType() override { return polyObjectClassID; }
    void ModifyObject(TimeValue t, ModContext& mc, ObjectState* os, INode* node) override;

    IParamBlock2* pblock = nullptr;
    // The About rollout's banner; made when that rollout opens, owned here.
    HIMAGELIST aboutImages = nullptr;
    // What the latest evaluation did, for the library's export.
    CutRecord lastCut;
    // Where each face of the latest result came from, for the library's export.
    std::vector<int> faceOrigins;
    // How far the running evaluation's cut has come, for the library's other export.
    std::atomic<long long> facesToVisit{0};
    std::atomic<long long> facesVisited{0};
    // The host's flag that stops an evaluation between faces, if it handed one over.
    std::atomic<const std::atomic<bool>*> cancelFlag{nullptr};
};
