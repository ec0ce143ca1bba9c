// A line to cast onto the surface.
#pragma once

#include "point3.h"

// The line through origin along direction; it extends on both sides of origin,
// and distances along it are measured in units of the direction's length.
struct SnapRay {
    Point3 origin;
    Point3 direction;
};
