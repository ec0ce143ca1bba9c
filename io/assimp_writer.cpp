#include "io/assimp_writer.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <stdlib.h>

#include <array>
#include <assimp/Exporter.hpp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>

#include "contract/cut_mesh_flags.h"
#include "io/file_bytes.h"
#include "io/material_library.h"
#include "io/polygon_triangles.h"

namespace {

// The corners of one group of faces, a vertex per distinct (vertex, texture,
// normal), and the faces on them.
struct Part {
    std::vector<int> vertex;
    std::vector<Point3> uv, normal;
    std::vector<std::vector<unsigned>> faces;
    std::map<std::array<float, 7>, unsigned> seen;

    unsigned Corner(int v, const Point3& t, const Point3& n) {
        std::array<float, 7> key{static_cast<float>(v), t.x, t.y, t.z, n.x, n.y, n.z};
        auto found = seen.emplace(key, static_cast<unsigned>(vertex.size()));
        if (found.second) {
            vertex.push_back(v);
            uv.push_back(t);
            normal.push_back(n);
        }
        return found.first->second;
    }
};

bool CornersOf(const std::vector<std::vector<Point3>>& values, int fi, int degree) {
    return static_cast<std::size_t>(fi) < values.size() &&
           values[fi].size() == static_cast<std::size_t>(degree);
}

aiMesh* MeshOf(const MNMesh& mesh, const MeshAttributes& a, const Part& part, unsigned material,
               const std::string& name) {
    auto* out = new aiMesh();
    out->mName = aiString(name);
    out->mMaterialIndex = material;
    out->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
    out->mNumVertices = static_cast<unsigned>(part.vertex.size());
    out->mVertices = new aiVector3D[out->mNumVertices];
    if (a.HasUV()) {
        out->mTextureCoords[0] = new aiVector3D[out->mNumVertices];
        out->mNumUVComponents[0] = 2;
    }
    if (a.HasNormals())
        out->mNormals = new aiVector3D[out->mNumVertices];
    bool colors = a.color.size() >= static_cast<std::size_t>(mesh.numv) && a.HasColors();
    if (colors)
        out->mColors[0] = new aiColor4D[out->mNumVertices];
    for (unsigned i = 0; i < out->mNumVertices; ++i) {
        const Point3& p = mesh.v[part.vertex[i]].p;
        out->mVertices[i] = aiVector3D(p.x, p.y, p.z);
        if (out->mTextureCoords[0])
            out->mTextureCoords[0][i] = aiVector3D(part.uv[i].x, part.uv[i].y, part.uv[i].z);
        if (out->mNormals)
            out->mNormals[i] = aiVector3D(part.normal[i].x, part.normal[i].y, part.normal[i].z);
        if (colors) {
            const Point3& c = a.color[part.vertex[i]];
            out->mColors[0][i] = aiColor4D(c.x, c.y, c.z, 1.0f);
        }
    }
    out->mNumFaces = static_cast<unsigned>(part.faces.size());
    out->mFaces = new aiFace[out->mNumFaces];
    for (unsigned f = 0; f < out->mNumFaces; ++f) {
        out->mFaces[f].mNumIndices = static_cast<unsigned>(part.faces[f].size());
        out->mFaces[f].mIndices = new unsigned[part.faces[f].size()];
        std::copy(part.faces[f].begin(), part.faces[f].end(), out->mFaces[f].mIndices);
    }
    return out;
}

void AttachMeshes(aiNode* node, const std::vector<unsigned>& meshes) {
    node->mNumMeshes = static_cast<unsigned>(meshes.size());
    node->mMeshes = meshes.empty() ? nullptr : new unsigned[meshes.size()];
    std::copy(meshes.begin(), meshes.end(), node->mMeshes);
}

// For 3MF every face goes in one mesh, of the first face's material, on the mesh's own
// vertices: its exporter writes no texture coordinates or normals, so splitting vertices
// where those change would only open the surface a printer needs closed.
std::unique_ptr<aiScene> SceneOf(const MNMesh& mesh, const LiveNumbering& numbering,
                                 const MeshAttributes& a, bool threeMf) {
    // By (inside, material ID).
    std::map<std::pair<bool, MtlID>, Part> parts;
    std::pair<bool, MtlID> first(false, mesh.f[numbering.faces[0]].material);
    for (int fi : numbering.faces) {
        const MNFace& face = mesh.f[fi];
        Part& part =
            parts[threeMf ? first
                          : std::make_pair(face.GetFlag(cutflags::kInsideFace), face.material)];
        bool uv = !threeMf && CornersOf(a.uv, fi, face.deg);
        bool normal = !threeMf && CornersOf(a.normal, fi, face.deg);
        std::vector<unsigned> corners;
        for (int j = 0; j < face.deg; ++j)
            corners.push_back(part.Corner(face.vtx[j], uv ? a.uv[fi][j] : Point3(),
                                          normal ? a.normal[fi][j] : Point3()));
        if (face.deg == 3) {
            part.faces.push_back(corners);
            continue;
        }
        // Split here rather than by Assimp, whose ear clipping leaves zero-area triangles
        // where cut points line an edge.
        std::vector<Point3> positions;
        for (int j = 0; j < face.deg; ++j) positions.push_back(mesh.v[face.vtx[j]].p);
        for (const std::array<int, 3>& t : PolygonTriangles(positions))
            part.faces.push_back({corners[t[0]], corners[t[1]], corners[t[2]]});
    }
    std::map<MtlID, unsigned> materialIndex;
    for (const auto& entry : parts)
        materialIndex.emplace(entry.first.second, static_cast<unsigned>(materialIndex.size()));

    auto scene = std::make_unique<aiScene>();
    scene->mNumMaterials = static_cast<unsigned>(materialIndex.size());
    scene->mMaterials = new aiMaterial*[std::max<std::size_t>(materialIndex.size(), 1)];
    for (const auto& [id, index] : materialIndex) {
        std::string name = a.MaterialName(id);
        aiString named(name.empty() ? "mtl" + std::to_string(id + 1) : name);
        scene->mMaterials[index] = new aiMaterial();
        scene->mMaterials[index]->AddProperty(&named, AI_MATKEY_NAME);
    }
    std::string objectName = a.objectName.empty() ? "slitform" : a.objectName;
    scene->mNumMeshes = static_cast<unsigned>(parts.size());
    scene->mMeshes = new aiMesh*[std::max<std::size_t>(parts.size(), 1)];
    std::vector<unsigned> outside, inside;
    unsigned index = 0;
    for (const auto& [key, part] : parts) {
        bool in = key.first;
        scene->mMeshes[index] =
            MeshOf(mesh, a, part, materialIndex[key.second], in ? "slitform_inside" : objectName);
        (in ? inside : outside).push_back(index++);
    }
    // Every mesh under a child of the root: Assimp's 3MF exporter writes only those.
    scene->mRootNode = new aiNode("root");
    std::vector<aiNode*> children;
    for (const auto& [name, meshes] : {std::make_pair(objectName, outside),
                                       std::make_pair(std::string("slitform_inside"), inside)}) {
        if (meshes.empty())
            continue;
        auto* child = new aiNode(name);
        child->mParent = scene->mRootNode;
        AttachMeshes(child, meshes);
        children.push_back(child);
    }
    scene->mRootNode->addChildren(static_cast<unsigned>(children.size()), children.data());
    return scene;
}

// Gives every material whose library names a diffuse map its image, embedded (a glTF
// keeps it in its binary buffer), as far as ReadTextureImage reads it.
void EmbedTextures(aiScene& scene, const MeshAttributes& a) {
    std::vector<aiTexture*> textures;
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        aiString name;
        scene.mMaterials[m]->Get(AI_MATKEY_NAME, name);
        std::string bytes, format;
        if (!ReadTextureImage(DiffuseTexture(a.materialLibraryText, name.C_Str()), a.textureFolder,
                              bytes, format))
            continue;
        auto* texture = new aiTexture();
        texture->mWidth = static_cast<unsigned>(bytes.size());
        texture->mHeight = 0;  // compressed: mWidth bytes of a PNG or JPEG file
        std::snprintf(texture->achFormatHint, sizeof texture->achFormatHint, "%s", format.c_str());
        texture->pcData = new aiTexel[(bytes.size() + sizeof(aiTexel) - 1) / sizeof(aiTexel)];
        std::memcpy(texture->pcData, bytes.data(), bytes.size());
        aiString reference("*" + std::to_string(textures.size()));
        scene.mMaterials[m]->AddProperty(&reference, AI_MATKEY_TEXTURE_DIFFUSE(0));
        textures.push_back(texture);
    }
    if (textures.empty())
        return;
    scene.mNumTextures = static_cast<unsigned>(textures.size());
    scene.mTextures = new aiTexture*[textures.size()];
    std::copy(textures.begin(), textures.end(), scene.mTextures);
}

