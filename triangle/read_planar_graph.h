// Copies a checked input record into a planar graph.
#ifndef SLITFORM_TRIANGLE_READ_PLANAR_GRAPH_H
#define SLITFORM_TRIANGLE_READ_PLANAR_GRAPH_H

#include "planar_graph.h"
#include "switches.h"
#include "triangle.h"

namespace tri {

// Takes an input record that check_input accepted; gives its points (scaled by a power
// of two so that the largest coordinate lies in [0.5, 1)), attributes, point markers (0
// when the record has none), segments renumbered from zero with their markers (0 when
// the record has none; none at all without p) and holes. Every point represents itself;
// there are no pieces yet.
PlanarGraph read_planar_graph(const triangulateio& in, const Switches& switches);

}  // namespace tri

#endif
