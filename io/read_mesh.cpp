#include "io/read_mesh.h"

#include "io/assimp_reader.h"
#include "io/build_mnmesh.h"
#include "io/file_bytes.h"
#include "io/obj_reader.h"
#include "io/ply_reader.h"

namespace {

bool ReadThroughAssimp(const std::string& extension) {
    return extension == "gltf" || extension == "glb" || extension == "stl" || extension == "off" ||
           extension == "3mf" || extension == "fbx";
}

}  // namespace

bool ReadMesh(const std::string& path, MNMesh& out, std::string& error,
              std::vector<std::string>* warnings, MeshAttributes* attributes) {
    std::string extension = LowerCaseExtension(path);
    if (extension != "ply" && extension != "obj" && !ReadThroughAssimp(extension)) {
        error = path +
                ": unknown mesh format (the name must end in .ply, .obj, .gltf, .glb, .stl, .off, "
                ".3mf or .fbx)";
        return false;
    }
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error))
        return false;
    MeshData data;
    std::vector<std::string> found;
    bool ok = extension == "ply"   ? ReadPlyMesh(path, bytes, data, &found, error)
              : extension == "obj" ? ReadObjMesh(path, bytes, data, &found, error)
                                   : ReadAssimpMesh(path, bytes, data, &found, error);
    if (!ok)
        return false;
    BuildMNMesh(path, data, out, &found, attributes);
    if (warnings)
        warnings->insert(warnings->end(), found.begin(), found.end());
    return true;
}
