// The modifier's parameters by name, and where its plug-in is.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace slitform {

class Parameters {
public:
    // Sets a parameter by its name (see ListParameters) to a number or, for a
    // switch, on/off, 1/0, true/false, yes/no; names and values are checked by the
    // cut. A later value for the same name replaces an earlier one.
    Parameters& Set(const std::string& name, const std::string& value);
    Parameters& Set(const std::string& name, const char* value);
    Parameters& Set(const std::string& name, double value);
    Parameters& Set(const std::string& name, bool value);
    const std::vector<std::pair<std::string, std::string>>& Values() const { return values; }

    // The Slitform.dlm to load; empty: $SLITFORM_PLUGIN_DIR, else the one that
    // belongs to this library (its build tree or its installation).
    std::string plugin;

private:
    std::vector<std::pair<std::string, std::string>> values;
};

}  // namespace slitform
