// Everything of the window's scene that an evaluation depends on, as values: the
// files opened (shared, so that a state costs no copy of a mesh), the shape's
// placement, the pick and the parameters. Undo and redo go from one to another.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "io/mesh_attributes.h"
#include "mnmesh.h"
#include "session/node_transform.h"
#include "session/parameter_values.h"
#include "splshape.h"

struct MeshFile {
    MNMesh mesh;
    MeshAttributes attributes;
    std::wstring name;  // the node's
};

struct ShapeFile {
    BezierShape shape;
    std::wstring name;
};

struct StudioState {
    std::shared_ptr<const MeshFile> mesh;       // nullptr: the empty object
    std::shared_ptr<const ShapeFile> shape;     // nullptr: no shape
    NodeTransform placement;                    // of the shape, on top of the fit
    slitform::UpAxis up = slitform::UpAxis::Z;  // the mesh's, which the fit lays the shape over
    bool picked = false;                        // the shape is the modifier's pick
    std::vector<ParameterValue> parameters;
};

bool operator==(const StudioState& a, const StudioState& b);
inline bool operator!=(const StudioState& a, const StudioState& b) {
    return !(a == b);
}

struct ChangeDescription {
    std::string text;  // a few words for the Edit menu: "Open mesh box", "Set Weld on"
    // A step of a change made in many small steps (a spinner held, a placement
    // typed in): consecutive ones of the same text may join into one.
    bool gradual = false;
};

// What went from before to after; block names the parameters.
ChangeDescription DescribeChange(const StudioState& before, const StudioState& after,
                                 IParamBlock2* block);
