// Filling the output record of a triangulate call.
#ifndef SLITFORM_TRIANGLE_WRITE_OUTPUT_H
#define SLITFORM_TRIANGLE_WRITE_OUTPUT_H

#include "constrained_mesh.h"
#include "planar_graph.h"
#include "triangle.h"

namespace tri {

// Takes the input record, the meshed graph and the mesh; fills out with malloc'd arrays:
// the input points first, unchanged, then the added points that some triangle uses, in
// graph order; triangles and segments numbered from base (0 or 1). holelist and
// regionlist are the input's pointers. Gives false, with out left empty, when an
// allocation fails.
bool write_output(const triangulateio& in, const PlanarGraph& graph, const MeshResult& mesh,
                  int base, triangulateio* out);

// Frees the arrays write_output allocates in out (not holelist or regionlist, which are
// the input's); the pointers are left as they were.
void release_output(triangulateio& out);

// Clears out to a record with no points, triangles or segments (pointers the caller left
// in it are dropped, not freed); holelist and regionlist are the input's pointers when
// there is an input.
void write_empty_output(const triangulateio* in, triangulateio* out);

}  // namespace tri

#endif
