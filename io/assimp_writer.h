// Writing poly meshes through Assimp: glTF 2.0 (.gltf, .glb), STL and 3MF.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "io/live_numbering.h"
#include "io/mesh_attributes.h"
#include "mnmesh.h"

// The files Assimp's exporter formatId ("gltf2", "glb2", "stlb", "3mf") makes of
// the live faces of mesh for a file named fileName, as (name, bytes), the main
// file first (a .gltf's buffer follows as its .bin). Faces are split into triangles
// in their own planes, none of zero area (see PolygonTriangles); one mesh per
// material, named and carrying its name from attributes (else "mtl<k + 1>"), with
// the corners' texture coordinates and normals and the vertices' colours when
// attributes has them, under a node named after the object (else "slitform"). The
// faces inside the shape go in meshes of a sibling node named "slitform_inside",
// whose meshes carry that name too. 3MF gets all faces in one mesh of the first
// face's material, as Assimp's exporter puts every mesh in one object, on the mesh's
// own vertices (it writes no texture coordinates or normals to split them for). glTF
// is Y-up by definition: a Z-up mesh (attributes' up) is stood up by the root node's
// transform, its vertices left as they are. False, with
// a one-line problem, when Assimp cannot write it.
bool AssimpFiles(const MNMesh& mesh, const LiveNumbering& numbering,
                 const MeshAttributes* attributes, const std::string& formatId,
                 const std::string& fileName,
                 std::vector<std::pair<std::string, std::string>>& files, std::string& problem);
