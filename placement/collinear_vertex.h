// The test that marks a vertex lying on a straight run of edges.
#pragma once

#include <vector>

#include "maxtypes.h"
#include "mnmesh.h"

// Removal mark that the test sets on a vertex.
constexpr DWORD kCollinearMark = 0x20000000;

// Takes the mesh, a vertex index, the threshold (compared with the sine of the angle
// between the vertex's two edges) and the mark. ORs mark into the vertex's flags when
// it has fewer than two live edges, or exactly two whose unit directions have a
// cross product shorter than the threshold (or not a number). Finds the edges by
// scanning the whole edge table.
void MarkCollinearVertex(MNMesh& mesh, int i, float threshold, DWORD mark);

// The same test with the vertex's live edges given, in ascending index.
void MarkCollinearVertexWithEdges(MNMesh& mesh, int i, const std::vector<int>& liveEdges,
                                  float threshold, DWORD mark);
