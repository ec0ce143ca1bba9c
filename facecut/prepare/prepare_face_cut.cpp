#include "facecut/prepare/prepare_face_cut.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "facecut/cut_flags.h"
#include "facecut/nearest_on_segment.h"
#include "facecut/point3d.h"
#include "facecut/point_in_polyline.h"
#include "facecut/prepare/add_outline_points_to_shape.h"
#include "facecut/prepare/add_shape_points_to_outline.h"
#include "facecut/prepare/keep_shape_above_plane.h"
#include "facecut/prepare/shape_cuts_outline.h"

namespace {

bool IsUnit(const Point3& v) {
    return v.Length() > 0.5f;
}

// The frame's x and y axes for depth axis z, x taken from the edge direction.
// False when the edge is parallel to z, or z or the edge is zero or not a number.
bool AxesFromEdge(const Point3& z, const Point3& edge, Point3& x, Point3& y) {
    Point3 e = Normalize(edge);
    y = Normalize(z ^ e);
    x = Normalize(y ^ z);
    return IsUnit(x) && IsUnit(y);
}

// The coordinate axis least aligned with v.
Point3 LeastAlignedAxis(const Point3& v) {
    float ax = std::fabs(v.x);
    float ay = std::fabs(v.y);
    float az = std::fabs(v.z);
    if (ax <= ay && ax <= az)
        return Point3(1.0f, 0.0f, 0.0f);
    if (ay <= az)
        return Point3(0.0f, 1.0f, 0.0f);
    return Point3(0.0f, 0.0f, 1.0f);
}

bool IsCuttableFace(const MNMesh& mesh, int face) {
    if (face < 0 || face >= mesh.numf)
        return false;
    const MNFace& f = mesh.f[face];
    if (f.GetFlag(MN_DEAD) || f.deg < 3 || static_cast<int>(f.vtx.size()) < f.deg)
        return false;
    for (int i = 0; i < f.deg; ++i) {
        if (f.vtx[i] < 0 || f.vtx[i] >= mesh.numv)
            return false;
    }
    return true;
}

// The smallest x-y distance between two corners of the outline, or between a corner
// and an edge that does not end at it.
double CornerSpacing(const PolyLine& outline) {
    int n = outline.numPts;
    double spacing = INFINITY;
    for (int i = 0; i < n; ++i) {
        const Point3& p = outline[i].p;
        for (int k = 0; k < n; ++k) {
            int next = (k + 1) % n;
            if (k == i || next == i)
                continue;
            spacing = std::min(
                spacing, NearestOnSegmentXY(p.x, p.y, outline[k].p, outline[next].p).distance);
        }
        for (int j = i + 1; j < n; ++j)
            spacing = std::min(spacing,
                               NearestOnSegmentXY(p.x, p.y, outline[j].p, outline[j].p).distance);
    }
    return spacing;
}

void FlattenShape(PolyShape& shape) {
    for (int i = 0; i < shape.numLines; ++i) {
        PolyLine& line = shape[i];
        for (int j = 0; j < line.numPts; ++j) line[j].p.z = 0.0f;
    }
}

// Depth of the face's plane at p across the direction, in frame coordinates: the
// plane holds the frame's origin and has normal n (n.z is not zero).
float PlaneDepth(const Point3& p, const Point3& n) {
    return static_cast<float>(-(static_cast<double>(n.x) * p.x + static_cast<double>(n.y) * p.y) /
                              n.z);
}

// Gives the flattened outline and shape their depths back: corners their own, every
// other point the plane's.
void RestoreDepths(FaceCutState& state, const std::vector<Point3>& corners,
                   const Point3& planeNormal) {
    for (int i = 0; i < state.outline.numPts; ++i) {
        Point3& p = state.outline[i].p;
        auto corner = std::find_if(corners.begin(), corners.end(),
                                   [&p](const Point3& c) { return c.x == p.x && c.y == p.y; });
        p.z = corner != corners.end() ? corner->z : PlaneDepth(p, planeNormal);
    }
    for (int i = 0; i < state.frameShape.numLines; ++i) {
        PolyLine& line = state.frameShape[i];
        for (int j = 0; j < line.numPts; ++j) line[j].p.z = PlaneDepth(line[j].p, planeNormal);
    }
}

}  // namespace

