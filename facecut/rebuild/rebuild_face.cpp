#include "facecut/rebuild/rebuild_face.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "facecut/closed_lines_index.h"
#include "facecut/cut_flags.h"
#include "facecut/nearest_on_segment.h"
#include "facecut/rebuild/anchor_dangling_lines.h"
#include "facecut/segment_markers.h"

namespace {

constexpr DWORD kVertexCutCorner = cutflags::kCutCornerVertex;
constexpr DWORD kFaceReplaced = cutflags::kReplacedFace;
constexpr DWORD kEdgeInterior = cutflags::kInteriorEdge;
constexpr DWORD kEdgeOutline = cutflags::kOutlineEdge;
constexpr DWORD kEdgeCutLine = cutflags::kCutLineEdge;

bool Near(double tag, double value) {
    return std::fabs(tag - value) < 0.5;
}

std::uint64_t PairKey(int a, int b) {
    if (a > b)
        std::swap(a, b);
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
           static_cast<std::uint32_t>(b);
}

Point3 Corner(const triangulateio& out, int point) {
    return Point3(static_cast<float>(out.pointlist[2 * point]),
                  static_cast<float>(out.pointlist[2 * point + 1]),
                  static_cast<float>(out.pointattributelist[out.numberofpointattributes * point]));
}

// A position by the bits of its coordinates.
using PositionKey = std::array<std::uint32_t, 3>;

struct PositionKeyHash {
    std::size_t operator()(const PositionKey& key) const {
        std::uint64_t h = key[0];
        h = h * 0x9E3779B97F4A7C15ull ^ key[1];
        h = h * 0x9E3779B97F4A7C15ull ^ key[2];
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

PositionKey KeyOf(const Point3& p) {
    PositionKey key;
    const float coordinates[3] = {p.x + 0.0f, p.y + 0.0f, p.z + 0.0f};  // -0 as +0
    std::memcpy(key.data(), coordinates, sizeof coordinates);
    return key;
}

// Appends where each of the points (on the outline, in frame coordinates) lies on
// the face's edges: corners are the face's corners as the first phase put them into
// the frame, so a copy of one matches it exactly.
void RecordOutlineVertices(const triangulateio& out, const std::vector<int>& points,
                           const int* vertexOf, const std::vector<int>& corners,
                           const std::vector<Point3>& cornersInFrame, CutOutlineVertices& records) {
    const int deg = static_cast<int>(corners.size());
    for (int point : points) {
        const double x = out.pointlist[2 * point], y = out.pointlist[2 * point + 1];
        int edge = -1;
        double t = 0.0, bestDist = INFINITY;
        for (int k = 0; k < deg && bestDist > 0.0; ++k) {
            const Point3& a = cornersInFrame[k];
            if (static_cast<float>(x) == a.x && static_cast<float>(y) == a.y) {
                edge = k;
                t = 0.0;
                bestDist = 0.0;
                break;
            }
            const Point3& b = cornersInFrame[(k + 1) % deg];
            if (a.x == b.x && a.y == b.y)
                continue;
            const NearestOnSegment nearest = NearestOnSegmentXY(x, y, a, b);
            if (nearest.distance < bestDist) {
                edge = k;
                t = nearest.t;
                bestDist = nearest.distance;
            }
        }
        // A point that is no corner but lies at an edge's end belongs to no edge.
        if (edge < 0 || (bestDist > 0.0 && !(t > 0.0 && t < 1.0)))
            continue;
        records.push_back({vertexOf[point], corners[edge], corners[(edge + 1) % deg], t});
    }
}

}  // namespace

bool RebuildFace(MNMesh& mesh, int face, const FaceCutState& state, const CutSettings& settings,
                 FaceTriangulation& tri, CutTrace& trace, CutOutlineVertices* outlineVertices) {
    triangulateio& out = tri.out;
    const int attrs = out.numberofpointattributes;
    if (attrs < 2 || !out.pointlist || !out.pointattributelist)
        return false;

    // The triangles kept, and their centroids, before anything changes. The outline
    // can hold thousands of points where a dense shape runs along an edge.
    PolyShape outlineShape;
    outlineShape.Append(state.outline);
    const ClosedLinesIndex insideOutline(outlineShape);
    std::vector<int> kept;
    std::vector<Point3> centroids;
    for (int t = 0; t < out.numberoftriangles; ++t) {
        const int* c = out.trianglelist + 3 * t;
        bool inRange = true;
        for (int k = 0; k < 3; ++k) inRange = inRange && c[k] >= 0 && c[k] < out.numberofpoints;
        if (!inRange)
            continue;
        Point3 centroid = (Corner(out, c[0]) + Corner(out, c[1]) + Corner(out, c[2])) * 0.33333334f;
        if (!insideOutline.Contains(centroid))
            continue;
        kept.push_back(t);
        centroids.push_back(centroid);
    }
    // Nothing would replace the face: keep it rather than lose it. Even a face without
    // area holds its neighbours together; removing it would open the mesh there. A
    // triangle whose corners meet in single precision makes no face either.
    auto positionOf = [&](int point) {
        Point3 q = Corner(out, point);
        if (state.local)
            q.z = 0.0f;
        return q * state.frame;
    };
    auto makesFace = [&](int t) {
        const int* c = out.trianglelist + 3 * t;
        const PositionKey a = KeyOf(positionOf(c[0])), b = KeyOf(positionOf(c[1])),
                          d = KeyOf(positionOf(c[2]));
        return a != b && b != d && d != a;
    };
    if (std::none_of(kept.begin(), kept.end(), makesFace))
        return false;

    // The point-to-vertex map lives in the output's point markers.
    if (!out.pointmarkerlist)
        out.pointmarkerlist = static_cast<int*>(std::malloc(sizeof(int) * out.numberofpoints));
    int* vertexOf = out.pointmarkerlist;
    for (int i = 0; i < out.numberofpoints; ++i) vertexOf[i] = -1;

    MNFace& cut = mesh.f[face];
    for (int vv : cut.vtx) mesh.v[vv].SetFlag(kVertexCutCorner);
    const std::vector<int> corners(cut.vtx.begin(), cut.vtx.end());
    if (!trace.cleared) {
        for (int f = 0; f < mesh.numf; ++f) mesh.f[f].ClearFlag(kFaceReplaced);
    } else if (trace.lastFace >= 0 && trace.lastFace < mesh.numf) {
        mesh.f[trace.lastFace].ClearFlag(kFaceReplaced);
    }
    cut.SetFlag(kFaceReplaced);
    MtlID material = cut.material;
    DWORD smoothing = cut.smGroup;
    // Only this face carries the flag now: removing it alone is what removing the
    // flagged faces would do.
    mesh.DeleteFace(face);
    int clearFrom = trace.cleared ? std::max(0, trace.edgesFrom) : 0;
    int clearTo = trace.cleared ? std::min(trace.edgesTo, mesh.nume) : mesh.nume;
    for (int e = clearFrom; e < clearTo; ++e) mesh.e[e].ClearFlag(kEdgeInterior);
    int firstEdge = mesh.nume, firstFace = mesh.numf;

    // The first output segment joining each pair of points decides its edge's flag.
    std::unordered_map<std::uint64_t, int> segmentMarker;
    segmentMarker.reserve(static_cast<size_t>(std::max(out.numberofsegments, 0)));
    for (int s = 0; s < out.numberofsegments; ++s)
        segmentMarker.emplace(PairKey(out.segmentlist[2 * s], out.segmentlist[2 * s + 1]),
                              out.segmentmarkerlist ? out.segmentmarkerlist[s] : 0);
    double* tags = out.pointattributelist;
    auto tag = [&](int point) -> double& { return tags[attrs * point + 1]; };

    const ClosedLinesIndex inside(state.frameShape);
    std::vector<int> outlinePoints;
    // Points that are distinct in double precision can land on one single-precision
    // position: they share one vertex, so that no face of zero area is made.
    std::unordered_map<PositionKey, int, PositionKeyHash> vertexAt;
    vertexAt.reserve(static_cast<size_t>(std::max(out.numberofpoints, 0)));
    for (size_t n = 0; n < kept.size(); ++n) {
        const int* c = out.trianglelist + 3 * kept[n];
        int corners[3];
        for (int k = 0; k < 3; ++k) {
            int point = c[k];
            if (vertexOf[point] < 0) {
                Point3 position = positionOf(point);
                auto found = vertexAt.emplace(KeyOf(position), mesh.numv);
                if (found.second) {
                    int vv = mesh.NewVert(position);
                    mesh.v[vv].SetFlag(MN_SEL | kVertexCutCorner);
                }
                vertexOf[point] = found.first->second;
            }
            corners[k] = vertexOf[point];
        }
        int nf = mesh.CreateFace(3, corners);
        if (nf < 0)
            continue;
        MNFace& f = mesh.f[nf];
        f.SetFlag(kFaceCutHandled);
        f.material = material;
        f.smGroup = smoothing;
        // Inside an odd number of closed polylines: the flag was clear on the new face.
        if (inside.Contains(centroids[n]))
            f.flags |= kFaceInsideShape;
        for (int j = 0; j < 3; ++j) {
            int a = c[j], b = c[(j + 1) % 3];
            MNEdge& edge = mesh.e[f.edg[j]];
            // The first edge between an outline point and a polyline end is an
            // outline-end edge; that end then makes no other.
            if (Near(tag(a), -1.0) && Near(tag(b), -2.0)) {
                edge.SetFlag(kEdgeOutline);
                tag(b) = 0.0;
            } else if (Near(tag(a), -2.0) && Near(tag(b), -1.0)) {
                edge.SetFlag(kEdgeOutline);
                tag(a) = 0.0;
            } else {
                auto found = segmentMarker.find(PairKey(a, b));
                int marker = found == segmentMarker.end() ? 0 : found->second;
                edge.SetFlag(marker == kShapeSegmentMarker     ? kEdgeCutLine
                             : marker == kOutlineSegmentMarker ? kEdgeOutline
                                                               : kEdgeInterior);
                if (marker == kOutlineSegmentMarker) {
                    outlinePoints.push_back(a);
                    outlinePoints.push_back(b);
                }
            }
        }
    }

    if (outlineVertices) {
        std::sort(outlinePoints.begin(), outlinePoints.end());
        outlinePoints.erase(std::unique(outlinePoints.begin(), outlinePoints.end()),
                            outlinePoints.end());
        std::vector<Point3> cornersInFrame;
        for (int vv : corners) cornersInFrame.push_back(mesh.v[vv].p * state.inverseFrame);
        RecordOutlineVertices(out, outlinePoints, vertexOf, corners, cornersInFrame,
                              *outlineVertices);
    }

    if (settings.removeUnused) {
        KeepLineAnchors(mesh, firstEdge);
        for (int e = firstEdge; e < mesh.nume; ++e) {
            DWORD fl = mesh.e[e].flags;
            if ((fl & kEdgeInterior) && !(fl & (kEdgeCutLine | kEdgeOutline)))
                mesh.RemoveEdge(e);
        }
    }
    if (state.flip)
        for (int f = firstFace; f < mesh.numf; ++f) mesh.FlipNormal(f);
    trace.cleared = true;
    trace.lastFace = face;
    trace.edgesFrom = firstEdge;
    trace.edgesTo = mesh.nume;
    return true;
}
