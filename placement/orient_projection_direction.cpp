#include "placement/orient_projection_direction.h"

Point3 OrientProjectionDirection(const Matrix3& frame, const Matrix3& objectTM,
                                 const Matrix3& shapeTM) {
    const Point3 direction = frame.GetRow(2);
    const Point3 towardsObject = Normalize(objectTM.GetTrans() - shapeTM.GetTrans());
    if (DotProd(direction, towardsObject) >= 0.0f)
        return direction;
    return -direction;
}
