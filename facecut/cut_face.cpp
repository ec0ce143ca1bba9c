#include "facecut/cut_face.h"

#include "facecut/face_cut_state.h"
#include "facecut/prepare_face_cut.h"

void CutFace(MNMesh& mesh, int face, const PolyShape& shape, bool through, const Point3& direction,
             bool local, [[maybe_unused]] bool removeUnused, [[maybe_unused]] float minAngle,
             [[maybe_unused]] float weldThreshold) {
    FaceCutState state;
    PrepareFaceCut(mesh, face, shape, through, direction, local, state);
}
