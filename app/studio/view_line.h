// A polyline of the shape in world space, as the viewport draws and picks it.
#pragma once

#include <vector>

#include "point3.h"

struct ViewLine {
    std::vector<Point3> points;
    bool closed = false;
};
