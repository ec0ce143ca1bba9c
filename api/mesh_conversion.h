// Between the library's plain mesh and the host's poly mesh.
#pragma once

#include "io/mesh_attributes.h"
#include "mnmesh.h"
#include "slitform/mesh.h"
#include "slitform/outcome.h"

namespace slitform {

// Takes a plain mesh and gives the poly mesh; throws Error for a coordinate that
// is not finite or does not fit a float, an index out of range, a material out of
// range, or a face the mesh refuses, naming the first one.
MNMesh ToPolyMesh(const Mesh& mesh);

// Takes a plain mesh and gives its texture coordinates and normals per face corner
// for the session; throws Error when their counts do not match the faces' corners,
// or a value is not finite.
MeshAttributes ToAttributes(const Mesh& mesh);

// Takes a cut's poly mesh and fills outcome's mesh and selections from its live
// components, renumbered in order; throws Error when the mesh cannot be numbered.
void FillFromPolyMesh(const MNMesh& mesh, const MeshAttributes& attributes, Outcome& outcome);

}  // namespace slitform
