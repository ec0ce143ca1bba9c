#include "session/parameter_by_name.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "resources.h"

namespace {

bool ParseNumber(const std::string& text, double& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && errno != ERANGE && std::isfinite(out);
}

// The names a user may set: every parameter but the picked node.
std::string SettableNames(const ParamBlockDesc2& desc) {
    std::string names;
    for (const ParamDef& def : desc.params) {
        if (def.type == TYPE_INODE)
            continue;
        names += (names.empty() ? "" : ", ") + Utf8FromWide(def.intName);
    }
    return names;
}

}  // namespace

bool SetParameterByName(IParamBlock2* block, const std::string& name, const std::string& value,
                        std::string& error) {
    const ParamDef* def = block->GetDesc()->FindParam(WideFromUtf8(name));
    if (!def || def->type == TYPE_INODE) {
        error = name + ": no such parameter (" + SettableNames(*block->GetDesc()) + ")";
        return false;
    }
    double v = 0.0;
    if (def->type == TYPE_BOOL) {
        if (value == "1" || value == "on" || value == "true" || value == "yes")
            v = 1.0;
        else if (value == "0" || value == "off" || value == "false" || value == "no")
            v = 0.0;
        else {
            error = name + "=" + value + ": not a switch (use on/off, 1/0, true/false)";
            return false;
        }
        block->SetValue(def->id, 0, static_cast<int>(v));
        return true;
    }
    if (!ParseNumber(value, v) || (def->type == TYPE_INT && v != std::floor(v))) {
        error =
            name + "=" + value + ": not " + (def->type == TYPE_INT ? "a whole number" : "a number");
        return false;
    }
    if (def->type == TYPE_INT) {
        if (def->hasRange && (v < def->lowInt || v > def->highInt)) {
            error = name + "=" + value + ": out of range " + std::to_string(def->lowInt) + " to " +
                    std::to_string(def->highInt);
            return false;
        }
        block->SetValue(def->id, 0, static_cast<int>(v));
        return true;
    }
    float f = static_cast<float>(v);
    if (def->hasRange && (f < def->lowFloat || f > def->highFloat)) {
        char range[96];
        std::snprintf(range, sizeof range, ": out of range %g to %g", def->lowFloat,
                      def->highFloat);
        error = name + "=" + value + range;
        return false;
    }
    block->SetValue(def->id, 0, f);
    return true;
}
