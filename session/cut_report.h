// The report of one cut as a JSON document: the program, what went in (files,
// placement, every parameter), what came out, what the cut did, how whole the mesh is
// before and after, and the warnings about a result that is likely not what was meant.
// Every front end gives the same document.
#pragma once

#include <string>
#include <vector>

#include "matrix3.h"
#include "session/cut_outcome.h"
#include "session/mesh_health.h"

// A parameter's value as the modifier holds it.
struct ReportedParameter {
    enum class Kind { Switch, Whole, Number };
    std::string name;
    Kind kind = Kind::Number;
    double value = 0.0;
};

struct CutReport {
    std::string version;
    std::string meshPath, shapePath, pluginPath;
    std::string text, font;  // the lettering cut instead of a shape file, if any
    std::string placement;   // "fitted", "fitted and adjusted" or "matrix"
    std::string up;          // the fit's up axis, "y" or "z"; empty for "matrix"
    Matrix3 objectTM, shapeTM;
    int steps = 6;
    bool optimize = true;
    std::vector<ReportedParameter> parameters;
    MeshHealth healthIn, healthOut;
};

// A result that is likely not what the user meant, worded for no front end in
// particular: each adds its own hint of what to do.
struct CutWarning {
    enum class Kind {
        CutNoFace,         // the shape cut no face
        SplitWithoutWeld,  // the cut left the mesh in more pieces, with weld_on off
        PointLimit,        // refinement stopped at its point limit on some faces
        CrossingLimit,     // some faces were left uncut: the shape crosses itself too often
    };
    Kind kind;
    std::string message;
};

// The warnings about outcome, from its counts and the report's parameters and health.
std::vector<CutWarning> CutWarnings(const CutReport& report, const CutOutcome& outcome);

// Indented, UTF-8; numbers rounded to what they mean (no -0, no 1e-16 noise).
std::string CutReportJson(const CutReport& report, const CutOutcome& outcome);
