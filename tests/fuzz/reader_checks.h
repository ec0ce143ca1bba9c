// What every reader target checks after one read: a failure is one line naming
// the file, a mesh read builds a consistent mesh, a shape read gives finite points.
#pragma once

#include <string>
#include <vector>

#include "io/mesh_flags.h"
#include "slitform/mesh.h"
#include "splshape.h"

void CheckMeshRead(const std::string& path, bool ok, const std::string& error,
                   const slitform::Mesh& mesh, const MeshFlags& flags,
                   std::vector<std::string> warnings);

void CheckShapeRead(const std::string& path, bool ok, const std::string& error,
                    const std::vector<Spline3D>& splines);
