// The closed lines index against the plain even-odd test on long shapes: each line is a
// short pattern of points repeated up to a thousand times with a step, so that edges
// reaching across many rows (lettering, zig-zags, fans of copies) are common. Points
// are queried at decoded places and at the shape's own heights.
#include <cmath>
#include <cstdint>
#include <string>

#include "facecut/closed_lines_index.h"
#include "facecut/point_in_polyline.h"
#include "fuzz_bytes.h"
#include "fuzz_check.h"

namespace {

// On a 1/16 grid over [-8, 8), with now and then a value that is not finite or huge.
float Coordinate(FuzzBytes& in) {
    const std::uint8_t b = in.Byte();
    if (b == 255)
        return std::nanf("");
    if (b == 254)
        return 3.0e38f;
    return (static_cast<int>(b) - 128) / 16.0f;
}

PolyShape Decode(FuzzBytes& in) {
    PolyShape shape;
    const int lines = 1 + in.Below(4);
    for (int l = 0; l < lines; ++l) {
        const int pattern = 1 + in.Below(32);
        const int copies = 1 + in.Word() % 1024;
        const float stepX = Coordinate(in) / 64.0f, stepY = Coordinate(in) / 64.0f;
        Point3 points[32];
        for (int i = 0; i < pattern; ++i) points[i] = Point3(Coordinate(in), Coordinate(in), 0.0f);
        PolyLine line;
        for (int c = 0; c < copies; ++c)
            for (int i = 0; i < pattern; ++i)
                line.Append(PolyPt(Point3(points[i].x + c * stepX, points[i].y + c * stepY, 0.0f)));
        if (in.Byte() % 4 != 0)
            line.Close();
        shape.Append(line);
    }
    return shape;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzBytes in(data, size);
    const PolyShape shape = Decode(in);
    const ClosedLinesIndex index(shape);
    for (int q = 0; q < 48; ++q) {
        Point3 p(Coordinate(in), Coordinate(in), 0.0f);
        // Every third point at the height of a vertex, where ties decide.
        const PolyLine& line = shape[q % shape.numLines];
        if (q % 3 == 0 && line.numPts > 0)
            p.y = line[(q * 7919) % line.numPts].p.y;
        FuzzRequire(index.Contains(p) == PointInClosedLines(p, shape),
                    "the index and the plain test disagree at query " + std::to_string(q));
    }
    return 0;
}
