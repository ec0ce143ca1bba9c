// Third phase of a face cut: the face replaced by the triangles kept from the
// triangulator's output.
#pragma once

#include "facecut/cut_outline_vertex.h"
#include "facecut/cut_settings.h"
#include "facecut/cut_trace.h"
#include "facecut/face_cut_state.h"
#include "facecut/face_triangulation.h"
#include "mnmesh.h"

// Takes the mesh, the face, the first phase's state, the settings (removeUnused is used)
// and the triangulation. Keeps the triangles whose centroid lies inside the outline; when
// none is kept the face stays as it was and the result is false. Otherwise the face is deleted and
// every kept triangle becomes a face with new vertices in object space, flagged for the clean-up:
// cut-line edges 0x1, outline edges 0x8000000, interior edges 0x2000000 (removed with removeUnused,
// except those that keep a line ending inside the face from becoming a spur), faces
// inside the shape 0x80000000. New faces are reversed when the face looked along
// the direction. The removal and interior flags are cleared where trace says they
// can be set, and trace then records this cut. With outlineVertices given, appends to
// it where each new vertex on the face's outline lies on the face's edges.
bool RebuildFace(MNMesh& mesh, int face, const FaceCutState& state, const CutSettings& settings,
                 FaceTriangulation& tri, CutTrace& trace,
                 CutOutlineVertices* outlineVertices = nullptr);
