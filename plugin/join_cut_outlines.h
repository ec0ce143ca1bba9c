// Joins the outlines of cut faces to their neighbours by where their vertices lie on
// the mesh's edges, not by distance alone: near a sharp corner (the pole of a sphere)
// points of two different edges lie closer than any useful weld.
#pragma once

#include "facecut/cut_outline_vertex.h"
#include "mnmesh.h"

// Takes the mesh after its faces were cut, where the cut put the new vertices on the
// outlines (see CutFaces), and the weld's reach. Copies of one corner join that
// corner (or, where no face kept it, one another) at its place. Along each edge of
// the mesh, every recorded vertex moves onto the edge at its place along it; those
// closer than reach to an end join the end, and the others closer than reach to the
// first of a run join it at the run's mean place. Border edges along the edge are
// then split at the vertices of the other side that lie between their ends, and the
// new corners joined to those vertices. Vertices are joined only as
// MNMesh::WeldBorderVerts allows. Returns the number of joins and splits.
int JoinCutOutlines(MNMesh& mesh, const CutOutlineVertices& records, float reach);
