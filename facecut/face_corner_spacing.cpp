#include "facecut/face_corner_spacing.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

double DistanceToEdge(const Point3& p, const Point3& a, const Point3& b) {
    double e[3], q[3];
    double squared = 0.0, along = 0.0;
    for (int k = 0; k < 3; ++k) {
        e[k] = static_cast<double>(b[k]) - a[k];
        q[k] = static_cast<double>(p[k]) - a[k];
        squared += e[k] * e[k];
        along += q[k] * e[k];
    }
    double t = squared > 0.0 ? std::min(1.0, std::max(0.0, along / squared)) : 0.0;
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) sum += (q[k] - t * e[k]) * (q[k] - t * e[k]);
    return std::sqrt(sum);
}

// Rounding steps of single precision that copies of a point may differ by.
constexpr double kRoundingSteps = 16.0;

}  // namespace

double FaceCornerSpacing(const MNMesh& mesh, int face) {
    const MNFace& f = mesh.f[face];
    int n = f.deg;
    double spacing = INFINITY;
    double scale = 0.0;
    for (int i = 0; i < n; ++i) {
        const Point3& p = mesh.v[f.vtx[i]].p;
        for (int k = 0; k < 3; ++k) scale = std::max(scale, std::fabs(static_cast<double>(p[k])));
        for (int k = 0; k < n; ++k) {
            int next = (k + 1) % n;
            if (k == i || next == i)
                continue;
            spacing =
                std::min(spacing, DistanceToEdge(p, mesh.v[f.vtx[k]].p, mesh.v[f.vtx[next]].p));
        }
        for (int j = i + 1; j < n; ++j)
            spacing = std::min(spacing, DistanceToEdge(p, mesh.v[f.vtx[j]].p, mesh.v[f.vtx[j]].p));
    }
    return std::max(spacing, kRoundingSteps * FLT_EPSILON * scale);
}
