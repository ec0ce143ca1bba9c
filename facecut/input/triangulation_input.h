// Second phase of a face cut: the planar straight-line graph of the outline and
// the shape for the triangulator, and the triangulator's run on it.
#pragma once

#include "facecut/cut_settings.h"
#include "facecut/face_cut_state.h"
#include "facecut/face_triangulation.h"

// Takes the first phase's state and the settings (the minimum angle in degrees and the
// weld threshold, within WeldReach of the face's corner spacing). Fills tri.in: the outline's
// points (source tag -1, segments with marker 2) and then every polyline's points (tag -2 at its
// ends, k + 1 elsewhere for polyline k; segments with marker 3), each with its depth; the switches
// from "zpq%.3fQ"; writes the debug dumps and welds the record. Runs in face order (the weld's sort
// keeps process-wide state).
void BuildTriangulationInput(const FaceCutState& state, const CutSettings& settings,
                             FaceTriangulation& tri);

// Triangulates tri.in into tri.out, noting whether refinement stopped at the point
// limit. False when the triangulator failed; the face is then left as it was.
// Keeps no shared state: faces may run in parallel.
bool RunTriangulation(FaceTriangulation& tri);
