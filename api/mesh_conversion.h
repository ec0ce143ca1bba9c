// Between the library's flat mesh and the host's poly mesh with its attributes.
#pragma once

#include "io/mesh_attributes.h"
#include "mnmesh.h"
#include "slitform/mesh.h"
#include "slitform/outcome.h"

namespace slitform {

// Takes a flat mesh and gives the poly mesh, and with attributes given its attributes
// per poly face for the session; throws Error (bad input) for face offsets that do not
// fit the corners, a coordinate that is not finite, an index out of range, a material
// out of range, a face the poly mesh refuses, or (with attributes) an attribute whose
// count does not match the corners, vertices or faces, a value that is not finite or a
// group without a name, naming the first one.
MNMesh ToPolyMesh(const Mesh& mesh, MeshAttributes* attributes = nullptr);

// Takes a poly mesh and its attributes and gives the flat mesh of its live components,
// renumbered in order, with outcome's selections from the cut's flags when outcome is
// given; throws Error (cut failed) when the mesh cannot be numbered.
Mesh FromPolyMesh(const MNMesh& mesh, const MeshAttributes& attributes, Outcome* outcome = nullptr);

}  // namespace slitform
