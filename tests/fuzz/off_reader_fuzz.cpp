// The OFF reader on arbitrary bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "io/off_reader.h"
#include "reader_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = "fuzz.off";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    slitform::Mesh mesh;
    std::vector<std::string> warnings;
    std::string error;
    const bool ok = ReadOffMesh(path, bytes, mesh, &warnings, error);
    CheckMeshRead(path, ok, error, mesh, MeshFlags(), warnings);
    return 0;
}
