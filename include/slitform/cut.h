// Cutting a mesh along a shape with the Slitform modifier.
#pragma once

#include "slitform/error.h"
#include "slitform/mesh.h"
#include "slitform/outcome.h"
#include "slitform/parameters.h"
#include "slitform/progress.h"
#include "slitform/shape.h"

namespace slitform {

// Takes a mesh, a shape, parameters and an optional progress listener; gives the
// cut mesh with its selections and report. Throws Error for a bad mesh or shape
// (non-finite coordinates, indices out of range, faces the mesh refuses, no face
// or no point), a bad parameter, a plug-in that cannot be loaded, a failed
// evaluation or a cancel. Safe to call from several threads at once.
Outcome Cut(const Mesh& mesh, const Shape& shape, const Parameters& parameters = Parameters(),
            Progress* progress = nullptr);

}  // namespace slitform
