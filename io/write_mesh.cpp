#include "io/write_mesh.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "io/assimp_writer.h"
#include "io/atomic_write.h"
#include "io/file_bytes.h"
#include "io/live_numbering.h"
#include "io/material_library.h"
#include "io/obj_writer.h"
#include "io/off_writer.h"
#include "io/ply_writer.h"

namespace {

// Assimp's exporter for an extension, or empty.
std::string AssimpFormat(const std::string& extension) {
    if (extension == "gltf")
        return "gltf2";
    if (extension == "glb")
        return "glb2";
    if (extension == "stl")
        return "stlb";
    if (extension == "3mf")
        return "3mf";
    return std::string();
}

bool KnownExtension(const std::string& path, std::string& error) {
    std::string extension = LowerCaseExtension(path);
    if (extension != "ply" && extension != "obj" && extension != "off" &&
        AssimpFormat(extension).empty()) {
        error = path +
                ": unknown mesh format (the name must end in .ply, .obj, .off, .gltf, .glb, .stl "
                "or .3mf)";
        return false;
    }
    return true;
}

}  // namespace

bool CheckMeshPath(const std::string& path, std::string& error) {
    if (!KnownExtension(path, error) || !CheckWritablePath(path, error))
        return false;
    if (LowerCaseExtension(path) != "obj")
        return true;
    const std::filesystem::path target(FileBehindLinks(path));
    return CheckWritablePath((target.parent_path() / MaterialLibraryName(path)).string(), error);
}

bool WriteMesh(const std::string& path, const MNMesh& mesh, std::string& error,
               PlyEncoding plyEncoding) {
    MeshWriteOptions options;
    options.plyEncoding = plyEncoding;
    return WriteMesh(path, mesh, options, error);
}

bool WriteMesh(const std::string& path, const MNMesh& mesh, const MeshWriteOptions& options,
               std::string& error) {
    if (!KnownExtension(path, error))
        return false;
    LiveNumbering numbering;
    std::string problem;
    if (!NumberLiveComponents(mesh, numbering, problem)) {
        error = path + ": cannot write the mesh: " + problem;
        return false;
    }
    std::string extension = LowerCaseExtension(path);
    if (extension == "ply")
        return WriteFileAtomically(path, PlyBytes(mesh, numbering, options.plyEncoding), error);
    if (extension == "obj") {
        // The materials beside it, named after it, written first so that the OBJ
        // never names a library that is not there.
        const std::string library = MaterialLibraryName(path);
        const std::filesystem::path target(FileBehindLinks(path));
        const std::string libraryText = MaterialLibraryText(
            options.attributes ? options.attributes->materialLibraryText : std::string(),
            ObjMaterialNames(mesh, numbering, options.attributes), target.parent_path().string());
        return WriteFileAtomically((target.parent_path() / library).string(), libraryText, error) &&
               WriteFileAtomically(
                   path, ObjText(mesh, numbering, options.attributes, options.cutLines, library),
                   error);
    }
    if (extension == "off")
        return WriteFileAtomically(path, OffText(mesh, numbering), error);
    // A .gltf's buffer goes beside the file itself, not beside a link to it.
    std::filesystem::path target(FileBehindLinks(path));
    std::vector<std::pair<std::string, std::string>> files;
    if (!AssimpFiles(mesh, numbering, options.attributes, AssimpFormat(extension),
                     target.filename().string(), files, problem)) {
        error = path + ": cannot write the mesh: " + problem;
        return false;
    }
    // The files the main one refers to go first, so that it never points at none.
    for (std::size_t i = files.size(); i-- > 0;) {
        std::string name = i == 0 ? path : (target.parent_path() / files[i].first).string();
        if (!WriteFileAtomically(name, files[i].second, error))
            return false;
    }
    return true;
}

PlyEncoding DefaultPlyEncoding(long long faces) {
    return faces >= 100000 ? PlyEncoding::BinaryLittleEndian : PlyEncoding::Ascii;
}
