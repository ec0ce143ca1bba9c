// The file access Assimp gets while it reads one mesh file.
#pragma once

#include <assimp/IOSystem.hpp>
#include <string>

// Serves the mesh file itself from bytes already read (so that it is read once, and a
// FIFO or device never reaches Assimp), and every file the mesh refers to (glTF
// buffers, images) only when it is a regular file inside the mesh file's own folder
// once symlinks are resolved. A refused or unreadable file leaves a one-line reason,
// naming it as the mesh file wrote it, in Refusal(). Read-only: nothing is written.
class FolderIOSystem : public Assimp::IOSystem {
public:
    FolderIOSystem(const std::string& path, const std::string& bytes);

    bool Exists(const char* file) const override;
    char getOsSeparator() const override { return '/'; }
    Assimp::IOStream* Open(const char* file, const char* mode) override;
    void Close(Assimp::IOStream* stream) override;

    // Empty unless a file was refused or could not be read.
    const std::string& Refusal() const { return refusal; }

private:
    bool Allowed(const std::string& file) const;

    std::string path;
    const std::string& bytes;
    std::string folder;  // the mesh file's folder, symlinks resolved, ending in '/'
    mutable std::string refusal;
};

// Reads the file that the mesh file at path (whose bytes are given) names by uri,
// relative to its folder, by the rules above. False when it is refused or cannot be
// read.
bool ReadReferencedFile(const std::string& path, const std::string& bytes, const std::string& uri,
                        std::string& data);
