#include "facecut/cut_face.h"

#include <vector>

#include "facecut/cut_faces.h"

void CutFace(MNMesh& mesh, int face, const PolyShape& shape, const CutSettings& settings) {
    CutSettings one = settings;
    one.threads = 1;
    CutFaces(mesh, std::vector<int>{face}, shape, one);
}
