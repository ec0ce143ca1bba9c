// The command line of the slitform program.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "matrix3.h"

// A node transform as given: translation, rotation in degrees about x, y and z
// (in that order), uniform scale, or a whole matrix.
struct NodeTransform {
    bool given = false;
    Point3 translate;
    Point3 rotateDegrees;
    float scale = 1.0f;
    std::optional<Matrix3> matrix;
    Matrix3 ToMatrix() const;
};

struct CliOptions {
    std::string command;  // "demo", "cut" or "info"
    std::string meshPath, shapePath, outPath;
    std::string outDir = "slitform-demo";
    std::vector<std::pair<std::string, std::string>> sets;
    NodeTransform object, shape;
    int steps = 6;
    bool optimize = true;
    std::string reportPath, picturePath;
    std::string pluginPath;
};

// Parses argv; false with a message for a usage error.
bool ParseCommandLine(int argc, char** argv, CliOptions& options, std::string& error);
// The usage text.
const char* UsageText();
