#include "placement/projection_frame.h"

#include "placement/jacobi_eigen_solve.h"
#include "placement/sort_eigen_descending.h"

Matrix3 ComputeProjectionFrame(const Tab<Point3>& points) {
    const int count = points.Count();
    // An empty table has no frame: the caller sees the table's own error.
    if (count == 0)
        throw TabOutOfRangeException();

    float sumX = 0.0f;
    float sumY = 0.0f;
    float sumZ = 0.0f;
    for (int i = 0; i < count; ++i) {
        const Point3& p = points[i];
        sumX += p.x;
        sumY += p.y;
        sumZ += p.z;
    }
    const float r = 1.0f / static_cast<float>(count);
    const Point3 centroid(sumX * r, sumY * r, sumZ * r);

    float sxx = 0.0f;
    float sxy = 0.0f;
    float sxz = 0.0f;
    float syy = 0.0f;
    float syz = 0.0f;
    float szz = 0.0f;
    for (int i = 0; i < count; ++i) {
        const Point3& p = points[i];
        const float dx = p.x - centroid.x;
        const float dy = p.y - centroid.y;
        const float dz = p.z - centroid.z;
        sxx += dx * dx;
        sxy += dx * dy;
        sxz += dx * dz;
        syy += dy * dy;
        syz += dy * dz;
        szz += dz * dz;
    }

    float aRows[3][3] = {{sxx, sxy, sxz}, {sxy, syy, syz}, {sxz, syz, szz}};
    float vRows[3][3] = {};
    float d[3] = {};
    float* const a[3] = {aRows[0], aRows[1], aRows[2]};
    float* const v[3] = {vRows[0], vRows[1], vRows[2]};
    JacobiEigenSolve(a, 3, d, v);
    SortEigenDescending(d, v, 3);

    Matrix3 frame;
    for (int row = 0; row < 3; ++row) frame.SetRow(row, Point3(v[0][row], v[1][row], v[2][row]));
    frame.SetRow(3, centroid);
    frame.ValidateFlags();

    // A left-handed (or undecidable) set is flipped whole; the centroid stays.
    const Point3 cross = CrossProd(frame.GetRow(0), frame.GetRow(1));
    if (!(DotProd(cross, frame.GetRow(2)) > 0.0f))
        frame.PreScale(Point3(-1.0f, -1.0f, -1.0f), FALSE);
    return frame;
}
