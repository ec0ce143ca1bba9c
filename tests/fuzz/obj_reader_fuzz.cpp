// The OBJ reader on arbitrary bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "io/obj_reader.h"
#include "reader_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = "fuzz.obj";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    slitform::Mesh mesh;
    MeshFlags flags;
    std::vector<std::string> warnings;
    std::string error;
    const bool ok = ReadObjMesh(path, bytes, mesh, flags, &warnings, error);
    CheckMeshRead(path, ok, error, mesh, flags, warnings);
    return 0;
}
