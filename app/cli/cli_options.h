// The command line of the slitform program.
#pragma once

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "matrix3.h"
#include "session/node_transform.h"

struct CliOptions {
    std::string command;  // "demo", "cut" or "info"
    std::string meshPath, shapePath, outPath;
    std::string outDir = "slitform-demo";
    std::vector<std::pair<std::string, std::string>> sets;
    NodeTransform object, shape;
    std::string up;  // "y" or "z" as given to --up; empty: from the mesh's format
    int steps = 6;
    bool optimize = true;
    std::string reportPath, picturePath;
    std::string pluginPath;
    bool cutLines = false;             // OBJ output: the cut lines as line elements
    std::string text;                  // a shape from lettering instead of SHAPE
    std::string font = "DejaVu Sans";  // its font family
    // PLY output: binary or text as asked, else binary from 100000 faces on.
    bool plyBinary = false, plyAscii = false;
};

// What parsing the command line came to.
enum class ParseResult {
    Run,         // options hold a command to run
    Answered,    // help or the version went to out: exit 0
    UsageError,  // error says what is wrong: exit 2
};

// Parses argv (the commands demo, cut and info, each with --help).
ParseResult ParseCommandLine(int argc, char** argv, CliOptions& options, std::ostream& out,
                             std::string& error);
