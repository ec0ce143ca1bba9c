#include "io/gltf_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "io/json_member_check.h"
#include "io/one_line_text.h"

namespace {

// Whole numbers a double holds exactly; offsets and lengths beyond are refused.
constexpr double kLargestWhole = 9007199254740992.0;  // 2^53
constexpr std::uint32_t kGlbMagic = 0x46546C67;       // "glTF"
constexpr std::uint32_t kJsonChunk = 0x4E4F534A;      // "JSON"
constexpr std::uint32_t kBinChunk = 0x004E4942;       // "BIN\0"

std::uint32_t Word(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    return value;
}

// A whole number from low up to 2^53, or the fallback when absent.
bool Whole(const QJsonObject& object, const char* key, double low, double fallback, double& value) {
    const QJsonValue v = object.value(QLatin1String(key));
    if (v.isUndefined()) {
        value = fallback;
        return true;
    }
    value = v.toDouble(-1.0);
    return v.isDouble() && std::floor(value) == value && value >= low && value <= kLargestWhole;
}

int Components(const QString& type) {
    if (type == "SCALAR")
        return 1;
    if (type == "VEC2")
        return 2;
    if (type == "VEC3")
        return 3;
    if (type == "VEC4" || type == "MAT2")
        return 4;
    if (type == "MAT3")
        return 9;
    if (type == "MAT4")
        return 16;
    return 0;
}

int ComponentSize(int componentType) {
    switch (componentType) {
        case 5120:  // byte
        case 5121:  // unsigned byte
            return 1;
        case 5122:  // short
        case 5123:  // unsigned short
            return 2;
        case 5125:  // unsigned int
        case 5126:  // float
            return 4;
        default:
            return 0;
    }
}

struct Accessor {
    QString type;
    int componentType = 0;
    int view = -1;  // none: all zeros
    double offset = 0.0, count = 0.0;
};

struct View {
    int buffer = 0;
    double offset = 0.0, length = 0.0, stride = 0.0;
};

class GltfChecker {
public:
    GltfChecker(const QJsonObject& root, const std::string* bin,
                const std::function<bool(const std::string&, std::string&)>& load)
        : root_(root), bin_(bin), load_(load) {}

    bool Check(std::string& problem) {
        // Extensions that change only how the surface looks leave the geometry as it
        // reads; any other one a reader must know, and ours do not.
        for (const QJsonValue& name : root_.value("extensionsRequired").toArray()) {
            const QString extension = name.toString();
            if (extension.startsWith("KHR_materials_") || extension.startsWith("KHR_texture_") ||
                extension == "KHR_lights_punctual")
                continue;
            problem = "needs the extension \"" + OneLine(extension.toStdString(), 60) +
                      "\", which is not supported";
            return false;
        }
        return Buffers(problem) && Views(problem) && Accessors(problem) && Meshes(problem) &&
               Nodes(problem) && Indices(problem);
    }

private:
    bool Fail(const std::string& item, int index, const std::string& what, std::string& problem) {
        problem = item + " " + std::to_string(index) + ": " + what;
        return false;
    }

    bool Buffers(std::string& problem) {
        const QJsonArray buffers = root_.value("buffers").toArray();
        for (int b = 0; b < buffers.size(); ++b) {
            const QJsonObject buffer = buffers.at(b).toObject();
            double length = 0.0;
            if (!Whole(buffer, "byteLength", 1.0, -1.0, length) || length < 1.0)
                return Fail("buffer", b, "byteLength must be a whole number of 1 or more", problem);
            // A GLB's first buffer without a URI is its binary chunk.
            if (b == 0 && !buffer.contains("uri") && bin_ &&
                length > static_cast<double>(bin_->size()))
                return Fail("buffer", b, "is longer than the file's binary chunk", problem);
            bufferLengths_.push_back(length);
            bufferUris_.push_back(buffer.value("uri").toString().toStdString());
        }
        return true;
    }

    bool Views(std::string& problem) {
        const QJsonArray views = root_.value("bufferViews").toArray();
        for (int v = 0; v < views.size(); ++v) {
            const QJsonObject view = views.at(v).toObject();
            double buffer = 0.0, offset = 0.0, length = 0.0, stride = 0.0;
            if (!Whole(view, "buffer", 0.0, -1.0, buffer) || buffer < 0.0 ||
                buffer >= static_cast<double>(bufferLengths_.size()))
                return Fail("bufferView", v, "names no buffer", problem);
            if (!Whole(view, "byteOffset", 0.0, 0.0, offset) ||
                !Whole(view, "byteLength", 1.0, -1.0, length) || length < 1.0)
                return Fail("bufferView", v, "byteOffset or byteLength is not a whole number",
                            problem);
            if (offset + length > bufferLengths_[static_cast<std::size_t>(buffer)])
                return Fail("bufferView", v, "reaches past the end of its buffer", problem);
            if (view.contains("byteStride") && (!Whole(view, "byteStride", 4.0, 0.0, stride) ||
                                                stride > 252.0 || std::fmod(stride, 4.0) != 0))
                return Fail("bufferView", v, "byteStride must be 4 to 252, a multiple of 4",
                            problem);
            views_.push_back({static_cast<int>(buffer), offset, length, stride});
        }
        return true;
    }

