// Reading meshes through Assimp: glTF 2.0 (.gltf, .glb), STL, 3MF and FBX.
#pragma once

#include <string>
#include <vector>

#include "slitform/mesh.h"

// Reads the file at path, whose bytes are given, into data: every mesh of the scene, placed by its
// nodes' transforms, joined into one. Corners at the same position share a vertex (the files split
// vertices where a texture or normal changes), so that faces meet at their edges; texture
// coordinates (channel 0) and normals stay per corner, colours (channel 0) per vertex, the scene's
// materials become material IDs with their names, the first mesh's node names the object. Points
// and lines are skipped (with a warning). Files the mesh refers to are read only from its own
// folder. False, with a one-line error naming path, when Assimp cannot read the file,
// a referenced file is refused, or a coordinate is not a finite single-precision number.
bool ReadAssimpMesh(const std::string& path, const std::string& bytes, slitform::Mesh& data,
                    std::vector<std::string>* warnings, std::string& error);
