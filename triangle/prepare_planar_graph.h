// Makes a planar graph safe to triangulate.
#ifndef SLITFORM_TRIANGLE_PREPARE_PLANAR_GRAPH_H
#define SLITFORM_TRIANGLE_PREPARE_PLANAR_GRAPH_H

#include "planar_graph.h"

namespace tri {

// Takes a graph from read_planar_graph. Merges points closer than 1e-12 times the extent
// of the input (each point's representative becomes the lowest-numbered point of its
// group), adds a point where two segments cross (exact crossing rounded to double,
// attributes and marker from the lower-numbered segment; a crossing that falls near an
// existing point reuses that point), and cuts every segment into pieces at the points that
// lie on it or within the merge distance of it. Degenerate segments give no pieces.
// False, with the graph unusable, as soon as the segments cross each other more than
// crossing_limit times.
bool prepare_planar_graph(PlanarGraph& graph, long long crossing_limit);

}  // namespace tri

#endif
