#include "io/ply_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "io/finite_float.h"
#include "io/one_line_text.h"
#include "io/ply_header.h"

namespace {

// Where the values of the element items come from, item after item.
class ValueSource {
public:
    virtual ~ValueSource() = default;
    // Starts the next item; false at the end of the data.
    virtual bool BeginItem() = 0;
    virtual bool Read(PlyType type, double& value) = 0;
    virtual bool Skip(PlyType type, double count) = 0;
    // False when the item holds more values than were read.
    virtual bool EndItem() = 0;
    // Whether nothing but white space follows the last item.
    virtual bool AtEnd() const = 0;
    // "line 7: " for text, empty for binary data.
    virtual std::string Where() const = 0;

    std::string problem;
};

// One item per line, values separated by spaces or tabs; blank lines are skipped.
class AsciiSource : public ValueSource {
public:
    AsciiSource(const std::string& text, std::size_t offset, int firstLine)
        : bytes(text), next(offset), lineNumber(firstLine - 1) {}

    bool BeginItem() override {
        for (;;) {
            if (next >= bytes.size())
                return false;
            cursor = next;
            ++lineNumber;
            std::size_t eol = bytes.find('\n', cursor);
            lineEnd = eol == std::string::npos ? bytes.size() : eol;
            next = eol == std::string::npos ? bytes.size() : eol + 1;
            SkipBlanks();
            if (cursor < lineEnd)
                return true;
        }
    }

    bool Read(PlyType type, double& value) override {
        SkipBlanks();
        if (cursor == lineEnd) {
            problem = "fewer values than the header declares";
            return false;
        }
        std::size_t start = cursor;
        while (cursor < lineEnd && !IsBlank(bytes[cursor])) ++cursor;
        const char* first = bytes.data() + start;
        const char* last = bytes.data() + cursor;
        // The word as messages quote it: one line, harmless to a terminal.
        std::string token = OneLine(std::string(first, last), 40);
        if (*first == '+')
            ++first;
        if (PlyTypeIsInteger(type)) {
            long long number = 0;
            auto result = std::from_chars(first, last, number);
            if (result.ec != std::errc() || result.ptr != last) {
                problem = "\"" + token + "\" is not an integer";
                return false;
            }
            value = static_cast<double>(number);
            if (value < PlyTypeMin(type) || value > PlyTypeMax(type)) {
                problem = token + " is out of range for " + PlyTypeName(type);
                return false;
            }
            return true;
        }
        auto result = std::from_chars(first, last, value);
        if (result.ec == std::errc::result_out_of_range) {
            problem = token + " is out of range for a number";
            return false;
        }
        if (result.ec != std::errc() || result.ptr != last) {
            problem = "\"" + token + "\" is not a number";
            return false;
        }
        return true;
    }

    bool Skip(PlyType type, double count) override {
        double ignored;
        for (double i = 0; i < count; ++i)
            if (!Read(type, ignored))
                return false;
        return true;
    }

    bool EndItem() override {
        SkipBlanks();
        if (cursor < lineEnd) {
            problem = "more values than the header declares";
            return false;
        }
        return true;
    }

    bool AtEnd() const override {
        for (std::size_t i = next; i < bytes.size(); ++i)
            if (!IsBlank(bytes[i]) && bytes[i] != '\n')
                return false;
        return true;
    }

    std::string Where() const override { return "line " + std::to_string(lineNumber) + ": "; }

private:
    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
    void SkipBlanks() {
        while (cursor < lineEnd && IsBlank(bytes[cursor])) ++cursor;
    }

    const std::string& bytes;
    std::size_t next;
    std::size_t cursor = 0;
    std::size_t lineEnd = 0;
    int lineNumber;
};

class BinarySource : public ValueSource {
public:
    BinarySource(const std::string& data, std::size_t offset, bool bigEndianData)
        : bytes(data), pos(offset), bigEndian(bigEndianData) {}

    bool BeginItem() override { return pos < bytes.size(); }

    bool Read(PlyType type, double& value) override {
        std::size_t size = static_cast<std::size_t>(PlyTypeSize(type));
        if (bytes.size() - pos < size) {
            problem = "the data ends early (the file is truncated)";
            return false;
        }
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < size; ++i) {
            std::uint64_t byte = static_cast<unsigned char>(bytes[pos + i]);
            if (bigEndian)
                bits = (bits << 8) | byte;
            else
                bits |= byte << (8 * i);
        }
        pos += size;
        switch (type) {
            case PlyType::Int8:
                value = static_cast<std::int8_t>(bits);
                break;
            case PlyType::UInt8:
                value = static_cast<std::uint8_t>(bits);
                break;
            case PlyType::Int16:
                value = static_cast<std::int16_t>(bits);
                break;
            case PlyType::UInt16:
                value = static_cast<std::uint16_t>(bits);
                break;
            case PlyType::Int32:
                value = static_cast<std::int32_t>(bits);
                break;
            case PlyType::UInt32:
                value = static_cast<std::uint32_t>(bits);
                break;
            case PlyType::Float32: {
                std::uint32_t word = static_cast<std::uint32_t>(bits);
                float f;
                std::memcpy(&f, &word, sizeof f);
                value = f;
                break;
            }
            case PlyType::Float64:
                std::memcpy(&value, &bits, sizeof value);
                break;
        }
        return true;
    }

