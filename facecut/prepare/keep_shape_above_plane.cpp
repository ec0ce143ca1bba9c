#include "facecut/prepare/keep_shape_above_plane.h"

void KeepShapeAbovePlane(PolyShape& shape) {
    PolyShape source = shape;
    shape.Init();
    for (int i = 0; i < source.numLines; ++i) {
        const PolyLine& line = source[i];
        // Index of the run being filled, or -1. An index, not a reference:
        // NewLine may move the polylines.
        int run = -1;
        for (int j = 0; j < line.numPts; ++j) {
            const Point3& p = line[j].p;
            if (p.z > 0.0f) {
                if (run < 0) {
                    shape.NewLine();
                    run = shape.numLines - 1;
                }
                shape[run].Append(PolyPt(Point3(p.x, p.y, p.z)));
            } else {
                run = -1;
            }
        }
        if (run >= 0 && line.IsClosed() && shape[run].numPts == line.numPts)
            shape[run].Close();
    }
}
