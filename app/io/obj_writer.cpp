#include "app/io/obj_writer.h"

#include <charconv>

namespace {

void AppendFloat(std::string& out, float value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

}  // namespace

std::string ObjText(const MNMesh& mesh, const LiveNumbering& numbering) {
    std::string out = "# material ID k is named mtl<k + 1>\n";
    for (int vi : numbering.verts) {
        const Point3& p = mesh.v[vi].p;
        out += "v ";
        AppendFloat(out, p.x);
        out += ' ';
        AppendFloat(out, p.y);
        out += ' ';
        AppendFloat(out, p.z);
        out += '\n';
    }
    bool first = true;
    MtlID current = 0;
    for (int fi : numbering.faces) {
        const MNFace& face = mesh.f[fi];
        if (first || face.material != current) {
            out += "usemtl mtl" + std::to_string(face.material + 1) + "\n";
            current = face.material;
            first = false;
        }
        out += 'f';
        for (int j = 0; j < face.deg; ++j)
            out += ' ' + std::to_string(numbering.newVert[face.vtx[j]] + 1);
        out += '\n';
    }
    return out;
}
