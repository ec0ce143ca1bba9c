// The embedded default scene of the demo: a rounded box and a star to cut into it.
#pragma once

#include "polyobj.h"
#include "splshape.h"

// A box of the given size centred on the origin, its edges and corners rounded
// with radius, each side divided into segments by segments quads; outward facing.
PolyObject* MakeRoundedBox(const Point3& size, float radius, int segments);
// A closed star of straight segments in the xy plane: points tips at outer radius
// alternating with notches at inner radius, the first tip on +y.
SplineShape* MakeStar(int points, float outer, float inner);
