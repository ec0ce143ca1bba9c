#include "io/ply_writer.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

// Appends the values of one item, as text separated by spaces or as bytes.
class ItemWriter {
public:
    ItemWriter(std::string& output, PlyEncoding encoding) : out(output), enc(encoding) {}

    void Float(float value) {
        if (enc == PlyEncoding::Ascii) {
            char text[32];
            auto result = std::to_chars(text, text + sizeof text, value);
            out.append(text, result.ptr);
            out += ' ';
            return;
        }
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        Bytes(bits, 4);
    }
    void Int(std::int64_t value, int size) {
        if (enc == PlyEncoding::Ascii) {
            out += std::to_string(value);
            out += ' ';
            return;
        }
        Bytes(static_cast<std::uint64_t>(value), size);
    }
    void EndItem() {
        if (enc == PlyEncoding::Ascii)
            out.back() = '\n';
    }

private:
    // One append per value: a million faces make tens of millions of bytes.
    void Bytes(std::uint64_t bits, int size) {
        char bytes[8];
        for (int i = 0; i < size; ++i) {
            int shift = enc == PlyEncoding::BinaryBigEndian ? 8 * (size - 1 - i) : 8 * i;
            bytes[i] = static_cast<char>((bits >> shift) & 0xFF);
        }
        out.append(bytes, static_cast<std::size_t>(size));
    }

    std::string& out;
    PlyEncoding enc;
};

const char* EncodingName(PlyEncoding encoding) {
    switch (encoding) {
        case PlyEncoding::Ascii:
            return "ascii";
        case PlyEncoding::BinaryLittleEndian:
            return "binary_little_endian";
        case PlyEncoding::BinaryBigEndian:
            return "binary_big_endian";
    }
    return "ascii";
}

}  // namespace

std::string PlyBytes(const MNMesh& mesh, const LiveNumbering& numbering, PlyEncoding encoding) {
    bool wideCounts = false;
    for (int fi : numbering.faces)
        if (mesh.f[fi].deg > 255)
            wideCounts = true;
    std::string out;
    out += "ply\nformat ";
    out += EncodingName(encoding);
    out += " 1.0\n";
    out += "comment flags are the poly mesh's 32-bit flags words\n";
    out += "element vertex " + std::to_string(numbering.verts.size()) + "\n";
    out += "property float x\nproperty float y\nproperty float z\nproperty uint flags\n";
    out += "element face " + std::to_string(numbering.faces.size()) + "\n";
    out += wideCounts ? "property list uint int vertex_indices\n"
                      : "property list uchar int vertex_indices\n";
    out += "property uint flags\nproperty ushort material_index\nproperty uint smoothing\n";
    out += "element edge " + std::to_string(numbering.edges.size()) + "\n";
    out += "property int vertex1\nproperty int vertex2\nproperty uint flags\n";
    out += "end_header\n";
    // Binary items have known sizes: one allocation instead of the string's doublings,
    // which on a large mesh held three times the file beside the meshes.
    if (encoding != PlyEncoding::Ascii) {
        std::size_t bytes = numbering.verts.size() * 16 + numbering.edges.size() * 12;
        for (int fi : numbering.faces)
            bytes += (wideCounts ? 4 : 1) + 4 * static_cast<std::size_t>(mesh.f[fi].deg) + 10;
        out.reserve(out.size() + bytes);
    }

    ItemWriter item(out, encoding);
    for (int vi : numbering.verts) {
        const MNVert& vert = mesh.v[vi];
        item.Float(vert.p.x);
        item.Float(vert.p.y);
        item.Float(vert.p.z);
        item.Int(vert.flags, 4);
        item.EndItem();
    }
    for (int fi : numbering.faces) {
        const MNFace& face = mesh.f[fi];
        item.Int(face.deg, wideCounts ? 4 : 1);
        for (int j = 0; j < face.deg; ++j) item.Int(numbering.newVert[face.vtx[j]], 4);
        item.Int(face.flags, 4);
        item.Int(face.material, 2);
        item.Int(face.smGroup, 4);
        item.EndItem();
    }
    for (int ei : numbering.edges) {
        const MNEdge& edge = mesh.e[ei];
        item.Int(numbering.newVert[edge.v1], 4);
        item.Int(numbering.newVert[edge.v2], 4);
        item.Int(edge.flags, 4);
        item.EndItem();
    }
    return out;
}
