// triangulate on a small planar graph decoded from the bytes: points, segments,
// holes and one of the switch texts the face cut uses. Checks the output's shape:
// input points first and unchanged, every number in range, empty on failure.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_bytes.h"
#include "fuzz_check.h"
#include "tests/triangle/pslg.h"
#include "triangle.h"

namespace {

struct Graph {
    int attributes = 0;
    std::vector<double> points;  // x, y
    std::vector<double> values;  // attributes per point
    std::vector<int> segments;
    std::vector<int> markers;
    std::vector<double> holes;
    std::string switches;  // every one has z: points are numbered from zero
};

// Coordinates on a 1/256 grid over [-128, 128): coarse enough for duplicates,
// collinear points and crossing segments to be common.
double Coordinate(FuzzBytes& in) {
    return (static_cast<int>(in.Word()) - 32768) / 256.0;
}

std::string Switches(FuzzBytes& in) {
    switch (in.Below(3)) {
        case 0: {
            std::string text = "zpq" + std::to_string(in.Below(35));
            if (in.Bit())
                text += "." + std::to_string(in.Below(10));
            return text + "Q";
        }
        case 1:
            return "zpQ";
        default:
            return "pzQ";
    }
}

Graph Decode(FuzzBytes& in) {
    Graph g;
    g.switches = Switches(in);
    g.attributes = in.Below(3);
    const int points = 3 + in.Below(30);
    for (int p = 0; p < points; ++p) {
        g.points.push_back(Coordinate(in));
        g.points.push_back(Coordinate(in));
        for (int a = 0; a < g.attributes; ++a) g.values.push_back(in.Byte() / 16.0);
    }
    const int segments = in.Below(40);
    for (int s = 0; s < segments; ++s) {
        g.segments.push_back(in.Below(points));
        g.segments.push_back(in.Below(points));
        g.markers.push_back(in.Below(5));
    }
    const int holes = in.Below(3);
    for (int h = 0; h < 2 * holes; ++h) g.holes.push_back(Coordinate(in));
    return g;
}

void RequireInRange(const int* numbers, int count, int points, const char* what) {
    for (int i = 0; i < count; ++i)
        if (numbers[i] < 0 || numbers[i] >= points)
            FuzzFail(std::string(what) + " refers to point " + std::to_string(numbers[i]) + " of " +
                     std::to_string(points));
}

void CheckOutput(const Graph& g, const triangulateio& out) {
    const int inputs = static_cast<int>(g.points.size() / 2);
    FuzzRequire(out.numberofcorners == 3, "triangles without three corners");
    if (triangulate_last_error() != TRIANGULATE_OK) {
        FuzzRequire(out.numberofpoints == 0 && out.numberoftriangles == 0 &&
                        out.numberofsegments == 0 && out.pointlist == nullptr &&
                        out.trianglelist == nullptr && out.segmentlist == nullptr,
                    "a failed call left output behind");
        return;
    }
    FuzzRequire(out.numberofpoints >= inputs, "input points are missing from the output");
    FuzzRequire(out.numberofpointattributes == g.attributes, "attribute count changed");
    for (int i = 0; i < 2 * inputs; ++i)
        FuzzRequire(out.pointlist[i] == g.points[i], "an input point moved");
    for (int i = 0; i < 2 * out.numberofpoints; ++i)
        FuzzRequire(std::isfinite(out.pointlist[i]), "an output point is not finite");
    RequireInRange(out.trianglelist, 3 * out.numberoftriangles, out.numberofpoints, "a triangle");
    RequireInRange(out.segmentlist, 2 * out.numberofsegments, out.numberofpoints, "a segment");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzBytes in(data, size);
    Graph g = Decode(in);

    triangulateio input{};
    input.pointlist = g.points.data();
    input.numberofpoints = static_cast<int>(g.points.size() / 2);
    input.numberofpointattributes = g.attributes;
    input.pointattributelist = g.values.empty() ? nullptr : g.values.data();
    input.segmentlist = g.segments.empty() ? nullptr : g.segments.data();
    input.segmentmarkerlist = g.markers.empty() ? nullptr : g.markers.data();
    input.numberofsegments = static_cast<int>(g.markers.size());
    input.holelist = g.holes.empty() ? nullptr : g.holes.data();
    input.numberofholes = static_cast<int>(g.holes.size() / 2);
    input.numberofcorners = 3;

    tri_test::Triangulated result;
    triangulate(&g.switches[0], &input, &result.out, nullptr);
    CheckOutput(g, result.out);
    return 0;
}