    bool Skip(PlyType type, double count) override {
        double size = count * PlyTypeSize(type);
        if (size > static_cast<double>(bytes.size() - pos)) {
            problem = "the data ends early (the file is truncated)";
            return false;
        }
        pos += static_cast<std::size_t>(size);
        return true;
    }

    bool EndItem() override { return true; }
    bool AtEnd() const override { return pos == bytes.size(); }
    std::string Where() const override { return ""; }

private:
    const std::string& bytes;
    std::size_t pos;
    bool bigEndian;
};

enum class Kind { Vertex, Face, Edge, Other };

// Indices of the properties an element's items are read into, or -1.
struct Roles {
    Kind kind = Kind::Other;
    int x = -1, y = -1, z = -1;
    int corners = -1;
    int vertex1 = -1, vertex2 = -1;
    int flags = -1, material = -1, smoothing = -1;
};

bool IsIntegerScalar(const PlyProperty& p) {
    return !p.isList && PlyTypeIsInteger(p.type);
}

// Finds the roles of element's properties; false with a problem when a property
// the reader takes has the wrong kind of type.
bool AssignRoles(const PlyElement& element, Roles& roles, std::string& problem) {
    roles = Roles();
    auto integer = [&](const char* name, int& role) {
        role = element.Find(name);
        if (role >= 0 && !IsIntegerScalar(element.properties[role])) {
            problem = "property \"" + std::string(name) + "\" of element \"" + element.name +
                      "\" must be a single integer";
            return false;
        }
        return true;
    };
    if (element.name == "vertex") {
        roles.kind = Kind::Vertex;
        roles.x = element.Find("x");
        roles.y = element.Find("y");
        roles.z = element.Find("z");
        if (roles.x < 0 || roles.y < 0 || roles.z < 0 || element.properties[roles.x].isList ||
            element.properties[roles.y].isList || element.properties[roles.z].isList) {
            problem = "element \"vertex\" needs the single-number properties x, y and z";
            return false;
        }
        return integer("flags", roles.flags);
    }
    if (element.name == "face") {
        roles.kind = Kind::Face;
        roles.corners = element.Find("vertex_indices");
        if (roles.corners < 0)
            roles.corners = element.Find("vertex_index");
        if (roles.corners < 0 || !element.properties[roles.corners].isList ||
            !PlyTypeIsInteger(element.properties[roles.corners].type)) {
            problem = "element \"face\" needs an integer list property vertex_indices";
            return false;
        }
        return integer("flags", roles.flags) && integer("material_index", roles.material) &&
               integer("smoothing", roles.smoothing);
    }
    if (element.name == "edge") {
        if (!integer("vertex1", roles.vertex1) || !integer("vertex2", roles.vertex2) ||
            !integer("flags", roles.flags))
            return false;
        // Edges without their ends say nothing the faces do not.
        roles.kind = roles.vertex1 >= 0 && roles.vertex2 >= 0 ? Kind::Edge : Kind::Other;
        return true;
    }
    return true;
}

// Bytes one item takes at least, to bound what a declared count may reserve.
std::size_t MinItemBytes(const PlyElement& element, PlyEncoding encoding) {
    if (encoding == PlyEncoding::Ascii)
        return 2 * element.properties.size();
    std::size_t bytes = 0;
    for (const PlyProperty& p : element.properties)
        bytes += static_cast<std::size_t>(PlyTypeSize(p.isList ? p.countType : p.type));
    return bytes;
}

// The bit pattern of a flags word; a negative number of a signed type gives its
// two's complement.
DWORD FlagsWord(double value) {
    return static_cast<DWORD>(static_cast<std::int64_t>(value) & 0xFFFFFFFFLL);
}

}  // namespace

