#include "facecut/cut_face.h"

#include "facecut/face_cut_state.h"
#include "facecut/face_triangulation.h"
#include "facecut/prepare_face_cut.h"
#include "facecut/rebuild_face.h"
#include "facecut/triangulation_input.h"

void CutFace(MNMesh& mesh, int face, const PolyShape& shape, bool through, const Point3& direction,
             bool local, bool removeUnused, float minAngle, float weldThreshold) {
    FaceCutState state;
    if (!PrepareFaceCut(mesh, face, shape, through, direction, local, state)) return;
    FaceTriangulation tri;
    BuildTriangulationInput(state, minAngle, weldThreshold, tri);
    // A face the triangulator cannot take stays as it was.
    if (!RunTriangulation(tri)) return;
    RebuildFace(mesh, face, state, removeUnused, tri);
}
