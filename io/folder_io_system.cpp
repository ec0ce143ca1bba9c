#include "io/folder_io_system.h"

#include <algorithm>
#include <assimp/IOStream.hpp>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "io/file_bytes.h"
#include "io/one_line_text.h"

namespace {

// A read-only stream over bytes: the mesh file's, kept by the reader, or a referenced
// file's, owned. Reads of nothing read nothing.
class BytesStream : public Assimp::IOStream {
public:
    explicit BytesStream(const std::string& view) : begin(view.data()), size(view.size()) {}
    explicit BytesStream(std::string&& data)
        : owned(std::move(data)), begin(owned.data()), size(owned.size()) {}
    size_t Read(void* buffer, size_t item, size_t count) override {
        if (item == 0 || count == 0)
            return 0;
        size_t whole = std::min(count, (size - at) / item);
        std::memcpy(buffer, begin + at, whole * item);
        at += whole * item;
        return whole;
    }
    size_t Write(const void*, size_t, size_t) override { return 0; }
    aiReturn Seek(size_t offset, aiOrigin origin) override {
        // From the end, Assimp counts the offset backwards.
        if (origin == aiOrigin_END) {
            if (offset > size)
                return AI_FAILURE;
            at = size - offset;
            return AI_SUCCESS;
        }
        size_t base = origin == aiOrigin_CUR ? at : 0;
        if (offset > size - base)
            return AI_FAILURE;
        at = base + offset;
        return AI_SUCCESS;
    }
    size_t Tell() const override { return at; }
    size_t FileSize() const override { return size; }
    void Flush() override {}

private:
    std::string owned;
    const char* begin;
    size_t size;
    size_t at = 0;
};

// The path with symlinks resolved; empty when it does not exist.
std::string Resolved(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace

FolderIOSystem::FolderIOSystem(const std::string& path, const std::string& bytes)
    : path(path), bytes(bytes) {
    folder = Resolved(FolderOf(path));
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
}

bool FolderIOSystem::Allowed(const std::string& file) const {
    // Named as the mesh file wrote it: the importers join its folder and the reference.
    std::string named = file;
    std::string given = FolderOf(path);
    if (given != "." && named.compare(0, given.size(), given) == 0)
        named = named.substr(given.size());
    named = "\"" + OneLine(named, 200) + "\"";
    std::string resolved = Resolved(file);
    if (resolved.empty()) {
        refusal = "refers to " + named + ", which does not exist";
        return false;
    }
    if (folder.empty() || resolved.compare(0, folder.size(), folder) != 0) {
        refusal = "refers to " + named + ", which is outside the file's folder";
        return false;
    }
    return true;
}

bool FolderIOSystem::Exists(const char* file) const {
    return file == path || Allowed(file);
}

Assimp::IOStream* FolderIOSystem::Open(const char* file, const char* mode) {
    if (std::strchr(mode, 'w') || std::strchr(mode, 'a') || std::strchr(mode, '+'))
        return nullptr;
    if (file == path)
        return new BytesStream(bytes);
    if (!Allowed(file))
        return nullptr;
    std::string data, error;
    if (!ReadFileBytes(file, data, error)) {
        refusal = "refers to a file that cannot be read: " + OneLine(error, 300);
        return nullptr;
    }
    return new BytesStream(std::move(data));
}

void FolderIOSystem::Close(Assimp::IOStream* stream) {
    delete stream;
}

bool ReadReferencedFile(const std::string& path, const std::string& bytes, const std::string& uri,
                        std::string& data) {
    FolderIOSystem files(path, bytes);
    const std::string folder = FolderOf(path);
    Assimp::IOStream* stream = files.Open(((folder == "." ? "" : folder) + uri).c_str(), "rb");
    if (!stream)
        return false;
    data.resize(stream->FileSize());
    const bool read = data.empty() || stream->Read(&data[0], 1, data.size()) == data.size();
    files.Close(stream);
    return read;
}