// A fresh folder for the exporter's files, removed with this.
class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "slitform-export-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()))
            path = name.data();
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string path;
};

}  // namespace

bool AssimpFiles(const MNMesh& mesh, const LiveNumbering& numbering,
                 const MeshAttributes* attributes, const std::string& formatId,
                 const std::string& fileName,
                 std::vector<std::pair<std::string, std::string>>& files, std::string& problem) {
    static const MeshAttributes kNone;
    files.clear();
    if (numbering.faces.empty()) {
        problem = "there are no faces to write";
        return false;
    }
    // Assimp's 3MF exporter writes every mesh into one object, which readers take
    // apart wrongly: it gets one mesh.
    const MeshAttributes& a = attributes ? *attributes : kNone;
    std::unique_ptr<aiScene> scene = SceneOf(mesh, numbering, a, formatId == "3mf");
    // glTF is Y-up by definition: a Z-up mesh stands up through the root node, its
    // vertices as they are: (x, y, z) goes to (x, z, -y).
    const bool gltf = formatId == "gltf2" || formatId == "glb2";
    if (gltf)
        EmbedTextures(*scene, a);
    if (gltf && a.up == slitform::UpAxis::Z)
        scene->mRootNode->mTransformation =
            aiMatrix4x4(1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1);
    ScratchDirectory scratch;
    if (scratch.path.empty()) {
        problem = "cannot make a temporary folder for the exporter";
        return false;
    }
    std::string main = scratch.path + "/" + fileName;
    Assimp::Exporter exporter;
    if (exporter.Export(scene.get(), formatId, main) != aiReturn_SUCCESS) {
        std::string why = exporter.GetErrorString();
        problem = why.empty() ? "the exporter failed" : why.substr(0, why.find_first_of("\r\n"));
        return false;
    }
    std::string bytes, error;
    if (!ReadFileBytes(main, bytes, error)) {
        problem = "the exporter wrote no file";
        return false;
    }
    files.emplace_back(fileName, bytes);
    for (const auto& entry : std::filesystem::directory_iterator(scratch.path)) {
        std::string name = entry.path().filename().string();
        if (name == fileName)
            continue;
        if (!ReadFileBytes(entry.path().string(), bytes, error)) {
            problem = "cannot read back the exporter's " + name;
            return false;
        }
        files.emplace_back(name, bytes);
    }
    return true;
}
