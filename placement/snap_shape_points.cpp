#include "placement/snap_shape_points.h"

#include <algorithm>
#include <vector>

#include "facecut/parallel_for.h"
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

// Points per block, between looks at the stop flag: small, because ParallelFor hands
// out a few blocks at a time and a shape of a thousand points should still spread.
constexpr size_t kPointsPerBlock = 32;

// The point loop shared by both searches; nearest(ray, scratch) gives the hit for a
// line. Lines are cast on up to `threads` threads; misses then take their carry in
// point order. Gives false, the shape unchanged, when stopped.
// Every point of the shape in the object's space, line after line.
std::vector<Point3> Origins(const PolyShape& shape, const Matrix3& shapeTM,
                            const Matrix3& objectTM) {
    const Matrix3 toObject = Inverse(objectTM);
    std::vector<Point3> origins;
    for (int line = 0; line < shape.numLines; ++line) {
        const PolyLine& polyline = shape.lines[line];
        for (int i = 0; i < polyline.numPts; ++i)
            origins.push_back((polyline.pts[i].p * shapeTM) * toObject);
    }
    return origins;
}

template <class NearestFn>
bool SnapPoints(PolyShape& shape, const std::vector<Point3>& origins, const Point3& direction,
                const NearestFn& nearest, int threads, const std::atomic<bool>* stop) {
    const size_t count = origins.size();
    std::vector<SurfaceHit> hits(count);
    const int blocks = static_cast<int>((count + kPointsPerBlock - 1) / kPointsPerBlock);
    ParallelFor(blocks, threads, [&](int block) {
        if (Stopped(stop))
            return;
        std::vector<int> scratch;
        const size_t first = static_cast<size_t>(block) * kPointsPerBlock;
        const size_t last = std::min(count, first + kPointsPerBlock);
        for (size_t i = first; i < last; ++i)
            hits[i] = nearest(SnapRay{origins[i], direction}, scratch);
    });
    if (Stopped(stop))
        return false;

    size_t next = 0;
    for (int line = 0; line < shape.numLines; ++line) {
        PolyLine& polyline = shape.lines[line];
        float carry = 0.0f;
        for (int i = 0; i < polyline.numPts; ++i, ++next) {
            const Point3& p = origins[next];
            const SurfaceHit& hit = hits[next];
            Point3& position = polyline.pts[i].p;
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
                     const std::atomic<bool>* stop, int threads) {
    if (local) {
        TransformPoints(shape, shapeTM, objectTM);
        return true;
    }
    const std::vector<Point3> origins = Origins(shape, shapeTM, objectTM);
    const TriangleLineIndex index(mesh, direction, stop, threads, &origins);
    // An index left unusable by the stop would test every triangle for every point.
    if (Stopped(stop))
        return false;
    return SnapPoints(
        shape, origins, direction,
        [&](const SnapRay& ray, std::vector<int>& faces) {
            if (!index.Candidates(ray.origin, faces))
                return NearestSurfaceHit(ray, mesh);
            return NearestSurfaceHitAmong(ray, mesh, faces);
        },
        threads, stop);
}

void SnapShapePointsExhaustive(PolyShape& shape, const Matrix3& shapeTM, const Matrix3& objectTM,
                               const Point3& direction, bool local, const Mesh& mesh) {
    if (local) {
        TransformPoints(shape, shapeTM, objectTM);
        return;
    }
    SnapPoints(
        shape, Origins(shape, shapeTM, objectTM), direction,
        [&](const SnapRay& ray, std::vector<int>&) { return NearestSurfaceHit(ray, mesh); }, 1,
        nullptr);
}
