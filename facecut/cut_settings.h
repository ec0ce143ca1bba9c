// The parameters of a face cut, read once from the modifier's parameter block and
// handed as one value to every phase.
#pragma once

#include <algorithm>

#include "point3.h"
#include "triangle.h"

struct CutSettings {
    // Faces that look away from the direction are cut too.
    bool through = false;
    // Along which the shape is projected, in object space.
    Point3 direction;
    // Each face takes the shape along its own normal instead of the direction.
    bool local = false;
    // Interior edges the triangulator adds inside the faces cut are removed.
    bool removeUnused = false;
    // The triangulator's minimum angle in degrees; 0 asks for no refinement.
    float minAngle = 0.0f;
    // The weld threshold: points closer than this join (within WeldReach).
    float weld = 0.0f;
    // Threads of the cut; the result is the same for any number.
    int threads = 1;
    // Where each face's triangulator input goes for tracing the cut, or nullptr for
    // nowhere: called with "D:\tri_0.bin" (binary) and "D:\tri_0.txt" (text) as
    // built, and "D:\tri_1.txt" after the weld, in face order.
    void (*dumpInput)(const char* path, const triangulateio& input, bool binary) = nullptr;
};

// How far the weld reaches where the corners of the faces involved are spacing apart:
// never past half of it, so that it cannot join two of the mesh's own corners and
// collapse the faces between them.
inline double WeldReach(float weld, double spacing) {
    return std::min(static_cast<double>(weld), 0.5 * spacing);
}
