#include "session/node_transform.h"

Matrix3 NodeTransform::ToMatrix() const {
    if (matrix)
        return *matrix;
    const float toRadians = 3.14159265358979f / 180.0f;
    Matrix3 m = ScaleMatrix(Point3(scale, scale, scale));
    m = m * RotateXMatrix(rotateDegrees.x * toRadians);
    m = m * RotateYMatrix(rotateDegrees.y * toRadians);
    m = m * RotateZMatrix(rotateDegrees.z * toRadians);
    m = m * TransMatrix(translate);
    return m;
}
