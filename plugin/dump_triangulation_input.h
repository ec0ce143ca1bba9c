// Writes a triangulator input record to a file, for tracing a cut.
#pragma once

#include <QString>

#include "triangle.h"

// Takes the path (Windows-style paths are translated, see windows_path.h), the
// record and the form. Binary: the point count, the points' x and y, the
// attribute count, the attributes, the triangle count, the triangles' corners,
// the segment count and the segments; counts as big-endian 32-bit integers, arrays
// as they lie in memory. Text: "num verts: " and one "point pos:[x, y, depth]
// name:"p<i>"" line per point, "num trees: " and one line per triangle, "num
// segments: " and one line per segment, reals with six decimals. The file is
// replaced. False, with nothing written, when it cannot be opened.
bool DumpTriangulationInput(const QString& path, const triangulateio& record, bool binary);
