// A picture of a cut: the mesh seen along the projection direction, as SVG.
#pragma once

#include <string>

#include "mnmesh.h"
#include "polyshp.h"

// Takes the result mesh, the shape's polylines in the mesh's space and the
// direction the picture looks along. Faces are shaded by how squarely they face
// the viewer (back faces darker), selected faces tinted, selected edges drawn
// bold in orange, the shape's polylines overlaid in blue. Non-finite positions
// are left out.
std::string CutPictureSvg(const MNMesh& mesh, const PolyShape& shape, const Point3& direction);
