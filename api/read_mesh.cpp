#include "slitform/read_mesh.h"

#include "io/build_mnmesh.h"
#include "io/read_mesh.h"
#include "slitform/error.h"

namespace slitform {

Mesh ReadMesh(const std::string& path) {
    Mesh mesh;
    MeshFlags flags;
    std::string error;
    std::vector<std::string> refused;
    if (!ReadMeshFile(path, mesh, flags, &refused, error))
        throw Error(ErrorCode::UnreadableFile, error);
    // Built once to find what the poly mesh would refuse; the value stays as read.
    MNMesh poly;
    BuildMNMesh(path, mesh, nullptr, poly, &refused);
    if (!refused.empty())
        throw Error(ErrorCode::UnreadableFile, refused.front());
    return mesh;
}

}  // namespace slitform
