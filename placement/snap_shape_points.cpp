#include "placement/snap_shape_points.h"

#include <vector>

#include "placement/nearest_surface_hit.h"
#include "placement/snap_ray.h"
#include "placement/triangle_line_index.h"

namespace {

// Brings every point into the object's space without moving it further.
void TransformPoints(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM) {
    const Matrix3 toObject = Inverse(objectTM);
    for (int line = 0; line < shape.numLines; ++line) {
        PolyLine& polyline = shape.lines[line];
        for (int i = 0; i < polyline.numPts; ++i) {
            Point3& position = polyline.pts[i].p;
            position = (position * shapeTM) * toObject;
        }
    }
}

bool Stopped(const std::atomic<bool>* stop) {
    return stop && stop->load(std::memory_order_relaxed);
}

// Points placed between looks at the stop flag.
constexpr int kPointsPerStopCheck = 1024;

// The point loop shared by both searches; nearest gives the hit for a line. Gives
// false when stopped.
template <class NearestFn>
bool SnapPoints(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM,
                const Point3& direction, NearestFn nearest, const std::atomic<bool>* stop) {
    const Matrix3 toObject = Inverse(objectTM);
    long long placed = 0;
    for (int line = 0; line < shape.numLines; ++line) {
        PolyLine& polyline = shape.lines[line];
        float carry = 0.0f;
        for (int i = 0; i < polyline.numPts; ++i, ++placed) {
            if (placed % kPointsPerStopCheck == 0 && Stopped(stop))
                return false;
            Point3& position = polyline.pts[i].p;
            const Point3 p = (position * shapeTM) * toObject;
            const SurfaceHit hit = nearest(SnapRay{p, direction});
            if (hit.found) {
                position = hit.point;
                carry = Length(p - hit.point);
            } else {
                position = Point3(p.x + direction.x * carry, p.y + direction.y * carry,
                                  p.z + direction.z * carry);
            }
        }
    }
    return true;
}

}  // namespace

bool SnapShapePoints(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM,
                     const Point3& direction, bool local, const Mesh& mesh,
                     const std::atomic<bool>* stop) {
    if (local) {
        TransformPoints(shape, shapeTM, objectTM);
        return true;
    }
    const TriangleLineIndex index(mesh, direction, stop);
    // An index left unusable by the stop would test every triangle for every point.
    if (Stopped(stop))
        return false;
    std::vector<int> faces;
    return SnapPoints(
        shape, shapeTM, objectTM, direction,
        [&](const SnapRay& ray) {
            if (!index.Candidates(ray.origin, faces))
                return NearestSurfaceHit(ray, mesh);
            return NearestSurfaceHitAmong(ray, mesh, faces);
        },
        stop);
}

void SnapShapePointsExhaustive(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM,
                               const Point3& direction, bool local, const Mesh& mesh) {
    if (local) {
        TransformPoints(shape, shapeTM, objectTM);
        return;
    }
    SnapPoints(
        shape, shapeTM, objectTM, direction,
        [&](const SnapRay& ray) { return NearestSurfaceHit(ray, mesh); }, nullptr);
}
