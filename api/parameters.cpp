#include "slitform/parameters.h"

#include <cstdio>

namespace slitform {

Parameters& Parameters::Set(const std::string& name, const std::string& value) {
    for (auto& entry : values)
        if (entry.first == name) {
            entry.second = value;
            return *this;
        }
    values.emplace_back(name, value);
    return *this;
}

// Text stays text: a literal would otherwise convert to bool.
Parameters& Parameters::Set(const std::string& name, const char* value) {
    return Set(name, std::string(value));
}

Parameters& Parameters::Set(const std::string& name, double value) {
    // Enough digits that the text reads back as the same double.
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return Set(name, std::string(text));
}

Parameters& Parameters::Set(const std::string& name, bool value) {
    return Set(name, std::string(value ? "on" : "off"));
}

Parameters& Parameters::Set(const CutParameters& v) {
    return Set("remove_unused", v.removeUnused)
        .Set("weld_on", v.weldOn)
        .Set("weld", static_cast<double>(v.weld))
        .Set("open", v.open)
        .Set("local", v.local)
        .Set("collinear_on", v.collinearOn)
        .Set("collinear", static_cast<double>(v.collinear))
        .Set("through", v.through)
        .Set("matid_on", v.matidOn)
        .Set("matid", static_cast<double>(v.matid))
        .Set("sel_level", static_cast<double>(static_cast<int>(v.selLevel)))
        .Set("min_angle", static_cast<double>(v.minAngle));
}

}  // namespace slitform
