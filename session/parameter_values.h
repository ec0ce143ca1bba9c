// A copy of the modifier's parameter values, to carry them to another modifier.
#pragma once

#include <vector>

#include "iparamb2.h"

// A parameter's value as the block holds it: floats in value, the rest in whole.
struct ParameterValue {
    ParamID id = -1;
    bool isFloat = false;
    float value = 0.0f;
    int whole = 0;
};

// The values of block's parameters (the picked node left out).
std::vector<ParameterValue> ParameterValuesOf(IParamBlock2* block);

// Sets each of values on block.
void SetParameterValues(IParamBlock2* block, const std::vector<ParameterValue>& values);
