#include "io/obj_reader.h"

#include <tiny_obj_loader.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string_view>

#include "io/finite_float.h"
#include "io/material_library.h"
#include "io/obj_line_check.h"

namespace {

const char* const kNamesLibrary = "slitform-usemtl-names";

// The names of the "usemtl" lines in order of first appearance, taken as
// tinyobjloader takes them: the word after the keyword, up to a blank.
std::vector<std::string> UsemtlNames(const std::string& text) {
    std::vector<std::string> names;
    std::map<std::string, int, std::less<>> seen;
    const std::string_view all(text);
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t pos = 0;
    while (pos < all.size()) {
        std::size_t end = pos;
        while (end < all.size() && all[end] != '\r' && all[end] != '\n') ++end;
        std::size_t i = pos;
        while (i < end && blank(all[i])) ++i;
        if (all.compare(i, 6, "usemtl") == 0 && i + 6 <= end) {
            std::size_t start = i + 6;
            while (start < end && blank(all[start])) ++start;
            // The library reads lines as C strings: a zero byte ends the name too.
            std::size_t stop = start;
            while (stop < end && !blank(all[stop]) && all[stop] != '\0') ++stop;
            const std::string_view name = all.substr(start, stop - start);
            if (seen.find(name) == seen.end()) {
                seen.emplace(std::string(name), static_cast<int>(names.size()));
                names.emplace_back(name);
            }
        }
        pos = end + 1;
    }
    return names;
}

// tinyobjloader keeps the name of a "usemtl" line only when a material library
// defines it, so the reader is handed one library that defines every name the
// file uses, in order of first appearance: material i is then ID i.
class UsemtlNamesReader : public tinyobj::MaterialReader {
public:
    explicit UsemtlNamesReader(const std::vector<std::string>& usedNames) : names(usedNames) {}

    bool operator()(const std::string&, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* matMap, std::string*, std::string*) override {
        if (!materials->empty())
            return true;
        for (const std::string& name : names) {
            // Value-initialised: the type has no constructor to set its texture options.
            tinyobj::material_t material = tinyobj::material_t();
            material.name = name;
            (*matMap)[name] = static_cast<int>(materials->size());
            materials->push_back(material);
        }
        return true;
    }

private:
    const std::vector<std::string>& names;
};

// The library's messages count the library line put in front of the file; give
// its line numbers as the file has them.
std::string FileLineNumbers(const std::string& message) {
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t at = message.find("line", pos);
        if (at == std::string::npos)
            break;
        std::size_t digits = message.find_first_not_of(" :", at + 4);
        std::size_t end = digits == std::string::npos
                              ? std::string::npos
                              : message.find_first_not_of("0123456789", digits);
        if (digits == std::string::npos || end == digits) {
            out += message.substr(pos, at + 4 - pos);
            pos = at + 4;
            continue;
        }
        if (end == std::string::npos)
            end = message.size();
        long long number = std::stoll(message.substr(digits, end - digits));
        out += message.substr(pos, digits - pos) + std::to_string(number - 1);
        pos = end;
    }
    return out + message.substr(pos);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line.find_first_not_of(" \t\r.") != std::string::npos)
            lines.push_back(line);
    return lines;
}

// The rest of the first line starting with keyword, blanks trimmed; empty if none.
std::string FirstLineValue(const std::string& text, const std::string& keyword) {
    const std::string_view all(text);
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t pos = 0;
    while (pos < all.size()) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string_view::npos)
            end = all.size();
        std::string_view line = all.substr(pos, end - pos);
        pos = end + 1;
        std::size_t i = 0;
        while (i < line.size() && blank(line[i])) ++i;
        if (i == line.size() || line.compare(i, keyword.size(), keyword) != 0)
            continue;
        std::size_t start = i + keyword.size();
        if (start < line.size() && !blank(line[start]))
            continue;
        while (start < line.size() && blank(line[start])) ++start;
        std::size_t last = line.size();
        while (last > start && (blank(line[last - 1]) || line[last - 1] == '\r')) --last;
        return std::string(line.substr(start, last - start));
    }
    return std::string();
}

// A corner's value from values (stride numbers each, the missing ones 0), false
// for an index out of range.
bool CornerValue(const std::vector<tinyobj::real_t>& values, std::size_t stride, int index,
                 slitform::Vec3& out) {
    out = {0.0f, 0.0f, 0.0f};
    if (index < 0)
        return true;
    std::size_t at = static_cast<std::size_t>(index) * stride;
    if (at + stride > values.size())
        return false;
    for (std::size_t k = 0; k < stride; ++k)
        if (!ToFiniteFloat(values[at + k], out[k]))
            return false;
    return true;
}

}  // namespace

