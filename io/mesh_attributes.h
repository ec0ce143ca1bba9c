// What a mesh carries besides its geometry and flags, kept beside the host's poly
// mesh: names, texture coordinates and normals per face corner (so that seams
// stay seams), colours per vertex.
#pragma once

#include <string>
#include <vector>

#include "maxtypes.h"
#include "point3.h"
#include "slitform/up_axis.h"

struct MeshAttributes {
    std::string objectName;                     // empty: none
    std::string materialLibrary;                // the OBJ "mtllib" file, empty: none
    std::string materialLibraryText;            // its text (see slitform::Mesh), empty: none
    std::string textureFolder;                  // see slitform::Mesh
    slitform::UpAxis up = slitform::UpAxis::Z;  // see slitform::Mesh
    std::vector<std::string> materialNames;     // by material ID; empty or missing: no name
    // Per face of the poly mesh (dead ones too), one value per corner; empty when
    // the mesh has none. A texture coordinate is (u, v, w).
    std::vector<std::vector<Point3>> uv;
    std::vector<std::vector<Point3>> normal;
    std::vector<Point3> color;  // per vertex, red, green, blue in 0..1; empty: none
    // The OBJ "g" groups: per face of the poly mesh an index in groupNames, or -1;
    // empty when the mesh has none.
    std::vector<std::string> groupNames;
    std::vector<int> faceGroup;

    bool HasUV() const { return !uv.empty(); }
    bool HasNormals() const { return !normal.empty(); }
    bool HasColors() const { return !color.empty(); }
    // The name of material ID id, or empty.
    std::string MaterialName(MtlID id) const {
        return id < materialNames.size() ? materialNames[id] : std::string();
    }
};
