#include "io/gltf_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

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
};

class GltfChecker {
public:
    GltfChecker(const QJsonObject& root, double binLength) : root_(root), binLength_(binLength) {}

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
               Nodes(problem);
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
            if (b == 0 && !buffer.contains("uri") && binLength_ >= 0.0 && length > binLength_)
                return Fail("buffer", b, "is longer than the file's binary chunk", problem);
            bufferLengths_.push_back(length);
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
            viewLengths_.push_back(length);
            viewStrides_.push_back(stride);
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
                    view >= static_cast<double>(viewLengths_.size()))
                    return Fail("accessor", a, "names no bufferView", problem);
                const std::size_t v = static_cast<std::size_t>(view);
                const double element = static_cast<double>(components) * size;
                const double stride = viewStrides_[v] > 0.0 ? viewStrides_[v] : element;
                if (stride < element)
                    return Fail("accessor", a, "its elements overlap (byteStride too small)",
                                problem);
                if (offset + stride * (count - 1.0) + element > viewLengths_[v])
                    return Fail("accessor", a, "reaches past the end of its bufferView", problem);
            }
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

    const Accessor* AccessorAt(const QJsonValue& value) const {
        const double a = value.toDouble(-1.0);
        if (!value.isDouble() || std::floor(a) != a || a < 0.0 ||
            a >= static_cast<double>(accessors_.size()))
            return nullptr;
        return &accessors_[static_cast<std::size_t>(a)];
    }

    const QJsonObject& root_;
    double binLength_;  // of a GLB's binary chunk; -1 without one
    std::vector<double> bufferLengths_, viewLengths_, viewStrides_;
    std::vector<Accessor> accessors_;
};

}  // namespace

bool CheckGltf(const std::string& bytes, bool glb, std::string& problem) {
    std::string json = bytes;
    double binLength = -1.0;
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
            binLength = static_cast<double>(length);
        }
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    if (document.isNull() || !document.isObject()) {
        problem = "its JSON cannot be read (" + error.errorString().toStdString() + " at byte " +
                  std::to_string(error.offset) + ")";
        return false;
    }
    const QJsonObject root = document.object();
    return GltfChecker(root, binLength).Check(problem);
}
