// The modifier's parameters by name, and where its plug-in is.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace slitform {

// The selection level the result is left at.
enum class SelectionLevel { Object = 0, Vertices = 1, Edges = 2, Faces = 3, AsItCame = 4 };

// Every parameter of the modifier as a typed value, with the modifier's defaults.
struct CutParameters {
    bool removeUnused = true;  // remove_unused: drop the triangulation's needless edges
    bool weldOn = false;       // weld_on: weld the cut faces to their neighbours
    float weld = 0.001f;       // weld: how close border vertices join (object units, >= 0)
    bool open = false;         // open: delete the faces inside closed lines (holes)
    bool local = false;        // local: cut every face in its own plane
    bool collinearOn = false;  // collinear_on: remove cut vertices on straight runs
    float collinear = 0.001f;  // collinear: that tolerance (object units, >= 0)
    bool through = false;      // through: cut the faces looking away too
    bool matidOn = false;      // matid_on: give the inside faces material matid
    int matid = 1;             // matid: 1 to 999, counting from 1
    SelectionLevel selLevel = SelectionLevel::AsItCame;  // sel_level
    float minAngle = 27.0f;  // min_angle: refinement's smallest angle, 0 to 33 degrees
};

class Parameters {
public:
    // Sets a parameter by its name (see ListParameters) to a number or, for a
    // switch, on/off, 1/0, true/false, yes/no; names and values are checked by the
    // cut. A later value for the same name replaces an earlier one.
    Parameters& Set(const std::string& name, const std::string& value);
    Parameters& Set(const std::string& name, const char* value);
    Parameters& Set(const std::string& name, double value);
    Parameters& Set(const std::string& name, bool value);
    // Sets every parameter from typed values, by their names.
    Parameters& Set(const CutParameters& values);
    const std::vector<std::pair<std::string, std::string>>& Values() const { return values; }

    // The Slitform.dlm to load; empty: $SLITFORM_PLUGIN_DIR, else the one that
    // belongs to this library (its build tree or its installation).
    std::string plugin;

private:
    std::vector<std::pair<std::string, std::string>> values;
};

}  // namespace slitform
