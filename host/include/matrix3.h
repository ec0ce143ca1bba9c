// Matrix3: the host's affine transform of four rows of three floats. Rows 0 to 2
// are the axes, row 3 the translation; points are row vectors (point * matrix).
#pragma once

#include "maxtypes.h"
#include "point3.h"

// Identity flags that ValidateFlags derives from the values.
#define POS_IDENT 0x1
#define ROT_IDENT 0x2
#define SCL_IDENT 0x4
#define MAT_IDENT (POS_IDENT | ROT_IDENT | SCL_IDENT)

class Matrix3 {
public:
    // The identity.
    Matrix3();
    Matrix3(const Point3& row0, const Point3& row1, const Point3& row2, const Point3& row3);

    void SetRow(int i, const Point3& p);
    Point3 GetRow(int i) const;
    Point3 GetTrans() const { return GetRow(3); }
    void SetTrans(const Point3& p) { SetRow(3, p); }
    float* operator[](int i) { return m[i]; }
    const float* operator[](int i) const { return m[i]; }

    void IdentityMatrix();
    // Recomputes the identity flags from the values.
    void ValidateFlags();
    DWORD GetIdentFlags() const { return flags; }
    bool IsIdentity() const { return (flags & MAT_IDENT) == MAT_IDENT; }

    // Multiplies row i (i = 0 to 2) by s[i]; with trans also the translation row.
    void PreScale(const Point3& s, BOOL trans = FALSE);
    // Appends a translation: the matrix then moves points by t afterwards.
    void Translate(const Point3& t);

    // The transform that applies this one, then b.
    Matrix3 operator*(const Matrix3& b) const;
    Matrix3& operator*=(const Matrix3& b) { return *this = *this * b; }
    bool operator==(const Matrix3& b) const;

private:
    float m[4][3];
    DWORD flags;
};

// Row vector times matrix, translation applied.
Point3 operator*(const Point3& p, const Matrix3& a);
// The full inverse of an affine transform. A singular matrix has no inverse: the
// result is then the identity, so that no NaN enters the scene.
Matrix3 Inverse(const Matrix3& a);
Matrix3 RotateXMatrix(float angle);
Matrix3 RotateYMatrix(float angle);
Matrix3 RotateZMatrix(float angle);
Matrix3 ScaleMatrix(const Point3& s);
Matrix3 TransMatrix(const Point3& t);
