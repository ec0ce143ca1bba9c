// The library's flat mesh in Python: the slitform.Mesh class, whose arrays are views of
// the mesh's own storage, and the result of a cut.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "slitform/mesh.h"
#include "slitform/outcome.h"

namespace slitform {

// Registers slitform.Mesh in module m.
void BindMesh(pybind11::module_& m);

// "y" or "z" as an axis; throws Error for anything else.
UpAxis UpAxisOf(const std::string& up);

// Takes vertices ((n, 3) numbers), faces (an (m, k) integer array, a sequence of integer
// sequences, or an (offsets, indices) pair) and materials (None or m integers); throws
// Error (bad input) for a wrong shape or type. Values (finite, in range) are checked by
// the cut.
Mesh MeshFromArrays(const pybind11::handle& vertices, const pybind11::handle& faces,
                    const pybind11::handle& materials);

// Integers (any shape, read in order) as indices; throws Error (bad input) naming what
// for values that are not integers (1.7 is not rounded) or do not fit an index.
std::vector<int> IndicesFromPython(const pybind11::handle& values, const std::string& what);

// The result of a cut as a namespace: mesh (a slitform.Mesh), its vertices, faces and
// materials, the selections and the report.
pybind11::object OutcomeToPython(Outcome&& outcome);

}  // namespace slitform
