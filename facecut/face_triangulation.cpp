#include "facecut/face_triangulation.h"

#include <cstdlib>
#include <cstring>

FaceTriangulation::FaceTriangulation() {
    std::memset(&in, 0, sizeof in);
    std::memset(&out, 0, sizeof out);
    in.numberofcorners = 3;
    out.numberofcorners = 3;
    switches[0] = '\0';
}

FaceTriangulation::~FaceTriangulation() {
    std::free(in.pointlist);
    std::free(in.pointattributelist);
    std::free(in.pointmarkerlist);
    std::free(in.segmentlist);
    std::free(in.segmentmarkerlist);
    std::free(out.pointlist);
    std::free(out.pointattributelist);
    std::free(out.pointmarkerlist);
    std::free(out.trianglelist);
    std::free(out.triangleattributelist);
    std::free(out.neighborlist);
    std::free(out.segmentlist);
    std::free(out.segmentmarkerlist);
    std::free(out.edgelist);
    std::free(out.edgemarkerlist);
    // holelist and regionlist of the output are the input's pointers; the
    // triangulator fills neither trianglearealist nor normlist here.
}
