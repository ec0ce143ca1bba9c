// Small polyline and shape builders for the face-cut tests.
#pragma once

#include <initializer_list>
#include <vector>

#include "facecut/cut_settings.h"
#include "mnmesh.h"
#include "point3.h"
#include "polyshp.h"

inline PolyLine MakeLine(std::initializer_list<Point3> points, bool closed) {
    PolyLine line;
    for (const Point3& p : points) line.Append(PolyPt(p));
    if (closed)
        line.Close();
    return line;
}

inline PolyShape MakeShape(std::initializer_list<PolyLine> lines) {
    PolyShape shape;
    for (const PolyLine& l : lines) shape.Append(l);
    return shape;
}

// The square from (x0, y0) to (x1, y1) at depth z, counter-clockwise.
inline PolyLine MakeSquare(float x0, float y0, float x1, float y1, float z = 0.0f) {
    return MakeLine({Point3(x0, y0, z), Point3(x1, y0, z), Point3(x1, y1, z), Point3(x0, y1, z)},
                    true);
}

// A mesh holding one face with the given corners, in order.
inline MNMesh OneFace(const std::vector<Point3>& corners) {
    MNMesh mesh;
    std::vector<int> vv;
    for (const Point3& p : corners) vv.push_back(mesh.NewVert(p));
    mesh.CreateFace(static_cast<int>(vv.size()), vv.data());
    return mesh;
}

// The settings of a face cut along direction, with through and local as given and the
// other values at their defaults.
inline CutSettings Along(const Point3& direction, bool through = false, bool local = false) {
    CutSettings settings;
    settings.direction = direction;
    settings.through = through;
    settings.local = local;
    return settings;
}

// The settings of a face cut that welds within weld, the other values at their defaults.
inline CutSettings Welding(float weld) {
    CutSettings settings;
    settings.weld = weld;
    return settings;
}
