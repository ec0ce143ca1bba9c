#include "facecut/triangulation_input.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QString>

#include "facecut/dump_triangulation_input.h"
#include "facecut/weld_triangulation_input.h"

void BuildTriangulationInput(const FaceCutState& state, float minAngle, float weldThreshold,
                             FaceTriangulation& tri) {
    const PolyLine& outline = state.outline;
    const PolyShape& shape = state.frameShape;
    int n = outline.numPts;
    int pointCount = n, segmentCount = n;
    for (int k = 0; k < shape.numLines; ++k) {
        int m = shape.lines[k].numPts;
        pointCount += m;
        segmentCount += shape.lines[k].IsClosed() ? m : (m > 0 ? m - 1 : 0);
    }

    triangulateio& in = tri.in;
    in.numberofpoints = pointCount;
    in.numberofpointattributes = 2;
    in.pointlist = static_cast<REAL*>(std::malloc(sizeof(REAL) * 2 * pointCount));
    in.pointattributelist = static_cast<REAL*>(std::malloc(sizeof(REAL) * 2 * pointCount));
    in.numberofsegments = segmentCount;
    in.segmentlist = static_cast<int*>(std::malloc(sizeof(int) * 2 * segmentCount));
    in.segmentmarkerlist = static_cast<int*>(std::malloc(sizeof(int) * segmentCount));

    for (int i = 0; i < n; ++i) {
        const Point3& q = outline.pts[i].p;
        in.pointlist[2 * i] = q.x;
        in.pointlist[2 * i + 1] = q.y;
        in.pointattributelist[2 * i] = q.z;
        in.pointattributelist[2 * i + 1] = -1.0;
        in.segmentlist[2 * i] = i;
        in.segmentlist[2 * i + 1] = i + 1 < n ? i + 1 : 0;
        in.segmentmarkerlist[i] = 2;
    }
    int p = n, s = n;
    for (int k = 0; k < shape.numLines; ++k) {
        const PolyLine& line = shape.lines[k];
        int m = line.numPts, first = p;
        for (int j = 0; j < m; ++j, ++p) {
            const Point3& q = line.pts[j].p;
            in.pointlist[2 * p] = q.x;
            in.pointlist[2 * p + 1] = q.y;
            in.pointattributelist[2 * p] = q.z;
            in.pointattributelist[2 * p + 1] = j == 0 ? -2.0 : k + 1.0;
            if (j < m - 1) {
                in.segmentlist[2 * s] = p;
                in.segmentlist[2 * s + 1] = p + 1;
                in.segmentmarkerlist[s++] = 3;
            } else if (line.IsClosed()) {
                in.segmentlist[2 * s] = p;
                in.segmentlist[2 * s + 1] = first;
                in.segmentmarkerlist[s++] = 3;
            } else {
                in.pointattributelist[2 * p + 1] = -2.0;
            }
        }
    }

    std::snprintf(tri.switches, sizeof tri.switches, "zpq%.3fQ", static_cast<double>(minAngle));
    DumpTriangulationInput(QString("D:\\tri_0.bin"), in, true);
    DumpTriangulationInput(QString("D:\\tri_0.txt"), in, false);
    // A weld as wide as the face would merge its corners and leave nothing to keep.
    double tolerance = std::min(static_cast<double>(weldThreshold), 0.5 * state.cornerSpacing);
    WeldTriangulationInput(in, tolerance);
    DumpTriangulationInput(QString("D:\\tri_1.txt"), in, false);
}

bool RunTriangulation(FaceTriangulation& tri) {
    triangulate(tri.switches, &tri.in, &tri.out, nullptr);
    return triangulate_last_error() == TRIANGULATE_OK;
}
