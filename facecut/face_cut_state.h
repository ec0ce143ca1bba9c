// What the first phase of a face cut hands on to the triangulation and the rebuild.
#pragma once

#include "matrix3.h"
#include "polyshp.h"

struct FaceCutState {
    // Local projection: the frame's depth axis is the face's own normal.
    bool local = false;
    // The face looked along the projection direction: new faces are reversed.
    bool flip = false;
    // Frame coordinates to object space, and back.
    Matrix3 frame;
    Matrix3 inverseFrame;
    // The face's corners in frame coordinates, closed, with the shape points that
    // lie on its edges inserted.
    PolyLine outline;
    // The shape's polylines in frame coordinates, with the outline points that lie
    // on their segments inserted. With local projection, the points above the face
    // only, laid onto its plane.
    PolyShape frameShape;
    // The mean of the face's corners in frame coordinates.
    Point3 centroid;
    // The smallest distance, across the direction, between two corners of the face
    // or between a corner and an edge it does not end: the weld must not close it.
    double cornerSpacing = 0.0;
};
