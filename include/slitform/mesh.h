// A polygon mesh as flat arrays: what every reader gives, a cut takes and gives back,
// and every writer takes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "slitform/up_axis.h"

namespace slitform {

using Vec3 = std::array<float, 3>;

struct Mesh {
    // Vertex positions, single precision as the host's poly mesh holds them.
    std::vector<Vec3> positions;
    // Face f's corners are corners[faceStart[f]] up to corners[faceStart[f + 1]], as
    // indices into positions, counter-clockwise seen from outside; at least 3 and none
    // repeated. faceStart has one entry more than there are faces and starts at 0.
    std::vector<std::uint32_t> faceStart{0};
    std::vector<std::int32_t> corners;
    // One material ID per face, from 0; empty means 0 for every face. materialNames
    // names them by ID (an ID past its end, or an empty name, has none).
    std::vector<std::uint16_t> materials;
    std::vector<std::string> materialNames;
    // Optional, one per corner in the order of corners, or empty for none: texture
    // coordinates (u, v, w) and normals. A cut gives a new corner the value interpolated
    // at its place in the face it came from.
    std::vector<Vec3> uvs;
    std::vector<Vec3> normals;
    // Optional, one per vertex: red, green, blue in 0..1.
    std::vector<Vec3> colors;
    // Optional, one per face: an index into groupNames, or -1 for none.
    std::vector<std::int32_t> groups;
    std::vector<std::string> groupNames;
    std::string name;             // the object's name; empty: none
    std::string materialLibrary;  // an OBJ file's "mtllib"; empty: none
    // That library's text, its texture files as absolute paths; written beside an OBJ
    // result. Empty: none.
    std::string materialLibraryText;
    // The folder whose images a glTF result may embed as the materials' textures: the
    // OBJ's own, symlinks resolved. Empty: none is read.
    std::string textureFolder;
    // The axis the positions treat as up: Y as glTF defines it, Z for the other
    // formats (or as the user says). A glTF result of a Z-up mesh is turned to
    // glTF's Y up by its root node, so that it stands as it did.
    UpAxis up = UpAxis::Z;

    std::size_t FaceCount() const { return faceStart.empty() ? 0 : faceStart.size() - 1; }
    std::size_t FaceDegree(std::size_t f) const { return faceStart[f + 1] - faceStart[f]; }
    // Appends a face with the given corners (material 0, no group).
    void AddFace(const std::vector<std::int32_t>& faceCorners) {
        corners.insert(corners.end(), faceCorners.begin(), faceCorners.end());
        faceStart.push_back(static_cast<std::uint32_t>(corners.size()));
    }
};

}  // namespace slitform
