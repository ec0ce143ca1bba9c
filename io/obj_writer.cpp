#include "io/obj_writer.h"

#include <array>
#include <charconv>
#include <map>
#include <set>
#include <vector>

#include "contract/cut_mesh_flags.h"

namespace {

void AppendFloat(std::string& out, float value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void AppendPoint(std::string& out, const char* keyword, const Point3& p, int count = 3) {
    out += keyword;
    for (int k = 0; k < count; ++k) {
        out += ' ';
        AppendFloat(out, p[k]);
    }
    out += '\n';
}

// Numbers distinct corner values from 1 in order of first use, writing each once.
class ValueTable {
public:
    int Number(const Point3& p, std::string& out, const char* keyword, int count) {
        auto found = numbers.emplace(std::array<float, 3>{p.x, p.y, p.z},
                                     static_cast<int>(numbers.size()) + 1);
        if (found.second)
            AppendPoint(out, keyword, p, count);
        return found.first->second;
    }

private:
    std::map<std::array<float, 3>, int> numbers;
};

bool CornersOf(const std::vector<std::vector<Point3>>& values, int fi, int degree) {
    return static_cast<std::size_t>(fi) < values.size() &&
           values[fi].size() == static_cast<std::size_t>(degree);
}

}  // namespace

std::string ObjMaterialName(const MeshAttributes* attributes, MtlID id) {
    std::string name = attributes ? attributes->MaterialName(id) : std::string();
    return name.empty() ? "mtl" + std::to_string(id + 1) : name;
}

std::vector<std::string> ObjMaterialNames(const MNMesh& mesh, const LiveNumbering& numbering,
                                          const MeshAttributes* attributes) {
    std::vector<std::string> names;
    std::set<MtlID> seen;
    for (int fi : numbering.faces)
        if (seen.insert(mesh.f[fi].material).second)
            names.push_back(ObjMaterialName(attributes, mesh.f[fi].material));
    return names;
}

std::string ObjText(const MNMesh& mesh, const LiveNumbering& numbering,
                    const MeshAttributes* attributes, bool cutLines, const std::string& library) {
    static const MeshAttributes kNone;
    const MeshAttributes& a = attributes ? *attributes : kNone;
    std::string out = "# material ID k without a name is named mtl<k + 1>\n";
    if (!library.empty())
        out += "mtllib " + library + "\n";
    if (!a.objectName.empty())
        out += "o " + a.objectName + "\n";
    bool colors = a.color.size() >= static_cast<std::size_t>(mesh.numv) && a.HasColors();
    for (int vi : numbering.verts) {
        AppendPoint(out, "v", mesh.v[vi].p);
        if (colors) {
            out.pop_back();
            AppendPoint(out, "", a.color[vi]);
        }
    }
    // The corner values go first, so that every face line can refer back to them.
    ValueTable uvs, normals;
    std::vector<std::vector<int>> uvNumber(numbering.faces.size()),
        normalNumber(numbering.faces.size());
    for (std::size_t i = 0; i < numbering.faces.size(); ++i) {
        int fi = numbering.faces[i];
        int degree = mesh.f[fi].deg;
        if (CornersOf(a.uv, fi, degree))
            for (const Point3& uv : a.uv[fi])
                uvNumber[i].push_back(uvs.Number(uv, out, "vt", uv.z == 0.0f ? 2 : 3));
        if (CornersOf(a.normal, fi, degree))
            for (const Point3& n : a.normal[fi])
                normalNumber[i].push_back(normals.Number(n, out, "vn", 3));
    }
    bool first = true;
    MtlID current = 0;
    std::string group;
    // Once any face has a group, every face has one: importers that make objects or
    // vertex groups from groups then see the rest of the mesh as one named group
    // (and Blender 3.4's importer fails on faces before the first group line).
    bool grouped = !a.faceGroup.empty();
    for (std::size_t i = 0; i < numbering.faces.size() && !grouped; ++i)
        grouped = mesh.f[numbering.faces[i]].GetFlag(cutflags::kInsideFace);
    for (std::size_t i = 0; i < numbering.faces.size(); ++i) {
        int fi = numbering.faces[i];
        const MNFace& face = mesh.f[fi];
        std::string faceGroup;
        if (face.GetFlag(cutflags::kInsideFace))
            faceGroup = "slitform_inside";
        else if (grouped && static_cast<std::size_t>(fi) < a.faceGroup.size() &&
                 a.faceGroup[fi] >= 0)
            faceGroup = a.groupNames[a.faceGroup[fi]];
        else if (grouped)
            faceGroup = "default";
        if (faceGroup != group) {
            out += "g " + faceGroup + "\n";
            group = faceGroup;
        }
        if (first || face.material != current) {
            out += "usemtl " + ObjMaterialName(attributes, face.material) + "\n";
            current = face.material;
            first = false;
        }
        out += 'f';
        for (int j = 0; j < face.deg; ++j) {
            out += ' ' + std::to_string(numbering.newVert[face.vtx[j]] + 1);
            if (uvNumber[i].empty() && normalNumber[i].empty())
                continue;
            out += '/';
            if (!uvNumber[i].empty())
                out += std::to_string(uvNumber[i][j]);
            if (!normalNumber[i].empty())
                out += '/' + std::to_string(normalNumber[i][j]);
        }
        out += '\n';
    }
    if (!cutLines)
        return out;
    bool any = false;
    for (int ei : numbering.edges) {
        const MNEdge& edge = mesh.e[ei];
        if (!edge.GetFlag(cutflags::kCutLineEdge))
            continue;
        if (!any)
            out += "g slitform_cut_lines\n";
        any = true;
        out += "l " + std::to_string(numbering.newVert[edge.v1] + 1) + ' ' +
               std::to_string(numbering.newVert[edge.v2] + 1) + '\n';
    }
    return out;
}
