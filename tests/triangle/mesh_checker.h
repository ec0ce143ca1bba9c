// Checks a triangulate output against its input, independently of how it was made.
#ifndef SLITFORM_TESTS_TRIANGLE_MESH_CHECKER_H
#define SLITFORM_TESTS_TRIANGLE_MESH_CHECKER_H

#include <string>
#include <vector>

#include "pslg.h"
#include "triangle.h"

namespace tri_test {

struct CheckOptions {
    int base = 0;                 // numbering of the output
    double min_angle = 0.0;       // asked angle; 0 checks no angles
    bool limited = false;         // the call reported its point limit: angles not checked
    double expected_area = -1.0;  // area of the kept region when known
    // Attribute 0 of every input point equals ax*x + ay*y + a0: added points must match it.
    bool affine_attribute = false;
    double ax = 0.0, ay = 0.0, a0 = 0.0;
};

// Takes the input graph (zero-based) and the output record; gives the problems found,
// none for a correct output: input points first and unchanged; triangles with three valid
// corners, counterclockwise, edges shared by at most two triangles, the triangles around
// each point turning once at most (so none overlap); no region enclosed by triangles left empty and
// every border edge an output segment; every output segment on an input segment with the marker of
// the lowest-numbered one under it, and every part of an input segment inside the mesh covered by
// output segments; added points used, crossings with attributes interpolated along the
// lowest-numbered segment through them, other points on a segment between their two neighbours
// along it (else within the input's range, or on the affine function); angles at least min_angle
// except near narrow angles between segments (within the longer side's length of the apex) and in
// triangles with an edge shorter than 1e-8 of the input's extent.
std::vector<std::string> check_triangulation(const Pslg& input, const triangulateio& out,
                                             const CheckOptions& options);

// The total area of the output triangles.
double mesh_area(const triangulateio& out, int base);

// The smallest angle of any output triangle, in degrees.
double smallest_angle(const triangulateio& out, int base);

// The problems joined into one text for a test message.
std::string describe(const std::vector<std::string>& problems);

}  // namespace tri_test

#endif
