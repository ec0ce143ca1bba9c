#include "io/assimp_reader.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <array>
#include <assimp/Importer.hpp>
#include <cctype>
#include <cmath>
#include <map>

#include "io/atomic_write.h"
#include "io/folder_io_system.h"
#include "io/one_line_text.h"

namespace {

// Assimp's reason in our words: the format named, its phrase kept short and clean
// (its parsers quote the file's own bytes, control characters and all).
std::string ReaderProblem(const std::string& path, const std::string& why) {
    std::string format = path.substr(path.find_last_of('.') + 1);
    for (char& c : format) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (why.empty())
        return "cannot be read as " + format;
    if (why.find("No suitable reader") != std::string::npos)
        return "is not a " + format + " file (its content does not match its name)";
    if (why.find("No scene") != std::string::npos)
        return "holds no scene, so no mesh to cut";
    return "cannot be read as " + format + ": " +
           OneLine(why.substr(0, why.find_first_of("\r\n")), 80);
}

bool Finite(const aiVector3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) &&
           std::fabs(p.x) <= 3.4e38f && std::fabs(p.y) <= 3.4e38f && std::fabs(p.z) <= 3.4e38f;
}

class SceneReader {
public:
    SceneReader(const aiScene& scene, slitform::Mesh& data) : scene(scene), data(data) {}

    // Appends the meshes under node, placed by parent's transform and its own.
    bool Node(const aiNode& node, const aiMatrix4x4& parent, std::string& problem) {
        aiMatrix4x4 transform = parent * node.mTransformation;
        aiMatrix3x3 rotation(transform);
        rotation.Inverse().Transpose();
        for (unsigned i = 0; i < node.mNumMeshes; ++i) {
            if (data.name.empty())
                data.name = node.mName.C_Str();
            if (!Mesh(*scene.mMeshes[node.mMeshes[i]], transform, rotation, problem))
                return false;
        }
        for (unsigned i = 0; i < node.mNumChildren; ++i)
            if (!Node(*node.mChildren[i], transform, problem))
                return false;
        return true;
    }

    unsigned skipped = 0;  // points and lines

private:
    int Position(const aiVector3D& p) {
        auto found = positions.emplace(std::array<float, 3>{p.x, p.y, p.z},
                                       static_cast<int>(data.positions.size()));
        if (found.second) {
            data.positions.push_back({p.x, p.y, p.z});
        }
        return found.first->second;
    }

    bool Mesh(const aiMesh& mesh, const aiMatrix4x4& transform, const aiMatrix3x3& rotation,
              std::string& problem) {
        std::vector<int> vertex(mesh.mNumVertices);
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            aiVector3D p = transform * mesh.mVertices[i];
            if (!Finite(p)) {
                problem = "a vertex has a coordinate that is not a finite single-precision number";
                return false;
            }
            vertex[i] = Position(p);
            if (mesh.HasVertexColors(0)) {
                if (data.colors.size() < data.positions.size())
                    data.colors.resize(data.positions.size(), {1.0f, 1.0f, 1.0f});
                const aiColor4D& c = mesh.mColors[0][i];
                data.colors[vertex[i]] = {c.r, c.g, c.b};
            }
        }
        std::vector<std::int32_t> corners;
        std::vector<slitform::Vec3> uvs, normals;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices < 3) {
                ++skipped;
                continue;
            }
            corners.clear();
            uvs.clear();
            normals.clear();
            for (unsigned k = 0; k < face.mNumIndices; ++k) {
                unsigned index = face.mIndices[k];
                corners.push_back(vertex[index]);
                slitform::Vec3 uv{0.0f, 0.0f, 0.0f}, normal{0.0f, 0.0f, 0.0f};
                if (mesh.HasTextureCoords(0))
                    uv = {mesh.mTextureCoords[0][index].x, mesh.mTextureCoords[0][index].y,
                          mesh.mTextureCoords[0][index].z};
                if (mesh.HasNormals()) {
                    aiVector3D n = rotation * mesh.mNormals[index];
                    n.Normalize();
                    normal = {n.x, n.y, n.z};
                }
                uvs.push_back(uv);
                normals.push_back(normal);
            }
            data.AddFace(corners);
            Corners(data.uvs, mesh.HasTextureCoords(0), uvs);
            Corners(data.normals, mesh.HasNormals(), normals);
            data.materials.push_back(static_cast<std::uint16_t>(mesh.mMaterialIndex));
        }
        return true;
    }

    // Appends the face's corner values (zeros where its mesh has none) once any
    // mesh has them, the earlier corners getting zeros.
    void Corners(std::vector<slitform::Vec3>& values, bool has,
                 const std::vector<slitform::Vec3>& face) {
        if (!has && values.empty())
            return;
        values.resize(data.corners.size() - face.size());
        if (has)
            values.insert(values.end(), face.begin(), face.end());
        else
            values.resize(data.corners.size());
    }

    const aiScene& scene;
    slitform::Mesh& data;
    std::map<std::array<float, 3>, int> positions;
};

}  // namespace

bool ReadAssimpMesh(const std::string& path, const std::string& bytes, slitform::Mesh& data,
                    std::vector<std::string>* warnings, std::string& error) {
    data = slitform::Mesh();
    Assimp::Importer importer;
    // The importer owns and deletes its file system. Referenced files lie beside the
    // file itself, as our writer puts them, not beside a link to it.
    const std::string file = FileBehindLinks(path);
    auto* files = new FolderIOSystem(file, bytes);
    importer.SetIOHandler(files);
    const aiScene* scene = importer.ReadFile(file, aiProcess_ValidateDataStructure);
    if (!files->Refusal().empty()) {
        error = path + ": " + files->Refusal();
        return false;
    }
    if (!scene || !scene->mRootNode) {
        error = path + ": " + ReaderProblem(path, importer.GetErrorString());
        return false;
    }
    for (unsigned i = 0; i < scene->mNumMaterials; ++i)
        data.materialNames.push_back(scene->mMaterials[i]->GetName().C_Str());
    SceneReader reader(*scene, data);
    std::string problem;
    if (!reader.Node(*scene->mRootNode, aiMatrix4x4(), problem)) {
        error = path + ": " + problem;
        return false;
    }
    if (!data.colors.empty())
        data.colors.resize(data.positions.size(), {1.0f, 1.0f, 1.0f});
    if (reader.skipped > 0 && warnings)
        warnings->push_back(path + ": skipped " + std::to_string(reader.skipped) +
                            " point(s) and line(s)");
    return true;
}
