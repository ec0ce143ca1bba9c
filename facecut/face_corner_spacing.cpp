#include "facecut/face_corner_spacing.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "facecut/nearest_on_segment.h"

namespace {

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
            spacing = std::min(
                spacing, NearestOnSegment3D(p, mesh.v[f.vtx[k]].p, mesh.v[f.vtx[next]].p).distance);
        }
        for (int j = i + 1; j < n; ++j)
            spacing = std::min(
                spacing, NearestOnSegment3D(p, mesh.v[f.vtx[j]].p, mesh.v[f.vtx[j]].p).distance);
    }
    return std::max(spacing, kRoundingSteps * FLT_EPSILON * scale);
}
