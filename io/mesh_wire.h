// A read mesh as one byte string and back: how a reader in a child process hands its
// result to this one.
#pragma once

#include <string>
#include <vector>

#include "slitform/mesh.h"

// What a mesh reader gives: whether it read the file, the mesh, its warnings and
// its error.
struct MeshReading {
    bool read = false;
    slitform::Mesh mesh;
    std::vector<std::string> warnings;
    std::string error;
};

// The reading as bytes, in this machine's byte order, ending in a fixed trailer.
std::string EncodeMeshReading(const MeshReading& reading);

// Takes bytes from EncodeMeshReading. False when they were cut short, are longer or
// do not hold what it wrote (reading is then unspecified).
bool DecodeMeshReading(const std::string& bytes, MeshReading& reading);
