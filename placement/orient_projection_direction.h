// The projection direction from the projection frame and the two nodes.
#pragma once

#include "matrix3.h"
#include "point3.h"

// Takes the projection frame and the object transforms of the modified object's
// node and of the shape's node. Gives row 2 of the frame, negated unless it has a
// non-negative dot product with the world direction from the shape's node to the
// object's node.
Point3 OrientProjectionDirection(const Matrix3& frame, const Matrix3& objectTM,
                                 const Matrix3& shapeTM);
