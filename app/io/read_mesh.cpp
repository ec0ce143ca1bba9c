#include "app/io/read_mesh.h"

#include "app/io/build_mnmesh.h"
#include "app/io/file_bytes.h"
#include "app/io/obj_reader.h"
#include "app/io/ply_reader.h"

bool ReadMesh(const std::string& path, MNMesh& out, std::string& error,
              std::vector<std::string>* warnings, MeshAttributes* attributes) {
    std::string extension = LowerCaseExtension(path);
    if (extension != "ply" && extension != "obj") {
        error = path + ": unknown mesh format (the name must end in .ply or .obj)";
        return false;
    }
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error))
        return false;
    MeshData data;
    std::vector<std::string> found;
    bool ok = extension == "ply" ? ReadPlyMesh(path, bytes, data, &found, error)
                                 : ReadObjMesh(path, bytes, data, &found, error);
    if (!ok)
        return false;
    BuildMNMesh(path, data, out, &found, attributes);
    if (warnings)
        warnings->insert(warnings->end(), found.begin(), found.end());
    return true;
}
