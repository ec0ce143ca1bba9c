#include "facecut/cut_face.h"

#include "facecut/cut_flags.h"
#include "facecut/face_cut_state.h"
#include "facecut/face_triangulation.h"
#include "facecut/point_in_polyline.h"
#include "facecut/prepare_face_cut.h"
#include "facecut/rebuild_face.h"
#include "facecut/triangulation_input.h"

void CutFace(MNMesh& mesh, int face, const PolyShape& shape, bool through, const Point3& direction,
             bool local, bool removeUnused, float minAngle, float weldThreshold) {
    FaceCutState state;
    if (!PrepareFaceCut(mesh, face, shape, through, direction, local, state)) return;
    FaceTriangulation tri;
    BuildTriangulationInput(state, minAngle, weldThreshold, tri);
    // A face the triangulator cannot take, or that no triangle would replace, stays as
    // it was, flagged like a face the shape does not cut.
    if (!RunTriangulation(tri) || !RebuildFace(mesh, face, state, removeUnused, tri))
        MarkFaceUncut(mesh.f[face], PointInClosedLines(state.centroid, state.frameShape));
}
