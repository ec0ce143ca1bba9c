#include "api/shape_conversion.h"

#include <cmath>
#include <limits>
#include <string>

#include "slitform/error.h"

namespace slitform {

namespace {

Point3 ToPoint3(const Point& p, const std::string& where) {
    for (double x : p)
        if (!std::isfinite(x) || std::fabs(x) > std::numeric_limits<float>::max())
            throw Error(ErrorCode::BadInput,
                        "shape: " + where + " has a coordinate that is not a finite number");
    return Point3(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
}

Point FromPoint3(const Point3& p) {
    return {p.x, p.y, p.z};
}

}  // namespace

BezierShape ToBezierShape(const Shape& shape) {
    if (shape.steps < 0 || shape.steps > 100)
        throw Error(ErrorCode::BadInput,
                    "shape: steps " + std::to_string(shape.steps) + " out of range 0 to 100");
    BezierShape out;
    out.steps = shape.steps;
    for (size_t i = 0; i < shape.lines.size(); ++i) {
        const ShapeLine& line = shape.lines[i];
        std::string name = "line " + std::to_string(i);
        if (line.points.size() < 2)
            throw Error(ErrorCode::BadInput, "shape: " + name + " has " +
                                                 std::to_string(line.points.size()) +
                                                 " points (at least 2)");
        bool curved = !line.in.empty() || !line.out.empty();
        if (curved &&
            (line.in.size() != line.points.size() || line.out.size() != line.points.size()))
            throw Error(ErrorCode::BadInput,
                        "shape: " + name + " needs one in and one out handle per point");
        Spline3D spline;
        spline.closed = line.closed;
        for (size_t k = 0; k < line.points.size(); ++k) {
            std::string where = name + " point " + std::to_string(k);
            Point3 p = ToPoint3(line.points[k], where);
            spline.AddKnot(
                curved ? SplineKnot(ToPoint3(line.in[k], where), p, ToPoint3(line.out[k], where))
                       : SplineKnot(p, p, p));
        }
        out.splines.push_back(std::move(spline));
    }
    if (out.splines.empty())
        throw Error(ErrorCode::BadInput, "shape: no lines");
    return out;
}

Shape FromBezierShape(const BezierShape& shape) {
    Shape out;
    out.steps = shape.steps;
    for (const Spline3D& spline : shape.splines) {
        ShapeLine line;
        line.closed = spline.closed;
        for (const SplineKnot& k : spline.knots) {
            line.points.push_back(FromPoint3(k.knot));
            line.in.push_back(FromPoint3(k.inVec));
            line.out.push_back(FromPoint3(k.outVec));
        }
        out.lines.push_back(std::move(line));
    }
    return out;
}

Matrix3 ToMatrix(const Shape& shape) {
    float m[12];
    for (int i = 0; i < 12; ++i) {
        double x = shape.transform[i];
        if (!std::isfinite(x) || std::fabs(x) > std::numeric_limits<float>::max())
            throw Error(ErrorCode::BadInput,
                        "shape: transform number " + std::to_string(i) + " is not finite");
        m[i] = static_cast<float>(x);
    }
    return Matrix3(Point3(m[0], m[1], m[2]), Point3(m[3], m[4], m[5]), Point3(m[6], m[7], m[8]),
                   Point3(m[9], m[10], m[11]));
}

}  // namespace slitform
