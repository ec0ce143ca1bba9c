#include "io/read_mesh.h"

#include <utility>

#include "io/assimp_reader.h"
#include "io/atomic_write.h"
#include "io/build_mnmesh.h"
#include "io/file_bytes.h"
#include "io/folder_io_system.h"
#include "io/gltf_check.h"
#include "io/obj_reader.h"
#include "io/off_reader.h"
#include "io/ply_reader.h"
#include "io/read_in_child_process.h"

namespace {

bool ReadThroughAssimp(const std::string& extension) {
    return extension == "gltf" || extension == "glb" || extension == "stl" || extension == "3mf" ||
           extension == "fbx";
}

}  // namespace

bool ReadMeshFile(const std::string& path, slitform::Mesh& mesh, MeshFlags& flags,
                  std::vector<std::string>* warnings, std::string& error) {
    std::string extension = LowerCaseExtension(path);
    if (extension != "ply" && extension != "obj" && extension != "off" &&
        !ReadThroughAssimp(extension)) {
        error = path +
                ": unknown mesh format (the name must end in .ply, .obj, .gltf, .glb, .stl, .off, "
                ".3mf or .fbx)";
        return false;
    }
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error))
        return false;
    flags = MeshFlags();
    if (extension == "ply")
        return ReadPlyMesh(path, bytes, mesh, flags, warnings, error);
    if (extension == "obj")
        return ReadObjMesh(path, bytes, mesh, flags, warnings, error);
    if (extension == "off")
        return ReadOffMesh(path, bytes, mesh, warnings, error);
    auto load = [&](const std::string& uri, std::string& data) {
        return ReadReferencedFile(FileBehindLinks(path), bytes, uri, data);
    };
    if ((extension == "gltf" || extension == "glb") &&
        !CheckGltf(bytes, extension == "glb", load, error)) {
        error = path + ": " + error;
        return false;
    }
    // Assimp is built with its assertions on and recurses without bound: its failures
    // must not end this process.
    MeshReading reading;
    auto read = [&](MeshReading& child) {
        child.read = ReadAssimpMesh(path, bytes, child.mesh, &child.warnings, child.error);
    };
    if (!ReadInChildProcess(path, bytes.size(), read, reading, error))
        return false;
    if (warnings)
        warnings->insert(warnings->end(), reading.warnings.begin(), reading.warnings.end());
    if (!reading.read) {
        error = reading.error;
        return false;
    }
    mesh = std::move(reading.mesh);
    if (extension == "gltf" || extension == "glb")
        mesh.up = slitform::UpAxis::Y;
    return true;
}

bool ReadMesh(const std::string& path, MNMesh& out, std::string& error,
              std::vector<std::string>* warnings, MeshAttributes* attributes) {
    slitform::Mesh mesh;
    MeshFlags flags;
    std::vector<std::string> found;
    if (!ReadMeshFile(path, mesh, flags, &found, error))
        return false;
    BuildMNMesh(path, mesh, &flags, out, &found, attributes);
    if (warnings)
        warnings->insert(warnings->end(), found.begin(), found.end());
    return true;
}
