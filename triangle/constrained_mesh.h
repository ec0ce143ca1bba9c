// The constrained Delaunay triangulation of a prepared planar graph, carved and refined.
#ifndef SLITFORM_TRIANGLE_CONSTRAINED_MESH_H
#define SLITFORM_TRIANGLE_CONSTRAINED_MESH_H

#include <vector>

#include "planar_graph.h"
#include "switches.h"

namespace tri {

struct MeshResult {
    std::vector<int> triangles;        // three graph points per triangle, counterclockwise
    std::vector<int> segments;         // two graph points per constrained edge on an input segment
    std::vector<int> segment_markers;  // the marker of the lowest-numbered segment under each
    std::vector<int> lowest_segment;   // that segment's number
    bool refinement_limited = false;   // refinement stopped at the point limit or on a failure
};

// Takes a graph from prepare_planar_graph and the switches. Triangulates its points and
// pieces; with p, removes the triangles reachable from outside the convex hull or from a
// hole without crossing a piece; with q and an angle above 0, refines what remains until
// no triangle has a smaller angle (except in narrow wedges between segments, which no
// refinement can fix), adding at most point_limit points. Points the triangulation adds
// are appended to the graph with interpolated attributes. Gives TRIANGULATE_OK, or
// TRIANGULATE_COLLINEAR when the points do not span the plane. Throws on CGAL failures
// outside the refinement, which it contains itself.
int mesh_planar_graph(PlanarGraph& graph, const Switches& switches, long long point_limit,
                      MeshResult& result);

}  // namespace tri

#endif
