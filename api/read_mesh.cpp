#include "slitform/read_mesh.h"

#include "api/mesh_conversion.h"
#include "io/read_mesh.h"
#include "slitform/error.h"

namespace slitform {

Mesh ReadMesh(const std::string& path) {
    MNMesh poly;
    std::string error;
    std::vector<std::string> refused;
    MeshAttributes attributes;
    if (!::ReadMesh(path, poly, error, &refused, &attributes))
        throw Error(ErrorCode::UnreadableFile, error);
    if (!refused.empty())
        throw Error(ErrorCode::UnreadableFile, refused.front());
    return FromPolyMesh(poly, attributes);
}

}  // namespace slitform
