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

}  // namespace slitform
