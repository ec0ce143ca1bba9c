#include "interpolate_attributes.h"

#include <algorithm>
#include <cstddef>

namespace tri {

namespace {

const double* attributes_of(const PlanarGraph& graph, int point) {
    return graph.attributes.data() +
           static_cast<std::size_t>(point) * static_cast<std::size_t>(graph.attribute_count);
}

double twice_area(const PlanarGraph& graph, int a, int b, double x, double y) {
    const double ax = graph.xy[2 * a] - x;
    const double ay = graph.xy[2 * a + 1] - y;
    const double bx = graph.xy[2 * b] - x;
    const double by = graph.xy[2 * b + 1] - y;
    return ax * by - ay * bx;
}

}  // namespace

int add_point(PlanarGraph& graph, double x, double y, const double* attributes, int marker) {
    const int point = graph.point_count();
    graph.xy.push_back(x);
    graph.xy.push_back(y);
    graph.attributes.insert(graph.attributes.end(), attributes, attributes + graph.attribute_count);
    graph.markers.push_back(marker);
    graph.representative.push_back(point);
    return point;
}

void interpolate_on_line(const PlanarGraph& graph, int first, int last, double x, double y,
                         double* out) {
    const double ax = graph.xy[2 * first];
    const double ay = graph.xy[2 * first + 1];
    const double dx = graph.xy[2 * last] - ax;
    const double dy = graph.xy[2 * last + 1] - ay;
    const double length_squared = dx * dx + dy * dy;
    double t = 0.0;
    if (length_squared > 0.0)
        t = ((x - ax) * dx + (y - ay) * dy) / length_squared;
    t = std::min(1.0, std::max(0.0, t));
    const double* a = attributes_of(graph, first);
    const double* b = attributes_of(graph, last);
    for (int k = 0; k < graph.attribute_count; ++k) out[k] = a[k] + t * (b[k] - a[k]);
}

void interpolate_in_triangle(const PlanarGraph& graph, const int corners[3], double x, double y,
                             double* out) {
    double weights[3];
    double total = 0.0;
    for (int i = 0; i < 3; ++i) {
        weights[i] =
            std::max(0.0, twice_area(graph, corners[(i + 1) % 3], corners[(i + 2) % 3], x, y));
        total += weights[i];
    }
    for (int i = 0; i < 3; ++i) weights[i] = total > 0.0 ? weights[i] / total : 1.0 / 3.0;
    const double* a = attributes_of(graph, corners[0]);
    const double* b = attributes_of(graph, corners[1]);
    const double* c = attributes_of(graph, corners[2]);
    for (int k = 0; k < graph.attribute_count; ++k) {
        out[k] = weights[0] * a[k] + weights[1] * b[k] + weights[2] * c[k];
    }
}

}  // namespace tri