    bool Accessors(std::string& problem) {
        const QJsonArray accessors = root_.value("accessors").toArray();
        for (int a = 0; a < accessors.size(); ++a) {
            const QJsonObject accessor = accessors.at(a).toObject();
            Accessor read;
            read.type = accessor.value("type").toString();
            double componentType = 0.0, count = 0.0, offset = 0.0, view = 0.0;
            Whole(accessor, "componentType", 0.0, 0.0, componentType);
            read.componentType = static_cast<int>(componentType);
            const int components = Components(read.type);
            const int size = ComponentSize(read.componentType);
            if (components == 0)
                return Fail("accessor", a, "has no element type the format defines", problem);
            if (size == 0)
                return Fail("accessor", a, "has no component type the format defines", problem);
            if (!Whole(accessor, "count", 1.0, -1.0, count) || count < 1.0)
                return Fail("accessor", a, "count must be a whole number of 1 or more", problem);
            if (!Whole(accessor, "byteOffset", 0.0, 0.0, offset) || std::fmod(offset, size) != 0)
                return Fail("accessor", a, "byteOffset must be a whole multiple of its component",
                            problem);
            if (accessor.contains("bufferView")) {
                if (!Whole(accessor, "bufferView", 0.0, -1.0, view) || view < 0.0 ||
                    view >= static_cast<double>(views_.size()))
                    return Fail("accessor", a, "names no bufferView", problem);
                const std::size_t v = static_cast<std::size_t>(view);
                const double element = static_cast<double>(components) * size;
                const double stride = views_[v].stride > 0.0 ? views_[v].stride : element;
                if (stride < element)
                    return Fail("accessor", a, "its elements overlap (byteStride too small)",
                                problem);
                if (offset + stride * (count - 1.0) + element > views_[v].length)
                    return Fail("accessor", a, "reaches past the end of its bufferView", problem);
                read.view = static_cast<int>(v);
            }
            read.offset = offset;
            read.count = count;
            accessors_.push_back(read);
        }
        return true;
    }

    bool Meshes(std::string& problem) {
        const QJsonArray meshes = root_.value("meshes").toArray();
        for (int m = 0; m < meshes.size(); ++m) {
            const QJsonArray primitives = meshes.at(m).toObject().value("primitives").toArray();
            for (int p = 0; p < primitives.size(); ++p) {
                const QJsonObject primitive = primitives.at(p).toObject();
                const std::string item = "mesh " + std::to_string(m) + " primitive";
                double mode = 0.0;
                if (!Whole(primitive, "mode", 0.0, 4.0, mode) || mode > 6.0)
                    return Fail(item, p, "has no primitive mode the format defines", problem);
                const QJsonObject attributes = primitive.value("attributes").toObject();
                const Accessor* position = nullptr;
                for (auto it = attributes.begin(); it != attributes.end(); ++it) {
                    const Accessor* accessor = AccessorAt(it.value());
                    if (!accessor)
                        return Fail(item, p,
                                    "attribute " + OneLine(it.key().toStdString(), 40) +
                                        " names no accessor",
                                    problem);
                    if (it.key() == "POSITION")
                        position = accessor;
                }
                if (!position || position->type != "VEC3" || position->componentType != 5126)
                    return Fail(item, p, "needs POSITION as three floats per vertex", problem);
                if (primitive.contains("indices")) {
                    const Accessor* indices = AccessorAt(primitive.value("indices"));
                    if (!indices || indices->type != "SCALAR" ||
                        (indices->componentType != 5121 && indices->componentType != 5123 &&
                         indices->componentType != 5125))
                        return Fail(item, p,
                                    "indices must name an accessor of unsigned whole numbers",
                                    problem);
                    indexed_.push_back(
                        {static_cast<int>(primitive.value("indices").toDouble()), position->count});
                }
            }
        }
        return true;
    }

    bool Nodes(std::string& problem) {
        const QJsonArray nodes = root_.value("nodes").toArray();
        const int meshes = root_.value("meshes").toArray().size();
        for (int n = 0; n < nodes.size(); ++n) {
            const QJsonObject node = nodes.at(n).toObject();
            if (node.contains("matrix")) {
                const QJsonArray matrix = node.value("matrix").toArray();
                bool numbers = matrix.size() == 16;
                for (const QJsonValue& v : matrix) numbers = numbers && v.isDouble();
                if (!numbers)
                    return Fail("node", n, "matrix must be 16 numbers", problem);
            }
            double mesh = 0.0;
            if (node.contains("mesh") &&
                (!Whole(node, "mesh", 0.0, -1.0, mesh) || mesh >= static_cast<double>(meshes)))
                return Fail("node", n, "names no mesh", problem);
            for (const QJsonValue& child : node.value("children").toArray()) {
                const double c = child.toDouble(-1.0);
                if (!child.isDouble() || std::floor(c) != c || c < 0.0 ||
                    c >= static_cast<double>(nodes.size()))
                    return Fail("node", n, "names a child that is no node", problem);
            }
        }
        return true;
    }

