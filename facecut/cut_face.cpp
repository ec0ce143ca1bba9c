#include "facecut/cut_face.h"

#include <vector>

#include "facecut/cut_faces.h"

void CutFace(MNMesh& mesh, int face, const PolyShape& shape, bool through, const Point3& direction,
             bool local, bool removeUnused, float minAngle, float weldThreshold) {
    CutFaces(mesh, std::vector<int>{face}, shape, through, direction, local, removeUnused, minAngle,
             weldThreshold, 1);
}
