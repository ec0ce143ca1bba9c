// What a cut gives back: the mesh, its selections and a report.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "slitform/mesh.h"
#include "slitform/shape.h"

namespace slitform {

using Edge = std::array<int, 2>;  // vertex indices, the lower first

struct Report {
    int facesIn = 0, edgesIn = 0, verticesIn = 0;
    int facesOut = 0, edgesOut = 0, verticesOut = 0;
    int facesCut = 0;
    int selectedVertices = 0, selectedEdges = 0, selectedFaces = 0;
    // The projection direction in the mesh's space; known only when the cut ran.
    bool directionKnown = false;
    Point direction{0, 0, 0};
    double seconds = 0.0;  // of the evaluation alone
    // Every parameter's value as the modifier held it, in its order.
    std::vector<std::pair<std::string, double>> parameters;
    // What the result likely gets wrong ("the shape cut no face", ...), one line each.
    std::vector<std::string> warnings;
    // The whole report as the command line's --report writes it (JSON: inputs, every
    // parameter, counts, the mesh's health before and after, warnings, rounded numbers).
    std::string json;
};

struct Outcome {
    Mesh mesh;  // live components only, renumbered in order
    std::vector<int> selectedVertices;
    std::vector<Edge> selectedEdges;
    std::vector<Edge> cutEdges;  // edges lying on a line of the shape
    std::vector<int> selectedFaces;
    Report report;
};

}  // namespace slitform
