// The overlay operations as plain exhaustive walks over every pair, without the
// bounds that let the library skip pairs: the yardstick for those bounds. They
// share the library's limit on insertions, which only runaway input reaches.
#pragma once

#include "polyshp.h"

void ReferenceAddShapePointsToOutline(PolyLine& outline, const PolyShape& shape);
void ReferenceAddOutlinePointsToShape(PolyShape& shape, const PolyLine& outline);
bool ReferenceShapeCutsOutline(const PolyLine& outline, const PolyShape& shape);