    // Every index names one of its primitive's vertices.
    bool Indices(std::string& problem) {
        for (const auto& [a, vertices] : indexed_) {
            const Accessor& accessor = accessors_[static_cast<std::size_t>(a)];
            if (accessor.view < 0)
                continue;  // all zeros
            const View& view = views_[static_cast<std::size_t>(accessor.view)];
            const std::string* data = Buffer(view.buffer);
            if (!data)
                continue;
            const int size = ComponentSize(accessor.componentType);
            const double stride = view.stride > 0.0 ? view.stride : size;
            for (double i = 0.0; i < accessor.count; ++i) {
                const double at = view.offset + accessor.offset + i * stride;
                if (at + size > static_cast<double>(data->size()))
                    return Fail("accessor", a, "reaches past the end of its buffer's data",
                                problem);
                const std::size_t byte = static_cast<std::size_t>(at);
                std::uint32_t index = 0;
                for (int k = size - 1; k >= 0; --k)
                    index = index << 8 |
                            static_cast<unsigned char>((*data)[byte + static_cast<std::size_t>(k)]);
                if (static_cast<double>(index) >= vertices)
                    return Fail("accessor", a,
                                "index " + std::to_string(index) + " is past the " +
                                    std::to_string(static_cast<long long>(vertices)) +
                                    " vertices of its primitive",
                                problem);
            }
        }
        return true;
    }

    // The bytes of buffer b, or null when they cannot be had here.
    const std::string* Buffer(int b) {
        auto found = buffers_.find(b);
        if (found != buffers_.end())
            return found->second.empty() ? nullptr : &found->second;
        std::string& data = buffers_[b];
        const std::string& uri = bufferUris_[static_cast<std::size_t>(b)];
        const std::string base64 = ";base64,";
        if (uri.empty()) {
            if (b == 0 && bin_)
                data = *bin_;
        } else if (uri.compare(0, 5, "data:") == 0 && uri.find(base64) != std::string::npos) {
            data = QByteArray::fromBase64(
                       QByteArray::fromStdString(uri.substr(uri.find(base64) + base64.size())))
                       .toStdString();
        } else if (!load_ || !load_(uri, data)) {
            data.clear();
        }
        return data.empty() ? nullptr : &data;
    }

    const Accessor* AccessorAt(const QJsonValue& value) const {
        const double a = value.toDouble(-1.0);
        if (!value.isDouble() || std::floor(a) != a || a < 0.0 ||
            a >= static_cast<double>(accessors_.size()))
            return nullptr;
        return &accessors_[static_cast<std::size_t>(a)];
    }

    const QJsonObject& root_;
    const std::string* bin_;  // a GLB's binary chunk; null without one
    const std::function<bool(const std::string&, std::string&)>& load_;
    std::vector<double> bufferLengths_;
    std::vector<std::string> bufferUris_;
    std::vector<View> views_;
    std::vector<Accessor> accessors_;
    std::vector<std::pair<int, double>> indexed_;  // index accessors, their vertex counts
    std::map<int, std::string> buffers_;           // read so far
};

}  // namespace

bool CheckGltf(const std::string& bytes, bool glb,
               const std::function<bool(const std::string& uri, std::string& data)>& load,
               std::string& problem) {
    std::string json = bytes;
    std::string bin;
    bool hasBin = false;
    if (glb) {
        if (bytes.size() < 20 || Word(bytes, 0) != kGlbMagic || Word(bytes, 4) != 2) {
            problem = "is not a GLB 2 file";
            return false;
        }
        if (Word(bytes, 8) != bytes.size()) {
            problem = "its header says " + std::to_string(Word(bytes, 8)) +
                      " bytes, the file has " + std::to_string(bytes.size());
            return false;
        }
        const std::size_t jsonLength = Word(bytes, 12);
        if (Word(bytes, 16) != kJsonChunk || jsonLength > bytes.size() - 20) {
            problem = "its JSON chunk is missing or longer than the file";
            return false;
        }
        json = bytes.substr(20, jsonLength);
        const std::size_t next = 20 + jsonLength;
        if (next + 8 <= bytes.size() && Word(bytes, next + 4) == kBinChunk) {
            const std::size_t length = Word(bytes, next);
            if (length > bytes.size() - next - 8) {
                problem = "its binary chunk is longer than the file";
                return false;
            }
            bin = bytes.substr(next + 8, length);
            hasBin = true;
        }
    }
    std::size_t repeatedAt = 0;
    std::string repeated;
    if (!CheckJsonMembers(json, repeatedAt, repeated)) {
        problem = "its JSON names member \"" + OneLine(repeated, 40) + "\" twice in one object";
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    if (document.isNull() || !document.isObject()) {
        problem = "its JSON cannot be read (" + error.errorString().toStdString() + " at byte " +
                  std::to_string(error.offset) + ")";
        return false;
    }
    const QJsonObject root = document.object();
    return GltfChecker(root, hasBin ? &bin : nullptr, load).Check(problem);
}
