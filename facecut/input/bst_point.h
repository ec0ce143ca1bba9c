// bstPoint: the point record of the weld.
#pragma once

#include <cstdint>

#include "facecut/input/custom_flag.h"
#include "facecut/point3d.h"

// Flags word of a record that stands for one input point; a record that has
// absorbed another has flags word 0.
constexpr DWORD kRecordSinglePoint = 0x10;

class bstPoint : public Point3d, public CustomFlag {
public:
    ~bstPoint() override = default;

    // Distance of (x, y) from the face-frame origin.
    double radius = 0.0;
    // The point's number in the input record, or -1 once it has absorbed another.
    std::int32_t index = -1;
};
