#include "session/shape_placement.h"

#include <algorithm>
#include <cmath>

namespace {

struct Box {
    Point3 lo, hi;
    bool any = false;
    void Add(const Point3& p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return;
        if (!any) {
            lo = hi = p;
            any = true;
            return;
        }
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], p[k]);
            hi[k] = std::max(hi[k], p[k]);
        }
    }
};

}  // namespace

bool DefaultShapePlacement(const MNMesh& object, const Matrix3& objectTM, const BezierShape& shape,
                           UpAxis up, ShapePlacement& placement) {
    // The shape's axes in the world: across, along the page, and up.
    const Point3 across(1.0f, 0.0f, 0.0f);
    const Point3 page = up == UpAxis::Z ? Point3(0.0f, 1.0f, 0.0f) : Point3(0.0f, 0.0f, -1.0f);
    const Point3 upward = up == UpAxis::Z ? Point3(0.0f, 0.0f, 1.0f) : Point3(0.0f, 1.0f, 0.0f);
    // The object in the shape's axes.
    Box world, flat;
    for (int i = 0; i < object.numv; ++i)
        if (!object.v[i].GetFlag(MN_DEAD)) {
            const Point3 p = object.v[i].p * objectTM;
            world.Add(Point3(DotProd(p, across), DotProd(p, page), DotProd(p, upward)));
        }
    for (const Spline3D& spline : shape.splines)
        for (const SplineKnot& k : spline.knots) {
            flat.Add(k.inVec);
            flat.Add(k.knot);
            flat.Add(k.outVec);
        }
    if (!world.any || !flat.any)
        return false;

    float objectWidth = world.hi.x - world.lo.x, objectDepth = world.hi.y - world.lo.y;
    float shapeWidth = flat.hi.x - flat.lo.x, shapeDepth = flat.hi.y - flat.lo.y;
    float scale = 1.0f;
    if (shapeWidth > 0.0f || shapeDepth > 0.0f) {
        float sx = shapeWidth > 0.0f ? objectWidth / shapeWidth : INFINITY;
        float sy = shapeDepth > 0.0f ? objectDepth / shapeDepth : INFINITY;
        scale = 0.8f * std::min(sx, sy);
        if (!(scale > 0.0f) || !std::isfinite(scale))
            scale = 1.0f;
    }
    float lift = std::max(world.hi.z - world.lo.z, std::max(objectWidth, objectDepth)) * 0.25f;
    if (!(lift > 0.0f))
        lift = 1.0f;
    placement.centre = (flat.lo + flat.hi) * 0.5f;
    placement.scale = scale;
    const Point3 objectCentre = (world.lo + world.hi) * 0.5f;
    const Point3 position =
        across * objectCentre.x + page * objectCentre.y + upward * (world.hi.z + lift);
    placement.node = Matrix3(across, page, upward, position);
    return true;
}

void CentreShape(BezierShape& shape, const ShapePlacement& placement) {
    auto move = [&](Point3& p) { p = (p - placement.centre) * placement.scale; };
    for (Spline3D& spline : shape.splines)
        for (SplineKnot& k : spline.knots) {
            move(k.inVec);
            move(k.knot);
            move(k.outVec);
        }
}
