// The input of a triangulate call in the form the meshing works on.
#ifndef SLITFORM_TRIANGLE_PLANAR_GRAPH_H
#define SLITFORM_TRIANGLE_PLANAR_GRAPH_H

#include <vector>

namespace tri {

// A straight piece of one input segment, between two distinct points of the graph.
struct Piece {
    int first;
    int last;
    int segment;  // input segment number (zero-based)
};

// Points are numbered as in the output: the input points first, then points added on
// the way (crossings, points placed by the meshing). Coordinates are the input's times
// a power of two (scale), which keeps them exact and near unit size.
struct PlanarGraph {
    int input_points = 0;
    int attribute_count = 0;
    int exponent = 0;                  // coordinates here = input coordinates * 2^-exponent
    std::vector<double> xy;            // two per point
    std::vector<double> attributes;    // attribute_count per point
    std::vector<int> markers;          // one per point
    std::vector<int> representative;   // per point: the point that is meshed in its place
    std::vector<int> segment_ends;     // two input point numbers per input segment
    std::vector<int> segment_markers;  // one per input segment
    std::vector<double> holes;         // two coordinates per hole, scaled like the points
    std::vector<Piece> pieces;         // the segments cut where points lie on them
    double merge_distance = 0.0;       // points closer than this are one point

    int point_count() const { return static_cast<int>(markers.size()); }
};

}  // namespace tri

#endif
