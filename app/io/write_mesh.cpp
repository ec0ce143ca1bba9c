#include "app/io/write_mesh.h"

#include "app/io/atomic_write.h"
#include "app/io/file_bytes.h"
#include "app/io/live_numbering.h"
#include "app/io/obj_writer.h"
#include "app/io/ply_writer.h"

namespace {

bool KnownExtension(const std::string& path, std::string& error) {
    std::string extension = LowerCaseExtension(path);
    if (extension != "ply" && extension != "obj") {
        error = path + ": unknown mesh format (the name must end in .ply or .obj)";
        return false;
    }
    return true;
}

}  // namespace

bool CheckMeshPath(const std::string& path, std::string& error) {
    return KnownExtension(path, error) && CheckWritablePath(path, error);
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
    std::string bytes = LowerCaseExtension(path) == "ply"
                            ? PlyBytes(mesh, numbering, options.plyEncoding)
                            : ObjText(mesh, numbering, options.attributes, options.cutLines);
    return WriteFileAtomically(path, bytes, error);
}
