// Point3: the host's single-precision 3D point and vector.
#pragma once

#include <cmath>

class Point3 {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Point3() = default;
    Point3(float X, float Y, float Z) : x(X), y(Y), z(Z) {}

    float& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    float operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    Point3 operator-() const { return Point3(-x, -y, -z); }
    Point3 operator+(const Point3& b) const { return Point3(x + b.x, y + b.y, z + b.z); }
    Point3 operator-(const Point3& b) const { return Point3(x - b.x, y - b.y, z - b.z); }
    Point3 operator*(float f) const { return Point3(x * f, y * f, z * f); }
    Point3 operator/(float f) const { return Point3(x / f, y / f, z / f); }
    Point3& operator+=(const Point3& b) {
        x += b.x;
        y += b.y;
        z += b.z;
        return *this;
    }
    Point3& operator-=(const Point3& b) {
        x -= b.x;
        y -= b.y;
        z -= b.z;
        return *this;
    }
    Point3& operator*=(float f) {
        x *= f;
        y *= f;
        z *= f;
        return *this;
    }
    bool operator==(const Point3& b) const { return x == b.x && y == b.y && z == b.z; }
    bool operator!=(const Point3& b) const { return !(*this == b); }

    // Right-handed cross product.
    Point3 operator^(const Point3& b) const {
        return Point3(y * b.z - z * b.y, z * b.x - x * b.z, x * b.y - y * b.x);
    }
    // Dot product.
    float operator%(const Point3& b) const { return x * b.x + y * b.y + z * b.z; }

    float LengthSquared() const { return x * x + y * y + z * z; }
    float Length() const { return std::sqrt(x * x + y * y + z * z); }
    // The unit vector in the same direction; the zero vector stays the zero vector.
    Point3 Normalize() const {
        float l = Length();
        if (l == 0.0f)
            return Point3(0.0f, 0.0f, 0.0f);
        return Point3(x / l, y / l, z / l);
    }
};

inline Point3 operator*(float f, const Point3& a) {
    return Point3(a.x * f, a.y * f, a.z * f);
}
inline Point3 CrossProd(const Point3& a, const Point3& b) {
    return a ^ b;
}
inline float DotProd(const Point3& a, const Point3& b) {
    return a % b;
}
inline float Length(const Point3& a) {
    return a.Length();
}
inline float LengthSquared(const Point3& a) {
    return a.LengthSquared();
}
// The unit vector in the same direction; the zero vector stays the zero vector.
inline Point3 Normalize(const Point3& a) {
    return a.Normalize();
}
