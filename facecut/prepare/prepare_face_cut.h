// First phase of a face cut: the facing test, the face frame, the outline and the
// shape in frame coordinates, their overlay, and the decision.
#pragma once

#include "facecut/cut_settings.h"
#include "facecut/face_cut_state.h"
#include "facecut/prepare/far_shape_index.h"
#include "mnmesh.h"
#include "point3.h"
#include "polyshp.h"

// Takes the mesh, the face index, the shape in object space and the settings (through,
// direction and local are used). True when the shape cuts the face: state then
// holds the frame, the outline and the frame shape for the next phases, and the
// mesh is unchanged. False when the face is not cut: it is left untouched when it
// looks along the direction with through and local off (or the index does not
// name a live face of degree 3 or more); otherwise it is marked as handled, and as
// inside the shape when its outline centroid lies inside an odd number of closed
// shape polylines. A face that is degenerate as seen along the direction (every
// edge parallel to it) is never cut; it is marked like a face the shape misses.
//
// With far given (the index of the same shape and direction), a face the projected
// shape stays far from is marked from the index alone; the outcome is the same.
bool PrepareFaceCut(MNMesh& mesh, int face, const PolyShape& shape, const CutSettings& settings,
                    FaceCutState& state, const FarShapeIndex* far = nullptr);
