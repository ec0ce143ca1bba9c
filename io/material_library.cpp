#include "io/material_library.h"

#include <filesystem>
#include <set>
#include <sstream>

#include "io/folder_io_system.h"
#include "io/one_line_text.h"

namespace {

namespace fs = std::filesystem;

// Whether keyword introduces a texture map, whose last word is its file.
bool IsTextureMap(const std::string& keyword) {
    return keyword.rfind("map_", 0) == 0 || keyword == "bump" || keyword == "disp" ||
           keyword == "decal" || keyword == "refl" || keyword == "norm";
}

// Where a texture map line (CR removed) names its file: the last word, after the
// keyword. False when the line has no word after its keyword.
bool TextureFileSpan(const std::string& line, std::size_t& start, std::size_t& length) {
    const std::size_t end = line.find_last_not_of(" \t");
    const std::size_t before = end == std::string::npos ? end : line.find_last_of(" \t", end);
    if (before == std::string::npos || line.find_first_not_of(" \t") >= before)
        return false;
    start = before + 1;
    length = end - before;
    return true;
}

// Calls change(file) for the file of every texture map line, replacing it by what it
// gives; other lines stay as they are.
template <typename Change>
std::string WithTextureFiles(const std::string& text, Change change) {
    std::istringstream in(text);
    std::string line, out;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        std::size_t start = 0, length = 0;
        if (IsTextureMap(keyword) && TextureFileSpan(line, start, length))
            line = line.substr(0, start) + change(line.substr(start, length));
        out += line + '\n';
    }
    return out;
}

std::set<std::string> DefinedNames(const std::string& text) {
    std::set<std::string> names;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string keyword, name;
        if (words >> keyword >> name && keyword == "newmtl")
            names.insert(name);
    }
    return names;
}

}  // namespace

bool ReadMaterialLibrary(const std::string& path, const std::string& bytes, const std::string& name,
                         std::string& text, std::string& problem) {
    std::string raw;
    if (!ReadReferencedFile(path, bytes, name, raw)) {
        problem = "its material library \"" + OneLine(name, 60) +
                  "\" is not a readable file in its folder; the materials keep only their names";
        return false;
    }
    // Relative to the library's real folder, as the reads above are.
    const fs::path folder = RealFolderOf(path);
    text = WithTextureFiles(raw, [&](const std::string& file) {
        fs::path texture(file);
        return (texture.is_absolute() ? texture : folder / texture).lexically_normal().string();
    });
    return true;
}

std::string MaterialLibraryText(const std::string& library, const std::vector<std::string>& used,
                                const std::string& folder) {
    std::error_code failed;
    const fs::path base =
        fs::absolute(fs::path(folder.empty() ? "." : folder), failed).lexically_normal();
    std::string out = WithTextureFiles(library, [&](const std::string& file) {
        fs::path relative = fs::path(file).lexically_relative(base);
        return relative.empty() ? file : relative.string();
    });
    std::set<std::string> defined = DefinedNames(library);
    for (const std::string& name : used) {
        if (!defined.insert(name).second)
            continue;
        out += "newmtl " + name + "\n";
        out += name == "slitform_inside" ? "Kd 0.8 0.3 0.15\n" : "Kd 0.8 0.8 0.8\n";
    }
    return out;
}

std::string MaterialLibraryName(const std::string& path) {
    fs::path name = fs::path(path).filename();
    return name.replace_extension(".mtl").string();
}

std::string RealFolderOf(const std::string& path) {
    std::error_code failed;
    const fs::path real = fs::canonical(fs::path(path), failed);
    return failed ? std::string() : real.parent_path().string();
}

std::string DiffuseTexture(const std::string& library, const std::string& material) {
    std::string current, file;
    std::istringstream in(library);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (keyword == "newmtl") {
            words >> current;
            continue;
        }
        std::size_t start = 0, length = 0;
        if (keyword == "map_Kd" && current == material && TextureFileSpan(line, start, length))
            file = line.substr(start, length);
    }
    return file;
}

bool ReadTextureImage(const std::string& file, const std::string& folder, std::string& bytes,
                      std::string& format) {
    const std::uintmax_t kMaxBytes = std::uintmax_t(256) << 20;
    if (folder.empty() || file.empty())
        return false;
    std::error_code failed;
    if (fs::file_size(fs::path(file), failed) > kMaxBytes || failed)
        return false;
    // By the rules of every file a mesh refers to: inside the folder once symlinks are
    // resolved, and a regular file.
    const std::string relative = fs::path(file).lexically_relative(folder).string();
    if (relative.empty() || !ReadReferencedFile(folder + "/", std::string(), relative, bytes))
        return false;
    if (bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0)
        format = "png";
    else if (bytes.compare(0, 3, "\xFF\xD8\xFF") == 0)
        format = "jpg";
    else
        return false;
    return true;
}