bool ReadObjMesh(const std::string& path, const std::string& bytes, slitform::Mesh& data,
                 MeshFlags& flags, std::vector<std::string>* warnings, std::string& error) {
    data = slitform::Mesh();
    flags = MeshFlags();
    // The library reads unreadable numbers as 0 and overflows on long indices.
    std::string problem;
    ObjLineFacts facts;
    if (!CheckObjLines(bytes, facts, problem)) {
        error = path + ": " + problem;
        return false;
    }
    std::vector<std::string> names = UsemtlNames(bytes);
    if (names.size() > 65536) {
        error = path + ": uses more than 65536 material names";
        return false;
    }
    UsemtlNamesReader namesReader(names);
    std::istringstream stream(std::string("mtllib ") + kNamesLibrary + "\n" + bytes);
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string libraryWarnings, libraryErrors;
    bool loaded = tinyobj::LoadObj(&attrib, &shapes, &materials, &libraryWarnings, &libraryErrors,
                                   &stream, &namesReader, /*triangulate=*/false,
                                   /*default_vcols_fallback=*/false);
    if (!loaded) {
        std::vector<std::string> lines = Lines(FileLineNumbers(libraryErrors));
        error = path + ": " + (lines.empty() ? std::string("cannot be read as OBJ") : lines[0]);
        return false;
    }

    std::size_t vertexCount = attrib.vertices.size() / 3;
    data.positions.resize(vertexCount);
    for (std::size_t i = 0; i < vertexCount; ++i) {
        slitform::Vec3& p = data.positions[i];
        if (!ToFiniteFloat(attrib.vertices[3 * i], p[0]) ||
            !ToFiniteFloat(attrib.vertices[3 * i + 1], p[1]) ||
            !ToFiniteFloat(attrib.vertices[3 * i + 2], p[2])) {
            error = path + ": vertex " + std::to_string(i + 1) +
                    " has a coordinate that is not a finite single-precision number";
            return false;
        }
    }

    if (attrib.colors.size() == attrib.vertices.size()) {
        data.colors.resize(vertexCount);
        for (std::size_t i = 0; i < vertexCount; ++i)
            for (int k = 0; k < 3; ++k)
                data.colors[i][k] = static_cast<float>(attrib.colors[3 * i + k]);
    }
    data.materialNames = names;
    data.name = FirstLineValue(bytes, "o");
    data.materialLibrary = FirstLineValue(bytes, "mtllib");
    if (!data.materialLibrary.empty()) {
        if (ReadMaterialLibrary(path, bytes, data.materialLibrary, data.materialLibraryText,
                                problem))
            data.textureFolder = RealFolderOf(path);
        else if (warnings)
            warnings->push_back(path + ": " + problem);
    }
    bool withUV = false, withNormals = false;
    for (const tinyobj::shape_t& shape : shapes)
        for (const tinyobj::index_t& index : shape.mesh.indices) {
            withUV = withUV || index.texcoord_index >= 0;
            withNormals = withNormals || index.normal_index >= 0;
        }

    // The library names a shape after its "o" or "g" line: groups only when "g" is used.
    bool grouped = !FirstLineValue(bytes, "g").empty();
    std::map<std::string, int> groupIndex;

    // The library keeps a face's corner count in a byte; the lines give it whole. The
    // two must agree face by face, and the corners add up, or the file is refused.
    const std::string unaligned =
        path + ": the faces' corners do not add up as the OBJ library read them";
    std::size_t faceNumber = 0;
    std::vector<std::int32_t> corners;
    for (const tinyobj::shape_t& shape : shapes) {
        int group = -1;
        if (grouped && !shape.name.empty()) {
            auto found = groupIndex.emplace(shape.name, static_cast<int>(data.groupNames.size()));
            if (found.second)
                data.groupNames.push_back(shape.name);
            group = found.first->second;
        }
        const tinyobj::mesh_t& mesh = shape.mesh;
        std::size_t next = 0;
        for (std::size_t f = 0; f < mesh.num_face_vertices.size(); ++f, ++faceNumber) {
            if (faceNumber >= facts.faceDegrees.size() ||
                facts.faceDegrees[faceNumber] % 256 != mesh.num_face_vertices[f]) {
                error = unaligned;
                return false;
            }
            const std::size_t degree = facts.faceDegrees[faceNumber];
            if (next + degree > mesh.indices.size()) {
                error = unaligned;
                return false;
            }
            corners.clear();
            for (std::size_t k = 0; k < degree; ++k) {
                int index = mesh.indices[next + k].vertex_index;
                if (index < 0 || static_cast<std::size_t>(index) >= vertexCount) {
                    error = path + ": face " + std::to_string(faceNumber + 1) +
                            " has vertex index " +
                            std::to_string(static_cast<long long>(index) + 1) + " but there are " +
                            std::to_string(vertexCount) + " vertices";
                    return false;
                }
                corners.push_back(index);
                slitform::Vec3 uv, normal;
                if (!CornerValue(attrib.texcoords, 2, mesh.indices[next + k].texcoord_index, uv) ||
                    !CornerValue(attrib.normals, 3, mesh.indices[next + k].normal_index, normal)) {
                    error = path + ": face " + std::to_string(faceNumber + 1) +
                            " has a texture coordinate or normal index out of range or a value "
                            "that is not a finite single-precision number";
                    return false;
                }
                if (withUV)
                    data.uvs.push_back(uv);
                if (withNormals)
                    data.normals.push_back(normal);
            }
            next += degree;
            data.AddFace(corners);
            if (grouped)
                data.groups.push_back(group);
            int material = f < mesh.material_ids.size() ? mesh.material_ids[f] : -1;
            data.materials.push_back(static_cast<std::uint16_t>(material < 0 ? 0 : material));
            flags.smoothing.push_back(facts.faceSmoothing[faceNumber]);
        }
        if (next != mesh.indices.size()) {
            error = unaligned;
            return false;
        }
    }
    if (faceNumber != facts.faceDegrees.size()) {
        error = unaligned;
        return false;
    }
    if (warnings && facts.wideGroupLine > 0)
        warnings->push_back(path + ": line " + std::to_string(facts.wideGroupLine) +
                            ": smoothing group numbers past 32 bits are read as any other, N "
                            "as group (N - 1) mod 32 + 1");
    if (warnings)
        for (const std::string& line : Lines(FileLineNumbers(libraryWarnings)))
            warnings->push_back(path + ": " + line);
    return true;
}
