// Turning path drawing commands into the splines of a Bezier shape.
#pragma once

#include <vector>

#include "splshape.h"

// Collects subpaths as drawing programs give them: move, straight line, cubic
// curve, close. Each subpath with at least two knots becomes one spline. A
// straight segment ends in a knot whose handles lie on it; a curve sets the out
// handle of its start and the in handle of its end. Closing a subpath whose last
// knot lies on its first merges the two (a spline keeps at least two knots).
// Segments of length zero are dropped.
class SplineBuilder {
public:
    void MoveTo(const Point3& p);
    void LineTo(const Point3& p);
    void CurveTo(const Point3& c1, const Point3& c2, const Point3& p);
    void Close();
    // Ends the open subpath, if any, without closing it.
    void End();
    const std::vector<Spline3D>& Splines() const { return splines; }

private:
    // Drawing after a close starts a new subpath at the closed one's start.
    void EnsureOpen();
    void EndSubpath(bool closed);

    std::vector<Spline3D> splines;
    Spline3D current;
    bool open = false;
    Point3 start;
};
