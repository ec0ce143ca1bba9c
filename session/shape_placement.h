// Where the command line and the window put a shape when the user gives no
// transform: centred over the object, scaled to 80% of its footprint, lying flat
// above its top, so that it projects straight down onto it. Which way is up is the
// caller's choice: most tools give meshes Z up, glTF and many OBJ exports Y up.
#pragma once

#include "matrix3.h"
#include "mnmesh.h"
#include "splshape.h"

// The world axis that points up. With Y up the shape's x runs along world X and its
// y along world -Z, as a top view of a Y-up scene shows them.
enum class UpAxis { Z, Y };

struct ShapePlacement {
    Point3 centre;       // of the shape's bounding box, in its own space
    float scale = 1.0f;  // applied about the centre
    Matrix3 node;        // the shape node's transform: turned so its z is up, then moved
};

// Takes the object's mesh, its node transform, the shape and the up axis. False when
// the mesh or the shape has no finite extent.
bool DefaultShapePlacement(const MNMesh& object, const Matrix3& objectTM, const BezierShape& shape,
                           UpAxis up, ShapePlacement& placement);
// Moves and scales the shape's knots and handles so that its centre is its origin;
// the node then takes placement.node, whose z axis points up, so that the shape
// projects down onto the object.
void CentreShape(BezierShape& shape, const ShapePlacement& placement);
