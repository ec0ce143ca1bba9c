#include "io/mesh_wire.h"

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>

namespace {

// Marks a whole message: a child that died while writing leaves none.
constexpr char kTrailer[] = "slitform mesh reading end";

class Writer {
public:
    void Size(std::uint64_t n) { Raw(&n, sizeof n); }

    template <class T>
    void Values(const std::vector<T>& values) {
        static_assert(std::is_trivially_copyable<T>::value, "plain values only");
        Size(values.size());
        Raw(values.data(), values.size() * sizeof(T));
    }

    void Text(const std::string& text) {
        Size(text.size());
        Raw(text.data(), text.size());
    }

    void Texts(const std::vector<std::string>& texts) {
        Size(texts.size());
        for (const std::string& text : texts) Text(text);
    }

    void Raw(const void* data, std::size_t n) { bytes.append(static_cast<const char*>(data), n); }

    std::string bytes;
};

class Reader {
public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}

    bool Size(std::uint64_t& n) { return Raw(&n, sizeof n); }

    template <class T>
    bool Values(std::vector<T>& values) {
        std::uint64_t n = 0;
        if (!Size(n) || n > Left() / sizeof(T))
            return false;
        values.resize(n);
        return Raw(values.data(), n * sizeof(T));
    }

    bool Text(std::string& text) {
        std::uint64_t n = 0;
        if (!Size(n) || n > Left())
            return false;
        text.assign(bytes_, at_, n);
        at_ += n;
        return true;
    }

    bool Texts(std::vector<std::string>& texts) {
        std::uint64_t n = 0;
        // Every text takes its size's eight bytes at least.
        if (!Size(n) || n > Left() / sizeof n)
            return false;
        texts.resize(n);
        for (std::string& text : texts)
            if (!Text(text))
                return false;
        return true;
    }

    bool Raw(void* data, std::size_t n) {
        if (n > Left())
            return false;
        if (n > 0)
            std::memcpy(data, bytes_.data() + at_, n);
        at_ += n;
        return true;
    }

    std::size_t Left() const { return bytes_.size() - at_; }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::string EncodeMeshReading(const MeshReading& reading) {
    Writer out;
    const char read = reading.read ? 1 : 0;
    out.Raw(&read, 1);
    out.Text(reading.error);
    out.Texts(reading.warnings);
    const slitform::Mesh& mesh = reading.mesh;
    out.Values(mesh.positions);
    out.Values(mesh.faceStart);
    out.Values(mesh.corners);
    out.Values(mesh.materials);
    out.Texts(mesh.materialNames);
    out.Values(mesh.uvs);
    out.Values(mesh.normals);
    out.Values(mesh.colors);
    out.Values(mesh.groups);
    out.Texts(mesh.groupNames);
    out.Text(mesh.name);
    out.Text(mesh.materialLibrary);
    out.Text(mesh.materialLibraryText);
    out.Raw(kTrailer, sizeof kTrailer);
    return std::move(out.bytes);
}

bool DecodeMeshReading(const std::string& bytes, MeshReading& reading) {
    Reader in(bytes);
    char read = 0;
    slitform::Mesh& mesh = reading.mesh;
    char trailer[sizeof kTrailer] = {};
    bool whole = in.Raw(&read, 1) && in.Text(reading.error) && in.Texts(reading.warnings) &&
                 in.Values(mesh.positions) && in.Values(mesh.faceStart) &&
                 in.Values(mesh.corners) && in.Values(mesh.materials) &&
                 in.Texts(mesh.materialNames) && in.Values(mesh.uvs) && in.Values(mesh.normals) &&
                 in.Values(mesh.colors) && in.Values(mesh.groups) && in.Texts(mesh.groupNames) &&
                 in.Text(mesh.name) && in.Text(mesh.materialLibrary) &&
                 in.Text(mesh.materialLibraryText) && in.Raw(trailer, sizeof trailer) &&
                 in.Left() == 0 && std::memcmp(trailer, kTrailer, sizeof kTrailer) == 0;
    reading.read = read == 1;
    return whole;
}
