// Point3d: a double-precision point with its classification against a segment.
#pragma once

#include <cstdint>

#include "point3.h"

// Flag bits of Point3d::SegmentFlags.
constexpr std::uint32_t SEG_LEFT = 0x10000;     // off the line, counter-clockwise side of a->b
constexpr std::uint32_t SEG_RIGHT = 0x20000;    // off the line, clockwise side
constexpr std::uint32_t SEG_AFTER = 0x40000;    // projects beyond b
constexpr std::uint32_t SEG_BEFORE = 0x80000;   // projects before a
constexpr std::uint32_t SEG_WITHIN = 0x100000;  // projects between a and b, both included
constexpr std::uint32_t SEG_AT_START = 0x200000;
constexpr std::uint32_t SEG_AT_END = 0x400000;
constexpr std::uint32_t SEG_ON_LINE = 0x800000;
constexpr std::uint32_t SEG_DEGENERATE = 0x1000000;  // a and b closer than the tolerance

// Position codes of Point3d::SegmentPosition.
constexpr int SEG_POS_LEFT = 0;
constexpr int SEG_POS_RIGHT = 1;
constexpr int SEG_POS_AFTER = 2;
constexpr int SEG_POS_BEFORE = 3;
constexpr int SEG_POS_INSIDE = 4;  // strictly inside: on the segment and at neither end
constexpr int SEG_POS_AT_START = 5;
constexpr int SEG_POS_AT_END = 6;
constexpr int SEG_POS_NONE = 8;

class Point3d {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    Point3d() = default;
    Point3d(double X, double Y, double Z) : x(X), y(Y), z(Z) {}
    // Widens each coordinate.
    explicit Point3d(const Point3& p) : x(p.x), y(p.y), z(p.z) {}

    // Scales to unit length; a vector shorter than 1e-10 becomes the zero vector.
    void Normalize();

    // Places this point against the segment a->b. With flat, only x and y count.
    // The on-line test takes the sine on the x and y parts of the normalised 3D
    // vectors even when flat is false. A point that is not a number gets no
    // position flag.
    std::uint32_t SegmentFlags(const Point3d& a, const Point3d& b, bool flat,
                               double tolerance) const;
    // The same classification reduced to one position code (SEG_POS_*).
    int SegmentPosition(const Point3d& a, const Point3d& b, bool flat, double tolerance) const;
    // SegmentPosition(...) == SEG_POS_INSIDE, answered without the normalisations
    // where the point projects clearly beyond either end, as most points tried do.
    bool StrictlyInside(const Point3d& a, const Point3d& b, bool flat, double tolerance) const;
};
