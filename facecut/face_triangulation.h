// The triangulator's input and output records of one face cut, with every array
// they hold released (with free, as the triangulator allocates) when it goes.
#pragma once

#include "triangle.h"

class FaceTriangulation {
public:
    FaceTriangulation();
    FaceTriangulation(const FaceTriangulation&) = delete;
    FaceTriangulation& operator=(const FaceTriangulation&) = delete;
    ~FaceTriangulation();

    triangulateio in;
    triangulateio out;
    char switches[32];
    // Refinement stopped at the triangulator's point limit, short of the angle.
    bool refinementLimited = false;
    // The triangulator refused the face's graph: its segments cross too often.
    bool tooManyCrossings = false;
};
