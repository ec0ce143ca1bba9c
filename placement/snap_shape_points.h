// Moves the points of a shape onto an object's surface along the projection
// direction.
#pragma once

#include <atomic>

#include "matrix3.h"
#include "mesh.h"
#include "point3.h"
#include "polyshp.h"

// Takes the shape (changed in place), the object transforms of the shape's node and
// of the modified object's node, the projection direction, the local flag and the
// object's triangle-mesh form. Every point is brought into the object's space; unless
// local is set, it then moves to the nearest point where the line through it along
// the direction meets a triangle (the lower face index on a tie). A point that meets
// nothing moves along the direction by the distance that the last snapped point of
// its polyline moved (0 before any). Only point positions change. Searches on up to
// `threads` threads, with the same result for any count. Gives false, the shape
// unchanged, when *stop turned true before every point was placed.
bool SnapShapePoints(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM,
                     const Point3& direction, bool local, const Mesh& mesh,
                     const std::atomic<bool>* stop = nullptr, int threads = 1);

// The same result, testing every point against every triangle: the reference for the
// indexed search above.
void SnapShapePointsExhaustive(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM,
                               const Point3& direction, bool local, const Mesh& mesh);
