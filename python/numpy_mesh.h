// Meshes between NumPy arrays and the library's plain mesh.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "slitform/mesh.h"
#include "slitform/outcome.h"

namespace slitform {

// Takes vertices ((n, 3) numbers), faces (an (m, k) integer array or a sequence of
// integer sequences) and materials (None or m integers); throws Error for a wrong
// shape or type. Values (finite, in range) are checked by the cut.
Mesh MeshFromPython(const pybind11::handle& vertices, const pybind11::handle& faces,
                    const pybind11::handle& materials);

// The mesh as a namespace of vertices, faces and materials arrays; with an outcome,
// its selections and report too.
pybind11::object MeshToPython(const Mesh& mesh);
pybind11::object OutcomeToPython(const Outcome& outcome);

}  // namespace slitform