bool PrepareFaceCut(MNMesh& mesh, int face, const PolyShape& shape, const CutSettings& settings,
                    FaceCutState& state, const FarShapeIndex* far) {
    const bool through = settings.through, local = settings.local;
    const Point3& direction = settings.direction;
    if (!IsCuttableFace(mesh, face))
        return false;
    MNFace& f = mesh.f[face];

    // Facing test. A facing value that is not a number counts as not facing.
    Point3 normal = mesh.GetFaceNormal(face, true);
    Point3 d = direction;
    float facing = (-normal) % d;
    bool flip = false;
    if (local) {
        d = -normal;
    } else if (!(facing >= 0.01f)) {
        if (!through)
            return false;
        // The new faces come out of the frame counter-clockwise: only a face seen from
        // behind needs them reversed. One seen nearly edge-on from the front does not.
        flip = !(facing > 0.0f);
    }
    state.local = local;
    state.flip = flip;

    // Face frame. Its x axis comes from the first edge not parallel to the
    // direction; the first edge alone would leave a zero axis, and NaN everywhere
    // after, when it runs along the direction or its corners coincide.
    Point3 origin = mesh.v[f.vtx[0]].p;
    Point3 zAxis = -d;
    Point3 xAxis;
    Point3 yAxis;
    bool sound = false;
    for (int j = 0; j < f.deg && !sound; ++j) {
        Point3 edge = mesh.v[f.vtx[(j + 1) % f.deg]].p - mesh.v[f.vtx[j]].p;
        sound = AxesFromEdge(zAxis, edge, xAxis, yAxis);
    }
    // With every edge along the direction the face is a single point as seen along
    // it: it cannot be cut, but it may still lie inside the shape, which any frame
    // with this depth axis tells.
    if (!sound && !AxesFromEdge(zAxis, LeastAlignedAxis(zAxis), xAxis, yAxis)) {
        MarkFaceUncut(f, false);
        return false;
    }
    state.frame = Matrix3(xAxis, yAxis, zAxis, origin);
    state.frame.ValidateFlags();
    state.inverseFrame = Inverse(state.frame);

    // Outline and its centroid.
    state.outline.Init();
    Point3 sum(0.0f, 0.0f, 0.0f);
    std::vector<Point3> frameCorners;
    frameCorners.reserve(static_cast<size_t>(f.deg));
    for (int i = 0; i < f.deg; ++i) {
        Point3 q = mesh.v[f.vtx[i]].p * state.inverseFrame;
        state.outline.Append(PolyPt(q));
        frameCorners.push_back(q);
        sum += q;
    }
    state.outline.Close();
    state.centroid = sum * (1.0f / static_cast<float>(f.deg));

    // Shape into the frame; unless local, projected onto the face plane along the
    // direction first, unless the normal is degenerate or the direction runs within
    // the plane. Without through too: the snap leaves a point that misses the mesh
    // off the surface, and at its own depth it would go into the outline, or take
    // the cut line off the face, wherever it lay across the direction.
    float across = d % normal;
    bool project = !local && normal.Length() >= 0.0001f && std::fabs(across) >= 0.0001f;
    // A shape point as the overlay sees it: in the frame, projected first if asked.
    auto toFrame = [&](Point3 p) {
        if (project) {
            float t = ((-normal) % (p - origin)) / across;
            p = p + d * t;
        }
        return p * state.inverseFrame;
    };
    if (far && sound && project) {
        std::vector<Point3> corners;
        corners.reserve(static_cast<size_t>(f.deg));
        for (int i = 0; i < f.deg; ++i) corners.push_back(mesh.v[f.vtx[i]].p);
        auto mayHoldCorner = [&](const Point3& a, const Point3& b) {
            Point3d fa(toFrame(a)), fb(toFrame(b));
            // The overlay looks at the flat picture (see below).
            for (int i = 0; i < state.outline.numPts; ++i) {
                const Point3d corner(state.outline[i].p);
                if (corner.StrictlyInside(fa, fb, false, 1e-10) ||
                    corner.StrictlyInside(fa, fb, true, 1e-10))
                    return true;
            }
            return false;
        };
        bool inside = false;
        if (far->Misses(corners, origin, normal, across, mayHoldCorner, inside)) {
            MarkFaceUncut(f, inside);
            return false;
        }
    }
    // Only a face that may be cut needs it, measured before the overlay adds points.
    state.cornerSpacing = CornerSpacing(state.outline);
    state.frameShape.Init();
    for (int i = 0; i < shape.numLines; ++i) {
        state.frameShape.Append(shape[i]);
        PolyLine& copy = state.frameShape[i];
        for (int j = 0; j < copy.numPts; ++j) copy[j].p = toFrame(copy[j].p);
    }

    // Projected onto the face's plane, the shape's depth follows from its place across
    // the direction; on a face seen at a grazing angle it grows a thousandfold, and
    // the on-line tests below, which look at 3D directions, took points far beside
    // the face for points of its edges. They see the flat picture; the depths come
    // back after them.
    const Point3 planeNormal(normal % xAxis, normal % yAxis, normal % zAxis);
    if (project) {
        for (int i = 0; i < state.outline.numPts; ++i) state.outline[i].p.z = 0.0f;
        FlattenShape(state.frameShape);
    }
    if (local) {
        KeepShapeAbovePlane(state.frameShape);
        // Past that test the height above the face only misleads: the on-line tests
        // below look at 3D directions, so a point hovering over a corner counted as
        // inside both edges there and went into the outline and back into the shape
        // over and over. The rebuild puts the points on the face anyway.
        FlattenShape(state.frameShape);
    }
    // With through on, a face the shape cannot be projected onto (no normal, or the
    // direction runs within its plane) has no area seen along the direction: there
    // is nothing to cut, and the shape left at its own depths would be taken into the
    // outline by the on-line tests, which look at 3D directions.
    bool edgeOn = through && !local && !project;
    bool cuts = false;
    if (sound && !edgeOn) {
        AddShapePointsToOutline(state.outline, state.frameShape);
        AddOutlinePointsToShape(state.frameShape, state.outline);
        cuts = ShapeCutsOutline(state.outline, state.frameShape);
    }
    if (project)
        RestoreDepths(state, frameCorners, planeNormal);
    if (cuts)
        return true;
    MarkFaceUncut(f, PointInClosedLines(state.centroid, state.frameShape));
    return false;
}
