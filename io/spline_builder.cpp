#include "io/spline_builder.h"

void SplineBuilder::MoveTo(const Point3& p) {
    if (open)
        EndSubpath(false);
    current.knots.assign(1, SplineKnot(p, p, p));
    open = true;
    start = p;
}

void SplineBuilder::LineTo(const Point3& p) {
    EnsureOpen();
    if (p == current.knots.back().knot)
        return;
    current.AddKnot(SplineKnot(p, p, p));
}

void SplineBuilder::CurveTo(const Point3& c1, const Point3& c2, const Point3& p) {
    EnsureOpen();
    SplineKnot& last = current.knots.back();
    if (c1 == last.knot && c2 == last.knot && p == last.knot)
        return;
    last.outVec = c1;
    current.AddKnot(SplineKnot(c2, p, p));
}

void SplineBuilder::Close() {
    if (!open)
        return;
    std::vector<SplineKnot>& knots = current.knots;
    if (knots.size() >= 3 && knots.back().knot == knots.front().knot) {
        knots.front().inVec = knots.back().inVec;
        knots.pop_back();
    }
    EndSubpath(true);
}

void SplineBuilder::End() {
    if (open)
        EndSubpath(false);
}

void SplineBuilder::EnsureOpen() {
    if (open)
        return;
    current.knots.assign(1, SplineKnot(start, start, start));
    open = true;
}

void SplineBuilder::EndSubpath(bool closed) {
    if (current.KnotCount() >= 2) {
        current.closed = closed;
        splines.push_back(current);
    }
    current = Spline3D();
    open = false;
}
