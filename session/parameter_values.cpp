#include "session/parameter_values.h"

std::vector<ParameterValue> ParameterValuesOf(IParamBlock2* block) {
    std::vector<ParameterValue> values;
    for (const ParamDef& def : block->GetDesc()->params) {
        if (def.type == TYPE_INODE)
            continue;
        ParameterValue v;
        v.id = def.id;
        v.isFloat = def.type == TYPE_FLOAT;
        if (v.isFloat)
            v.value = block->GetFloat(def.id);
        else
            v.whole = block->GetInt(def.id);
        values.push_back(v);
    }
    return values;
}

void SetParameterValues(IParamBlock2* block, const std::vector<ParameterValue>& values) {
    for (const ParameterValue& v : values) {
        if (v.isFloat)
            block->SetValue(v.id, 0, v.value);
        else
            block->SetValue(v.id, 0, v.whole);
    }
}
