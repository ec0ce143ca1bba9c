// One evaluation of the modifier on copies of the window's scene, so that it can
// run on a worker thread while the user goes on editing the originals.
#pragma once

#include <string>
#include <vector>

#include "app/plugin_loader.h"
#include "iparamb2.h"
#include "matrix3.h"
#include "mnmesh.h"
#include "splshape.h"

// A parameter's value as the block holds it: floats in value, the rest in whole.
struct ParameterValue {
    ParamID id = -1;
    bool isFloat = false;
    float value = 0.0f;
    int whole = 0;
};

// Everything an evaluation reads, copied.
struct EvaluationInput {
    MNMesh mesh;
    Matrix3 objectTM;
    bool hasShape = false;
    BezierShape shape;
    Matrix3 shapeTM;
    bool shapePicked = false;
    std::vector<ParameterValue> parameters;  // every parameter but the picked node
};

struct EvaluationResult {
    bool evaluated = false;  // false: error says why, mesh is the input
    std::string error;
    MNMesh mesh;  // the modifier's output, in the object's space
    int facesCut = 0;
    int selectedEdges = 0;
    double seconds = 0.0;
};

// The values of block's parameters (the picked node left out).
std::vector<ParameterValue> ParameterValuesOf(IParamBlock2* block);

// Builds a fresh scene of copies of input with a new modifier from lib, sets its
// parameters, picks the shape when input says so and evaluates the object's node.
// Any exception of the evaluation ends up in the result's error.
EvaluationResult EvaluateCopy(const PluginLibrary& lib, const EvaluationInput& input);
