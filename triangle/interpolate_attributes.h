// Attributes of points that the triangulation adds.
#ifndef SLITFORM_TRIANGLE_INTERPOLATE_ATTRIBUTES_H
#define SLITFORM_TRIANGLE_INTERPOLATE_ATTRIBUTES_H

#include "planar_graph.h"

namespace tri {

// Appends a point at scaled (x, y) with the given attributes (attribute_count values)
// and marker to the graph; gives its number. The point represents itself.
int add_point(PlanarGraph& graph, double x, double y, const double* attributes, int marker);

// Writes to out the attributes at scaled (x, y) interpolated linearly along the line
// from point first to point last, by the projection of (x, y) on it, clamped to the ends.
void interpolate_on_line(const PlanarGraph& graph, int first, int last, double x, double y,
                         double* out);

// Writes to out the attributes at scaled (x, y) interpolated barycentrically in the
// triangle of the three given points (weights from the sub-triangle areas, negative
// ones taken as zero).
void interpolate_in_triangle(const PlanarGraph& graph, const int corners[3], double x, double y,
                             double* out);

}  // namespace tri

#endif
