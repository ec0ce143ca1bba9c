#include "facecut/point3d.h"

#include <cmath>

namespace {

double Length(const Point3d& v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

double Dot(const Point3d& a, const Point3d& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Point3d Difference(const Point3d& a, const Point3d& b, bool flat) {
    return Point3d(a.x - b.x, a.y - b.y, flat ? 0.0 : a.z - b.z);
}

}  // namespace

void Point3d::Normalize() {
    double length = Length(*this);
    if (length < 1e-10) {
        x = 0.0;
        y = 0.0;
        z = 0.0;
        return;
    }
    x = x / length;
    y = y / length;
    z = z / length;
}

std::uint32_t Point3d::SegmentFlags(const Point3d& a, const Point3d& b, bool flat,
                                    double tolerance) const {
    Point3d pa = Difference(*this, a, flat);
    Point3d ba = Difference(b, a, flat);
    Point3d pb = Difference(*this, b, flat);
    if (Length(pa) < tolerance)
        return SEG_AT_START | SEG_ON_LINE;
    if (Length(pb) < tolerance)
        return SEG_AT_END | SEG_ON_LINE;
    if (Length(ba) < tolerance)
        return SEG_DEGENERATE;

    double t = Dot(pa, ba) / Dot(ba, ba);
    std::uint32_t flags = 0;
    if (t < 0.0) {
        flags = SEG_BEFORE;
    } else if (t > 1.0) {
        flags = SEG_AFTER;
    } else if (t >= 0.0 && t <= 1.0) {
        // Written out so that a t that is not a number places the point nowhere
        // rather than inside the segment.
        flags = SEG_WITHIN;
    }

    Point3d u = ba;
    u.Normalize();
    Point3d v = pa;
    v.Normalize();
    double s = u.x * v.y - u.y * v.x;
    if (std::fabs(s) <= 0.001)
        return flags | SEG_ON_LINE;

    Point3d foot(a.x + t * ba.x, a.y + t * ba.y, a.z + t * ba.z);
    double d = Length(Difference(*this, foot, flat));
    if (d > tolerance) {
        if (s > 0.0)
            flags |= SEG_LEFT;
        if (s < 0.0)
            flags |= SEG_RIGHT;
    }
    return flags;
}

int Point3d::SegmentPosition(const Point3d& a, const Point3d& b, bool flat,
                             double tolerance) const {
    std::uint32_t flags = SegmentFlags(a, b, flat, tolerance);
    if (flags & SEG_AT_START)
        return SEG_POS_AT_START;
    if (flags & SEG_AT_END)
        return SEG_POS_AT_END;
    if (flags & SEG_LEFT)
        return SEG_POS_LEFT;
    if (flags & SEG_RIGHT)
        return SEG_POS_RIGHT;
    if (flags & SEG_WITHIN)
        return SEG_POS_INSIDE;
    if (flags & SEG_BEFORE)
        return SEG_POS_BEFORE;
    if (flags & SEG_AFTER)
        return SEG_POS_AFTER;
    return SEG_POS_NONE;
}

bool Point3d::StrictlyInside(const Point3d& a, const Point3d& b, bool flat,
                             double tolerance) const {
    Point3d pa = Difference(*this, a, flat);
    Point3d ba = Difference(b, a, flat);
    // Inside needs 0 <= t <= 1 for this same t; the slack keeps the answer the full
    // test's even if the two were rounded differently. Not a number fails too.
    double t = Dot(pa, ba) / Dot(ba, ba);
    if (!(t >= -1e-9 && t <= 1.0 + 1e-9))
        return false;
    return SegmentPosition(a, b, flat, tolerance) == SEG_POS_INSIDE;
}
