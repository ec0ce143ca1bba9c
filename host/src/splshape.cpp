#include "splshape.h"

int Spline3D::Segments() const {
    int n = KnotCount();
    if (n < 2)
        return 0;
    return closed ? n : n - 1;
}

Point3 Spline3D::InterpBezier3D(int seg, float u) const {
    const SplineKnot& a = knots[seg];
    const SplineKnot& b = knots[(seg + 1) % KnotCount()];
    float s = 1.0f - u;
    float b0 = s * s * s, b1 = 3.0f * u * s * s, b2 = 3.0f * u * u * s, b3 = u * u * u;
    return a.knot * b0 + a.outVec * b1 + b.inVec * b2 + b.knot * b3;
}

bool Spline3D::IsStraight(int seg) const {
    const SplineKnot& a = knots[seg];
    const SplineKnot& b = knots[(seg + 1) % KnotCount()];
    Point3 chord = b.knot - a.knot;
    float len = chord.Length();
    // A handle is on the line when its distance from it is negligible against the
    // segment; a degenerate chord is straight only when its handles sit on its knots.
    auto onLine = [&](const Point3& h) {
        if (len == 0.0f)
            return h == a.knot;
        return ((h - a.knot) ^ chord).Length() <= 1e-6f * len * len;
    };
    return onLine(a.outVec) && onLine(b.inVec);
}

void BezierShape::MakePolyShape(PolyShape& out, int stepCount, bool optimizeStraight) const {
    out.Init();
    if (stepCount < 0)
        stepCount = 0;
    for (const Spline3D& spline : splines) {
        PolyLine& line = out.NewLine();
        int n = spline.KnotCount();
        if (n == 0)
            continue;
        for (int seg = 0; seg < spline.Segments(); ++seg) {
            line.Append(PolyPt(spline.knots[seg].knot));
            if (optimizeStraight && spline.IsStraight(seg))
                continue;
            for (int k = 1; k <= stepCount; ++k)
                line.Append(PolyPt(spline.InterpBezier3D(seg, float(k) / float(stepCount + 1))));
        }
        if (spline.closed && n >= 2)
            line.Close();
        else
            line.Append(PolyPt(spline.knots[n - 1].knot));
    }
}

Object* SplineShape::CopyObject() {
    SplineShape* copy = new SplineShape();
    copy->shape = shape;
    return copy;
}
