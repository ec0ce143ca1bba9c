// Writing poly meshes as Wavefront OBJ.
#pragma once

#include <string>

#include "io/live_numbering.h"
#include "io/mesh_attributes.h"
#include "mnmesh.h"

// The OBJ file content for the live components of mesh, numbered by numbering:
// "mtllib library" (when not empty), "o" from attributes (when named), one "v" line per
// vertex (with its colour when attributes has colours), the distinct "vt" and
// "vn" values of the face corners, and one "f" line per face (n-gons kept), with
// a "usemtl" line wherever the material changes: its name in attributes, else
// ObjMaterialName. Faces
// inside the shape go in group "slitform_inside", the others in their own group
// (when attributes has groups); with cutLines the edges on the shape's lines
// follow as "l" elements in group "slitform_cut_lines". Flags and smoothing
// groups are not written.
std::string ObjText(const MNMesh& mesh, const LiveNumbering& numbering,
                    const MeshAttributes* attributes = nullptr, bool cutLines = false,
                    const std::string& library = std::string());

// The name an OBJ file gives material ID id: its name in attributes, else
// "mtl<id + 1>", as the host counts IDs from 1 in its interface.
std::string ObjMaterialName(const MeshAttributes* attributes, MtlID id);

// The material names the live faces use, each once, in order of first use.
std::vector<std::string> ObjMaterialNames(const MNMesh& mesh, const LiveNumbering& numbering,
                                          const MeshAttributes* attributes);
