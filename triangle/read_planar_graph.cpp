#include "read_planar_graph.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tri {

namespace {

double largest_magnitude(const double* values, std::size_t count) {
    double largest = 0.0;
    for (std::size_t i = 0; i < count; ++i) largest = std::max(largest, std::fabs(values[i]));
    return largest;
}

}  // namespace

PlanarGraph read_planar_graph(const triangulateio& in, const Switches& switches) {
    PlanarGraph graph;
    const std::size_t points = static_cast<std::size_t>(in.numberofpoints);
    const std::size_t segments =
        switches.planar_graph ? static_cast<std::size_t>(in.numberofsegments) : 0;
    const std::size_t holes =
        switches.planar_graph ? static_cast<std::size_t>(in.numberofholes) : 0;
    graph.input_points = in.numberofpoints;
    graph.attribute_count = in.numberofpointattributes;

    const double largest = std::max(largest_magnitude(in.pointlist, 2 * points),
                                    largest_magnitude(in.holelist, 2 * holes));
    std::frexp(largest, &graph.exponent);

    graph.xy.resize(2 * points);
    for (std::size_t i = 0; i < 2 * points; ++i) {
        graph.xy[i] = std::ldexp(in.pointlist[i], -graph.exponent);
    }
    const std::size_t attribute_values = points * static_cast<std::size_t>(graph.attribute_count);
    if (attribute_values > 0) {
        graph.attributes.assign(in.pointattributelist, in.pointattributelist + attribute_values);
    }
    if (in.pointmarkerlist != nullptr && points > 0) {
        graph.markers.assign(in.pointmarkerlist, in.pointmarkerlist + points);
    } else {
        graph.markers.assign(points, 0);
    }
    graph.representative.resize(points);
    for (std::size_t i = 0; i < points; ++i) graph.representative[i] = static_cast<int>(i);

    const int base = switches.zero_based ? 0 : 1;
    graph.segment_ends.resize(2 * segments);
    for (std::size_t i = 0; i < 2 * segments; ++i) graph.segment_ends[i] = in.segmentlist[i] - base;
    if (in.segmentmarkerlist != nullptr && segments > 0) {
        graph.segment_markers.assign(in.segmentmarkerlist, in.segmentmarkerlist + segments);
    } else {
        graph.segment_markers.assign(segments, 0);
    }
    graph.holes.resize(2 * holes);
    for (std::size_t i = 0; i < 2 * holes; ++i) {
        graph.holes[i] = std::ldexp(in.holelist[i], -graph.exponent);
    }
    return graph;
}

}  // namespace tri
