// Spline shapes: Bezier splines of knots with in and out handles, flattened to
// polylines by MakePolyShape.
#pragma once

#include <vector>

#include "object.h"
#include "polyshp.h"

class SplineKnot {
public:
    SplineKnot() = default;
    SplineKnot(const Point3& in, const Point3& k, const Point3& out)
        : inVec(in), knot(k), outVec(out) {}
    Point3 inVec, knot, outVec;
};

class Spline3D {
public:
    std::vector<SplineKnot> knots;
    bool closed = false;

    int KnotCount() const { return static_cast<int>(knots.size()); }
    void AddKnot(const SplineKnot& k) { knots.push_back(k); }
    int Segments() const;
    // Point at parameter u (0 to 1) of segment seg.
    Point3 InterpBezier3D(int seg, float u) const;
    // Whether segment seg is straight: both handles on the line between its knots.
    bool IsStraight(int seg) const;
};

class BezierShape {
public:
    std::vector<Spline3D> splines;
    int steps = 6;
    bool optimize = true;

    int SplineCount() const { return static_cast<int>(splines.size()); }
    // Each segment gets steps points at uniform parameter steps between its knots;
    // with optimize, a straight segment gets none.
    void MakePolyShape(PolyShape& out, int steps, bool optimize) const;
};

class ShapeObject : public Object {
public:
    SClass_ID SuperClassID() const override { return SHAPE_CLASS_ID; }
    // The shape as polylines at t, with the given steps and optimize rule.
    virtual void MakePolyShape(TimeValue t, PolyShape& out, int steps, BOOL optimize) = 0;
};

class SplineShape : public ShapeObject {
public:
    BezierShape shape;

    Class_ID ClassID() const override { return splineShapeClassID; }
    void MakePolyShape(TimeValue, PolyShape& out, int steps, BOOL optimize) override {
        shape.MakePolyShape(out, steps, optimize != FALSE);
    }
    Object* CopyObject() override;
};
