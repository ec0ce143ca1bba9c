// Test inputs for triangulate: a planar straight-line graph and the call around it.
#ifndef SLITFORM_TESTS_TRIANGLE_PSLG_H
#define SLITFORM_TESTS_TRIANGLE_PSLG_H

#include <string>
#include <vector>

#include "triangle.h"

namespace tri_test {

// Points with attributes and segments with markers, numbered from zero.
struct Pslg {
    int attribute_count = 2;
    std::vector<double> points;      // x, y
    std::vector<double> attributes;  // attribute_count per point
    std::vector<int> segments;       // two point numbers each
    std::vector<int> markers;        // one per segment
    std::vector<double> holes;       // x, y

    // Adds a point whose attributes are the given values (missing ones 0); gives its number.
    int add_point(double x, double y, std::vector<double> values = {});
    void add_segment(int a, int b, int marker);
    // Adds a polyline through the given points (closed: back to the first), marker on each.
    void add_polyline(const std::vector<int>& corners, bool closed, int marker);
    int point_count() const { return static_cast<int>(points.size() / 2); }
    int segment_count() const { return static_cast<int>(markers.size()); }
};

// The output of one triangulate call with what the thread queries said after it; frees
// the output arrays as the face cut does.
struct Triangulated {
    triangulateio out{};
    int error = 0;
    int limited = 0;
    Triangulated() = default;
    Triangulated(const Triangulated&) = delete;
    Triangulated& operator=(const Triangulated&) = delete;
    ~Triangulated();
};

// The input record that points into the graph's arrays (segments renumbered from base).
struct InputRecord {
    triangulateio in{};
    std::vector<int> segments;
    InputRecord(Pslg& pslg, int base);
};

// Runs triangulate on the graph with the switch text; segments are passed from zero
// unless the switches lack z.
void run_triangulate(Pslg& pslg, const std::string& switches, Triangulated& result);

}  // namespace tri_test

#endif
