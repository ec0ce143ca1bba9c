#include "io/off_writer.h"

#include <charconv>

std::string OffText(const MNMesh& mesh, const LiveNumbering& numbering) {
    std::string out = "OFF\n" + std::to_string(numbering.verts.size()) + ' ' +
                      std::to_string(numbering.faces.size()) + " 0\n";
    for (int vi : numbering.verts) {
        for (int k = 0; k < 3; ++k) {
            char text[32];
            auto result = std::to_chars(text, text + sizeof text, mesh.v[vi].p[k]);
            out.append(text, result.ptr);
            out += k < 2 ? ' ' : '\n';
        }
    }
    for (int fi : numbering.faces) {
        const MNFace& face = mesh.f[fi];
        out += std::to_string(face.deg);
        for (int j = 0; j < face.deg; ++j)
            out += ' ' + std::to_string(numbering.newVert[face.vtx[j]]);
        out += '\n';
    }
    return out;
}
