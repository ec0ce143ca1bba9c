// What the modifier's parameters are, from the plug-in's own descriptions.
#pragma once

#include <string>
#include <vector>

namespace slitform {

struct ParameterInfo {
    std::string name;
    std::string kind;  // "switch", "whole" or "number"
    double defaultValue = 0.0;
    bool hasRange = false;
    double low = 0.0, high = 0.0;
    std::string meaning;
};

// Takes the plug-in path (empty: as Parameters::plugin) and gives every settable
// parameter in the plug-in's order; throws Error when the plug-in cannot be loaded.
std::vector<ParameterInfo> ListParameters(const std::string& plugin = std::string());

}  // namespace slitform
