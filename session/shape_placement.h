// Where the command line and the window put a shape when the user gives no
// transform: centred over the object, scaled to 80% of its footprint, lying flat
// above its top, so that it projects straight down onto it.
#pragma once

#include "matrix3.h"
#include "mnmesh.h"
#include "splshape.h"

struct ShapePlacement {
    Point3 centre;       // of the shape's bounding box, in its own space
    float scale = 1.0f;  // applied about the centre
    Point3 position;     // of the shape node, in world space
};

// Takes the object's mesh, its node transform and the shape. False when either has
// no finite extent.
bool DefaultShapePlacement(const MNMesh& object, const Matrix3& objectTM, const BezierShape& shape,
                           ShapePlacement& placement);
// Moves and scales the shape's knots and handles so that its centre is its origin;
// the node then stands at placement.position (a translation only), which keeps
// the direction from the shape's node to the object's node pointing down.
void CentreShape(BezierShape& shape, const ShapePlacement& placement);
