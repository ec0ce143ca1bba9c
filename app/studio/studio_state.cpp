#include "app/studio/studio_state.h"

#include "resources.h"

namespace {

bool SameParameter(const ParameterValue& a, const ParameterValue& b) {
    return a.id == b.id && a.isFloat == b.isFloat && a.value == b.value && a.whole == b.whole;
}

bool SamePlacement(const NodeTransform& a, const NodeTransform& b) {
    return a.translate == b.translate && a.rotateDegrees == b.rotateDegrees && a.scale == b.scale;
}

// The parameter's name as the plug-in shows it (its string resource), else its
// internal name.
std::string DisplayName(ParamBlockDesc2& desc, const ParamDef& def) {
    wchar_t text[128] = {};
    const HINSTANCE module = desc.cd ? desc.cd->HInstance() : nullptr;
    if (module && def.localName != 0 && LoadStringW(module, def.localName, text, 128) > 0)
        return Utf8FromWide(text);
    return Utf8FromWide(def.intName);
}

}  // namespace

bool operator==(const StudioState& a, const StudioState& b) {
    if (a.mesh != b.mesh || a.shape != b.shape || a.picked != b.picked || a.up != b.up ||
        !SamePlacement(a.placement, b.placement) || a.parameters.size() != b.parameters.size())
        return false;
    for (size_t i = 0; i < a.parameters.size(); ++i)
        if (!SameParameter(a.parameters[i], b.parameters[i]))
            return false;
    return true;
}

ChangeDescription DescribeChange(const StudioState& before, const StudioState& after,
                                 IParamBlock2* block) {
    if (before.mesh != after.mesh)
        return {after.mesh ? "Open mesh " + Utf8FromWide(after.mesh->name) : "Close mesh", false};
    if (before.shape != after.shape)
        return {after.shape ? "Open shape " + Utf8FromWide(after.shape->name) : "Close shape",
                false};
    if (before.picked != after.picked)
        return {after.picked ? "Pick shape" : "Clear pick", false};
    if (before.up != after.up)
        return {after.up == slitform::UpAxis::Y ? "Set Y up" : "Set Z up", false};
    if (!SamePlacement(before.placement, after.placement)) {
        NodeTransform moved = before.placement;
        moved.translate = after.placement.translate;
        return {SamePlacement(moved, after.placement) ? "Move shape" : "Place shape", true};
    }
    std::vector<ParamID> changed;
    for (size_t i = 0; i < after.parameters.size() && i < before.parameters.size(); ++i)
        if (!SameParameter(before.parameters[i], after.parameters[i]))
            changed.push_back(after.parameters[i].id);
    if (changed.size() == 1 && block)
        for (const ParamDef& def : block->GetDesc()->params)
            if (def.id == changed[0])
                return {"Set " + DisplayName(*block->GetDesc(), def), def.ctrlType == TYPE_SPINNER};
    return {"Change parameters", false};
}
