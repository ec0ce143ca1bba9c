// Checks that a face cut is right: the mesh stays consistent, the new faces tile
// the old face exactly, the shape's lines inside the face became selected edges
// and only they did, new vertices stay in a planar face's plane, triangles keep
// the minimum angle where the input allows it, and the new faces are oriented
// like the face they replace (a face cut from behind is flipped back to it).
#pragma once

#include <gtest/gtest.h>

#include "mnmesh.h"
#include "polyshp.h"

struct CutExpectation {
    Point3 direction;           // the projection direction D of the cut
    bool inPlane = true;        // the shape lay on the face's plane (or local was on)
    bool triangles = false;     // interior edges kept: every new face a triangle
    float minAngle = 0.0f;      // checked only when triangles is set
    bool shapeSelected = true;  // shape lines must be covered by selected edges
    float weld = 0.0f;          // the weld may move an outline corner by half of it
};

// Compares the mesh after one CutFace of face with the mesh before it. Returns
// the number of new faces; failures are reported through GoogleTest.
int CheckCut(const MNMesh& before, const MNMesh& after, int face, const PolyShape& shape,
             const CutExpectation& x);
