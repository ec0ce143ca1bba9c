// Tells, for a face the shape is projected onto along the direction, whether no
// piece of the shape comes near enough to change it: the first phase then has
// nothing to find, and the face is only marked inside or outside the shape.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "facecut/closed_lines_index.h"
#include "point3.h"
#include "polyshp.h"

class FarShapeIndex {
public:
    // Takes the shape in object space and the projection direction (unit length).
    FarShapeIndex(const PolyShape& shape, const Point3& direction);

    // Whether a segment of the shape (its ends in object space) may take one of the
    // face's corners inside it, asked of segments too short for the bounds to say.
    using ShortSegmentTest = std::function<bool(const Point3& a, const Point3& b)>;

    // Takes the face's corners, its frame origin (the first corner), its unit normal
    // and across = direction . normal, as the first phase computes them for a shape
    // projected onto the face, and the test for short segments. True when the first
    // phase would neither change the face's outline or the shape nor find a cut, with
    // float rounding counted; inside is then the face's inside parity as the first
    // phase gives it. False when that cannot be shown: the first phase must run.
    bool Misses(const std::vector<Point3>& corners, const Point3& origin, const Point3& normal,
                float across, const ShortSegmentTest& mayHoldCorner, bool& inside) const;

private:
    struct Segment {
        double lo[2], hi[2];  // box across the direction
        double a[2], b[2];    // ends across the direction
    };
    struct ShortSegment {
        double length;  // across the direction
        Point3 a, b;
    };
    void CellRange(double lo, double hi, int axis, int& first, int& last) const;

    double axisU[3] = {0.0, 0.0, 0.0};
    double axisV[3] = {0.0, 0.0, 0.0};
    double direction[3] = {0.0, 0.0, 0.0};
    std::vector<Segment> segments;
    double lowest[2] = {0.0, 0.0};
    double cellSize = 1.0;
    int cells[2] = {0, 0};
    std::vector<int> cellStart;              // cells + 1 offsets into cellSegments
    std::vector<int> cellSegments;           // segment numbers, cell by cell
    double farthest = 0.0;                   // largest coordinate magnitude of the shape
    double longest = 0.0;                    // longest segment across the direction
    std::vector<ShortSegment> bySpan;        // segments whose ends differ, shortest first
    std::optional<ClosedLinesIndex> parity;  // the closed polylines across the direction
    bool usable = false;
};
