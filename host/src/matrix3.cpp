#include "matrix3.h"

#include <cmath>

Matrix3::Matrix3() {
    IdentityMatrix();
}

Matrix3::Matrix3(const Point3& row0, const Point3& row1, const Point3& row2, const Point3& row3) {
    SetRow(0, row0);
    SetRow(1, row1);
    SetRow(2, row2);
    SetRow(3, row3);
    ValidateFlags();
}

void Matrix3::SetRow(int i, const Point3& p) {
    m[i][0] = p.x;
    m[i][1] = p.y;
    m[i][2] = p.z;
    flags = 0;
}

Point3 Matrix3::GetRow(int i) const {
    return Point3(m[i][0], m[i][1], m[i][2]);
}

void Matrix3::IdentityMatrix() {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = (i == j) ? 1.0f : 0.0f;
    flags = MAT_IDENT;
}

void Matrix3::ValidateFlags() {
    flags = 0;
    if (m[3][0] == 0.0f && m[3][1] == 0.0f && m[3][2] == 0.0f)
        flags |= POS_IDENT;
    bool diagonal = true;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != j && m[i][j] != 0.0f)
                diagonal = false;
    if (diagonal) {
        flags |= ROT_IDENT;
        if (m[0][0] == 1.0f && m[1][1] == 1.0f && m[2][2] == 1.0f)
            flags |= SCL_IDENT;
    }
}

void Matrix3::PreScale(const Point3& s, BOOL trans) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] *= s[i];
    if (trans)
        for (int j = 0; j < 3; ++j) m[3][j] *= s[j];
    ValidateFlags();
}

void Matrix3::Translate(const Point3& t) {
    m[3][0] += t.x;
    m[3][1] += t.y;
    m[3][2] += t.z;
    ValidateFlags();
}

Matrix3 Matrix3::operator*(const Matrix3& b) const {
    Matrix3 r;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            float v = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j];
            if (i == 3)
                v += b.m[3][j];
            r.m[i][j] = v;
        }
    }
    r.ValidateFlags();
    return r;
}

bool Matrix3::operator==(const Matrix3& b) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            if (m[i][j] != b.m[i][j])
                return false;
    return true;
}

Point3 operator*(const Point3& p, const Matrix3& a) {
    return Point3(p.x * a[0][0] + p.y * a[1][0] + p.z * a[2][0] + a[3][0],
                  p.x * a[0][1] + p.y * a[1][1] + p.z * a[2][1] + a[3][1],
                  p.x * a[0][2] + p.y * a[1][2] + p.z * a[2][2] + a[3][2]);
}

Matrix3 Inverse(const Matrix3& a) {
    // Cofactors of the 3x3 part, in double so that well-conditioned transforms
    // invert to within float rounding.
    double c[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            c[i][j] = double(a[i1][j1]) * a[i2][j2] - double(a[i1][j2]) * a[i2][j1];
        }
    }
    double det = double(a[0][0]) * c[0][0] + double(a[0][1]) * c[0][1] + double(a[0][2]) * c[0][2];
    if (!(det != 0.0) || !std::isfinite(det))
        return Matrix3();
    Matrix3 r;
    // inv[j][i] = c[i][j] / det (the transposed cofactor matrix).
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[j][i] = static_cast<float>(c[i][j] / det);
    for (int j = 0; j < 3; ++j) {
        double t =
            -(double(a[3][0]) * r[0][j] + double(a[3][1]) * r[1][j] + double(a[3][2]) * r[2][j]);
        r[3][j] = static_cast<float>(t);
    }
    r.ValidateFlags();
    return r;
}

Matrix3 RotateXMatrix(float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    return Matrix3(Point3(1.0f, 0.0f, 0.0f), Point3(0.0f, c, s), Point3(0.0f, -s, c),
                   Point3(0.0f, 0.0f, 0.0f));
}

Matrix3 RotateYMatrix(float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    return Matrix3(Point3(c, 0.0f, -s), Point3(0.0f, 1.0f, 0.0f), Point3(s, 0.0f, c),
                   Point3(0.0f, 0.0f, 0.0f));
}

Matrix3 RotateZMatrix(float angle) {
    float c = std::cos(angle), s = std::sin(angle);
    return Matrix3(Point3(c, s, 0.0f), Point3(-s, c, 0.0f), Point3(0.0f, 0.0f, 1.0f),
                   Point3(0.0f, 0.0f, 0.0f));
}

Matrix3 ScaleMatrix(const Point3& s) {
    return Matrix3(Point3(s.x, 0.0f, 0.0f), Point3(0.0f, s.y, 0.0f), Point3(0.0f, 0.0f, s.z),
                   Point3(0.0f, 0.0f, 0.0f));
}

Matrix3 TransMatrix(const Point3& t) {
    return Matrix3(Point3(1.0f, 0.0f, 0.0f), Point3(0.0f, 1.0f, 0.0f), Point3(0.0f, 0.0f, 1.0f), t);
}
