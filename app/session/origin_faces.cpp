#include "app/session/origin_faces.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double Dist2(const Point3& a, const Point3& b) {
    double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

// Distance from p to the segment ab.
double SegmentDistance(const Point3& p, const Point3& a, const Point3& b) {
    Point3 ab = b - a;
    double len2 = ab.LengthSquared();
    double t = len2 > 0.0 ? std::clamp(static_cast<double>((p - a) % ab) / len2, 0.0, 1.0) : 0.0;
    Point3 q = a + ab * static_cast<float>(t);
    return std::sqrt(Dist2(p, q));
}

// Distance from p to face fi of mesh: to its plane when p projects inside it, else
// to its outline.
double FaceDistance(const MNMesh& mesh, int fi, const Point3& p) {
    const MNFace& face = mesh.f[fi];
    Point3 normal = mesh.GetFaceNormal(fi, true);
    const Point3& origin = mesh.v[face.vtx[0]].p;
    double plane = std::fabs(static_cast<double>((p - origin) % normal));
    // Winding number of p's projection around the outline.
    int axis = 0;
    for (int k = 1; k < 3; ++k)
        if (std::fabs(normal[k]) > std::fabs(normal[axis]))
            axis = k;
    int a0 = (axis + 1) % 3, a1 = (axis + 2) % 3;
    int winding = 0;
    double edge = std::numeric_limits<double>::max();
    for (int j = 0; j < face.deg; ++j) {
        const Point3& s = mesh.v[face.vtx[j]].p;
        const Point3& t = mesh.v[face.vtx[(j + 1) % face.deg]].p;
        edge = std::min(edge, SegmentDistance(p, s, t));
        double side = (static_cast<double>(t[a0]) - s[a0]) * (static_cast<double>(p[a1]) - s[a1]) -
                      (static_cast<double>(p[a0]) - s[a0]) * (static_cast<double>(t[a1]) - s[a1]);
        if (s[a1] <= p[a1]) {
            if (t[a1] > p[a1] && side > 0.0)
                ++winding;
        } else if (t[a1] <= p[a1] && side < 0.0) {
            --winding;
        }
    }
    return winding != 0 ? plane : std::max(plane, edge);
}

// A point inside face fi: the centre of its largest fan triangle.
Point3 InsidePoint(const MNMesh& mesh, int fi) {
    const MNFace& face = mesh.f[fi];
    const Point3& a = mesh.v[face.vtx[0]].p;
    Point3 best = a;
    float bestArea = -1.0f;
    for (int j = 1; j + 1 < face.deg; ++j) {
        const Point3& b = mesh.v[face.vtx[j]].p;
        const Point3& c = mesh.v[face.vtx[j + 1]].p;
        float area = ((b - a) ^ (c - a)).LengthSquared();
        if (area > bestArea) {
            bestArea = area;
            best = (a + b + c) / 3.0f;
        }
    }
    return best;
}

// The live faces of a mesh in a uniform grid of cells by their bounding boxes.
class FaceGrid {
public:
    explicit FaceGrid(const MNMesh& mesh) {
        std::vector<int> live;
        for (int fi = 0; fi < mesh.numf; ++fi)
            if (!mesh.f[fi].GetFlag(MN_DEAD) && mesh.f[fi].deg >= 3)
                live.push_back(fi);
        if (live.empty() || !mesh.GetBoundingBox(lo, hi))
            return;
        Point3 size = hi - lo;
        margin = 1e-4f * std::max({size.x, size.y, size.z, 1e-6f});
        lo -= Point3(margin, margin, margin);
        hi += Point3(margin, margin, margin);
        cells = std::clamp(static_cast<int>(std::cbrt(static_cast<double>(live.size()))), 1, 96);
        bins.resize(static_cast<std::size_t>(cells) * cells * cells);
        for (int fi : live) {
            Point3 flo = mesh.v[mesh.f[fi].vtx[0]].p, fhi = flo;
            for (int v : mesh.f[fi].vtx)
                for (int k = 0; k < 3; ++k) {
                    flo[k] = std::min(flo[k], mesh.v[v].p[k]);
                    fhi[k] = std::max(fhi[k], mesh.v[v].p[k]);
                }
            int a[3], b[3];
            for (int k = 0; k < 3; ++k) {
                a[k] = Cell(flo[k] - margin, k);
                b[k] = Cell(fhi[k] + margin, k);
            }
            for (int x = a[0]; x <= b[0]; ++x)
                for (int y = a[1]; y <= b[1]; ++y)
                    for (int z = a[2]; z <= b[2]; ++z) bins[Index(x, y, z)].push_back(fi);
        }
    }
    const std::vector<int>* Near(const Point3& p) const {
        if (bins.empty())
            return nullptr;
        return &bins[Index(Cell(p.x, 0), Cell(p.y, 1), Cell(p.z, 2))];
    }

private:
    int Cell(float value, int axis) const {
        float span = hi[axis] - lo[axis];
        int c = span > 0.0f ? static_cast<int>((value - lo[axis]) / span * cells) : 0;
        return std::clamp(c, 0, cells - 1);
    }
    std::size_t Index(int x, int y, int z) const {
        return (static_cast<std::size_t>(x) * cells + y) * cells + z;
    }

    Point3 lo, hi;
    float margin = 0.0f;
    int cells = 0;
    std::vector<std::vector<int>> bins;
};

}  // namespace

std::vector<int> OriginFaces(const MNMesh& in, const MNMesh& out) {
    std::vector<int> origin(static_cast<std::size_t>(out.numf), -1);
    FaceGrid grid(in);
    for (int fo = 0; fo < out.numf; ++fo) {
        const MNFace& face = out.f[fo];
        if (face.GetFlag(MN_DEAD) || face.deg < 3)
            continue;
        if (fo < in.numf && !in.f[fo].GetFlag(MN_DEAD)) {
            origin[fo] = fo;
            continue;
        }
        Point3 inside = InsidePoint(out, fo);
        const std::vector<int>* candidates = grid.Near(inside);
        if (!candidates)
            continue;
        double best = std::numeric_limits<double>::max();
        for (int fi : *candidates) {
            double score = FaceDistance(in, fi, inside);
            if (score > best)
                continue;
            double corners = 0.0;
            for (int v : face.vtx) corners += FaceDistance(in, fi, out.v[v].p);
            score += corners / face.deg;
            if (score < best) {
                best = score;
                origin[fo] = fi;
            }
        }
    }
    return origin;
}