bool ReadPlyMesh(const std::string& path, const std::string& bytes, slitform::Mesh& mesh,
                 MeshFlags& flags, std::vector<std::string>* warnings, std::string& error) {
    mesh = slitform::Mesh();
    flags = MeshFlags();
    PlyHeader header;
    std::string problem;
    if (!ParsePlyHeader(bytes, header, problem)) {
        error = path + ": " + problem;
        return false;
    }
    std::vector<Roles> roles(header.elements.size());
    long long vertexCount = -1;
    for (std::size_t i = 0; i < header.elements.size(); ++i) {
        if (!AssignRoles(header.elements[i], roles[i], problem)) {
            error = path + ": " + problem;
            return false;
        }
        if (roles[i].kind == Kind::Vertex)
            vertexCount = header.elements[i].count;
    }
    if (vertexCount < 0) {
        error = path + ": has no vertex element";
        return false;
    }

    AsciiSource ascii(bytes, header.dataOffset, header.dataLine);
    BinarySource binary(bytes, header.dataOffset, header.encoding == PlyEncoding::BinaryBigEndian);
    ValueSource& source = header.encoding == PlyEncoding::Ascii ? static_cast<ValueSource&>(ascii)
                                                                : static_cast<ValueSource&>(binary);
    const std::size_t remaining = bytes.size() - header.dataOffset;

    for (std::size_t ei = 0; ei < header.elements.size(); ++ei) {
        const PlyElement& element = header.elements[ei];
        const Roles& role = roles[ei];
        std::size_t reserve = std::min<std::size_t>(
            static_cast<std::size_t>(element.count),
            remaining / std::max<std::size_t>(1, MinItemBytes(element, header.encoding)));
        if (role.kind == Kind::Vertex) {
            mesh.positions.reserve(reserve);
            flags.vertex.reserve(reserve);
        } else if (role.kind == Kind::Face) {
            mesh.faceStart.reserve(reserve + 1);
            flags.face.reserve(reserve);
            mesh.materials.reserve(reserve);
            flags.smoothing.reserve(reserve);
        } else if (role.kind == Kind::Edge) {
            flags.edges.reserve(reserve);
        }
        std::vector<double> values(element.properties.size(), 0.0);
        for (long long item = 0; item < element.count; ++item) {
            auto fail = [&](const std::string& what) {
                error =
                    path + ": " + source.Where() + element.name + " " + std::to_string(item) + what;
                return false;
            };
            if (!source.BeginItem()) {
                error = path + ": the data ends after " + std::to_string(item) + " of " +
                        std::to_string(element.count) + " " + element.name +
                        " items (the file is truncated)";
                return false;
            }
            for (std::size_t pi = 0; pi < element.properties.size(); ++pi) {
                const PlyProperty& property = element.properties[pi];
                if (!property.isList) {
                    if (!source.Read(property.type, values[pi]))
                        return fail(": " + source.problem);
                    continue;
                }
                double count = 0.0;
                if (!source.Read(property.countType, count))
                    return fail(": " + source.problem);
                if (count < 0.0)
                    return fail(": a list has a negative length");
                if (role.kind != Kind::Face || static_cast<int>(pi) != role.corners) {
                    if (!source.Skip(property.type, count))
                        return fail(": " + source.problem);
                    continue;
                }
                for (double k = 0; k < count; ++k) {
                    double index = 0.0;
                    if (!source.Read(property.type, index))
                        return fail(": " + source.problem);
                    if (index < 0.0 || index >= static_cast<double>(vertexCount))
                        return fail(" has vertex index " +
                                    std::to_string(static_cast<long long>(index)) +
                                    " but there are " + std::to_string(vertexCount) + " vertices");
                    mesh.corners.push_back(static_cast<std::int32_t>(index));
                }
            }
            if (!source.EndItem())
                return fail(": " + source.problem);

            if (role.kind == Kind::Vertex) {
                slitform::Vec3 p;
                if (!ToFiniteFloat(values[role.x], p[0]) || !ToFiniteFloat(values[role.y], p[1]) ||
                    !ToFiniteFloat(values[role.z], p[2]))
                    return fail(" has a coordinate that is not a finite single-precision number");
                mesh.positions.push_back(p);
                flags.vertex.push_back(role.flags >= 0 ? FlagsWord(values[role.flags]) : 0);
            } else if (role.kind == Kind::Face) {
                // Under 2 GiB of file, the corners stay below 2^32.
                mesh.faceStart.push_back(static_cast<std::uint32_t>(mesh.corners.size()));
                if (role.material >= 0 &&
                    (values[role.material] < 0.0 || values[role.material] > 65535.0))
                    return fail(" has material_index " +
                                std::to_string(static_cast<long long>(values[role.material])) +
                                " outside 0 to 65535");
                mesh.materials.push_back(
                    role.material >= 0 ? static_cast<std::uint16_t>(values[role.material]) : 0);
                flags.face.push_back(role.flags >= 0 ? FlagsWord(values[role.flags]) : 0);
                flags.smoothing.push_back(role.smoothing >= 0 ? FlagsWord(values[role.smoothing])
                                                              : 0);
            } else if (role.kind == Kind::Edge) {
                FlaggedEdge record;
                for (int end : {role.vertex1, role.vertex2})
                    if (values[end] < 0.0 || values[end] >= static_cast<double>(vertexCount))
                        return fail(" has vertex index " +
                                    std::to_string(static_cast<long long>(values[end])) +
                                    " but there are " + std::to_string(vertexCount) + " vertices");
                record.v1 = static_cast<int>(values[role.vertex1]);
                record.v2 = static_cast<int>(values[role.vertex2]);
                record.flags = role.flags >= 0 ? FlagsWord(values[role.flags]) : 0;
                flags.edges.push_back(record);
            }
        }
    }
    if (!source.AtEnd() && warnings)
        warnings->push_back(path + ": ignored data after the last element");
    return true;
}
