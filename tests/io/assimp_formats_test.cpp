// Every format the application writes, read back by Assimp itself (the library
// other tools use) and by our own reader: counts, texture coordinates, material
// names and the selection survive where the format holds them.
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <assimp/Exporter.hpp>
#include <assimp/Importer.hpp>
#include <filesystem>
#include <functional>

#include "contract/cut_mesh_flags.h"
#include "io/read_mesh.h"
#include "io/write_mesh.h"
#include "io_test_files.h"

namespace {

// A quad and a pentagon on a UV seam, in materials Wood and Metal; the pentagon
// is inside the shape. 2 + 3 = 5 triangles.
const char* const kCrate =
    "mtllib crate.mtl\no Crate\n"
    "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\nv 1.5 1.5 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0.5 0.25\nvt 0.75 0.5\n"
    "vn 0 0 1\n"
    "usemtl Wood\nf 1/1/1 2/2/1 5/3/1 4/4/1\n"
    "usemtl Metal\nf 2/1/1 3/5/1 6/3/1 7/6/1 5/4/1\n";

struct Crate {
    MNMesh mesh;
    MeshAttributes attributes;
};

Crate ReadCrate(const ScratchFolder& folder) {
    Crate crate;
    std::string path = folder.File("crate.obj"), error;
    WriteBytes(path, kCrate);
    EXPECT_TRUE(ReadMesh(path, crate.mesh, error, nullptr, &crate.attributes)) << error;
    crate.mesh.f[1].SetFlag(cutflags::kInsideFace);
    return crate;
}

std::string Written(const ScratchFolder& folder, const Crate& crate, const std::string& name) {
    MeshWriteOptions options;
    options.attributes = &crate.attributes;
    std::string path = folder.File(name), error;
    EXPECT_TRUE(WriteMesh(path, crate.mesh, options, error)) << error;
    return path;
}

unsigned Triangles(const aiScene& scene) {
    unsigned count = 0;
    for (unsigned m = 0; m < scene.mNumMeshes; ++m)
        for (unsigned f = 0; f < scene.mMeshes[m]->mNumFaces; ++f)
            count += scene.mMeshes[m]->mFaces[f].mNumIndices - 2;
    return count;
}

bool HasMaterial(const aiScene& scene, const std::string& name) {
    for (unsigned i = 0; i < scene.mNumMaterials; ++i)
        if (name == scene.mMaterials[i]->GetName().C_Str())
            return true;
    return false;
}

const aiNode* FindNode(const aiNode& node, const std::string& name) {
    if (name == node.mName.C_Str())
        return &node;
    for (unsigned i = 0; i < node.mNumChildren; ++i)
        if (const aiNode* found = FindNode(*node.mChildren[i], name))
            return found;
    return nullptr;
}

// The texture coordinate Assimp holds at position p, or (-1, -1) when none.
aiVector3D UVAt(const aiScene& scene, const aiVector3D& p, unsigned material) {
    for (unsigned m = 0; m < scene.mNumMeshes; ++m) {
        const aiMesh& mesh = *scene.mMeshes[m];
        if (mesh.mMaterialIndex != material || !mesh.HasTextureCoords(0))
            continue;
        for (unsigned v = 0; v < mesh.mNumVertices; ++v)
            if ((mesh.mVertices[v] - p).Length() < 1e-6f)
                return mesh.mTextureCoords[0][v];
    }
    return aiVector3D(-1.0f, -1.0f, 0.0f);
}

unsigned MaterialIndex(const aiScene& scene, const std::string& name) {
    for (unsigned i = 0; i < scene.mNumMaterials; ++i)
        if (name == scene.mMaterials[i]->GetName().C_Str())
            return i;
    return scene.mNumMaterials;
}

}  // namespace

TEST(AssimpFormats, AssimpReadsEveryWrittenFormatWithItsTriangles) {
    ScratchFolder folder;
    Crate crate = ReadCrate(folder);
    for (const char* name :
         {"out.gltf", "out.glb", "out.stl", "out.off", "out.3mf", "out.obj", "out.ply"}) {
        Assimp::Importer importer;
        const aiScene* scene =
            importer.ReadFile(Written(folder, crate, name), aiProcess_Triangulate);
        ASSERT_NE(scene, nullptr) << name << ": " << importer.GetErrorString();
        EXPECT_EQ(Triangles(*scene), 5u) << name;
        // For printing, the faces stay joined across the texture seam at vertex 2.
        if (std::string(name) == "out.3mf") {
            EXPECT_EQ(scene->mMeshes[0]->mNumVertices, static_cast<unsigned>(crate.mesh.numv));
        }
    }
}

TEST(AssimpFormats, GltfCarriesTexturesMaterialsAndTheSelectionNode) {
    ScratchFolder folder;
    Crate crate = ReadCrate(folder);
    for (const char* name : {"sel.gltf", "sel.glb"}) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(Written(folder, crate, name), 0);
        ASSERT_NE(scene, nullptr) << name << ": " << importer.GetErrorString();
        EXPECT_TRUE(HasMaterial(*scene, "Wood")) << name;
        EXPECT_TRUE(HasMaterial(*scene, "Metal")) << name;
        const aiNode* inside = FindNode(*scene->mRootNode, "slitform_inside");
        ASSERT_NE(inside, nullptr) << name;
        ASSERT_EQ(inside->mNumMeshes, 1u) << name;
        EXPECT_EQ(scene->mMeshes[inside->mMeshes[0]]->mNumFaces, 3u) << name;
        // Vertex 2 (1, 0, 0) lies on the seam: u 1 in Wood, 0 in Metal.
        aiVector3D wood = UVAt(*scene, aiVector3D(1, 0, 0), MaterialIndex(*scene, "Wood"));
        aiVector3D metal = UVAt(*scene, aiVector3D(1, 0, 0), MaterialIndex(*scene, "Metal"));
        EXPECT_NEAR(wood.x, 1.0f, 1e-6f) << name;
        EXPECT_NEAR(metal.x, 0.0f, 1e-6f) << name;
        EXPECT_NEAR(wood.y, metal.y, 1e-6f) << name;
    }
}

// A glTF result embeds the images of the materials' diffuse maps that lie in the
// OBJ's own folder, and reads nothing outside it, not even through a link.
TEST(AssimpFormats, GltfEmbedsTheTexturesOfTheObjFolderOnly) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.File("in"));
    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + "wood pixels";
    WriteBytes(folder.File("in/wood.png"), png);
    WriteBytes(folder.File("secret.png"), std::string("\x89PNG\r\n\x1a\n", 8) + "secret");
    std::filesystem::create_symlink(folder.File("secret.png"), folder.File("in/metal.png"));
    WriteBytes(folder.File("in/crate.mtl"),
               "newmtl Wood\nmap_Kd wood.png\nnewmtl Metal\nmap_Kd metal.png\n");
    WriteBytes(folder.File("in/crate.obj"), kCrate);
    Crate crate;
    std::string error;
    ASSERT_TRUE(
        ReadMesh(folder.File("in/crate.obj"), crate.mesh, error, nullptr, &crate.attributes))
        << error;
    for (const char* name : {"out.glb", "out.gltf"}) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFile(Written(folder, crate, name), 0);
        ASSERT_NE(scene, nullptr) << name << ": " << importer.GetErrorString();
        ASSERT_EQ(scene->mNumTextures, 1u) << name;
        const aiTexture& texture = *scene->mTextures[0];
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(texture.pcData), texture.mWidth), png)
            << name;
    }
}

TEST(AssimpFormats, OurReaderGetsBackTheCornersAndNames) {
    ScratchFolder folder;
    Crate crate = ReadCrate(folder);
    for (const char* name : {"back.glb", "back.gltf"}) {
        MNMesh mesh;
        MeshAttributes back;
        std::string error;
        ASSERT_TRUE(ReadMesh(Written(folder, crate, name), mesh, error, nullptr, &back)) << error;
        EXPECT_EQ(mesh.numf, 5) << name;  // triangles
        EXPECT_EQ(mesh.numv, 7) << name;  // shared again
        // The Z-up crate was stood up in glTF's Y up and comes back Y-up.
        EXPECT_EQ(back.up, slitform::UpAxis::Y) << name;
        ASSERT_TRUE(back.HasUV()) << name;
        ASSERT_TRUE(back.HasNormals()) << name;
        for (int f = 0; f < mesh.numf; ++f) {
            std::string material = back.MaterialName(mesh.f[f].material);
            EXPECT_TRUE(material == "Wood" || material == "Metal") << material;
            for (int j = 0; j < mesh.f[f].deg; ++j) {
                // Every corner's value is the one the crate gives that vertex in that material.
                int v = mesh.f[f].vtx[j];
                int source = material == "Wood" ? 0 : 1;
                int k = -1;
                for (int i = 0; i < crate.mesh.f[source].deg; ++i) {
                    const Point3& p = crate.mesh.v[crate.mesh.f[source].vtx[i]].p;
                    if (Point3(p.x, p.z, -p.y) == mesh.v[v].p)
                        k = i;
                }
                ASSERT_GE(k, 0) << name;
                EXPECT_NEAR(back.uv[f][j].x, crate.attributes.uv[source][k].x, 1e-6f) << name;
                EXPECT_NEAR(back.uv[f][j].y, crate.attributes.uv[source][k].y, 1e-6f) << name;
                EXPECT_NEAR(back.normal[f][j].y, 1.0f, 1e-6f) << name;
            }
        }
    }
}

TEST(AssimpFormats, AnUnreadableFileGivesOneLineNamingIt) {
    ScratchFolder folder;
    for (const char* name : {"bad.glb", "bad.stl", "bad.3mf", "bad.fbx"}) {
        std::string path = folder.File(name), error;
        WriteBytes(path, "not a mesh at all");
        MNMesh mesh;
        EXPECT_FALSE(ReadMesh(path, mesh, error)) << name;
        EXPECT_TRUE(OneLineErrorNaming(error, path)) << error;
    }
}

// Assimp asserts on a damaged zip and recurses once per nesting level: such files end
// the reader's child process, never this one, and say so on one line.
TEST(AssimpFormats, AReaderThatCrashesEndsOnlyItsChild) {
    ScratchFolder folder;
    Crate crate = ReadCrate(folder);
    std::string zip = ReadBytes(Written(folder, crate, "crate.3mf"));
    // Flips a byte inside the model's compressed data, after its local zip header.
    const std::size_t name = zip.find("3D/3DModel.model");
    ASSERT_NE(name, std::string::npos);
    const std::size_t header = name - 30;
    auto field = [&](std::size_t at) {
        return static_cast<unsigned char>(zip[at]) | static_cast<unsigned char>(zip[at + 1]) << 8;
    };
    zip[name + field(header + 26) + field(header + 28) + 10] ^= 0x5a;
    std::string deep = R"({"asset":{"version":"2.0"},"scenes":[{"nodes":[0]}],"nodes":[)";
    for (int i = 1; i < 100000; ++i) deep += R"({"children":[)" + std::to_string(i) + "]},";
    deep += "{}]}";
    const struct {
        const char* name;
        std::string bytes;
        const char* says;
    } cases[] = {{"damaged.3mf", zip, "the reader stopped on one of its own checks"},
                 // A crash or, where a sanitizer catches the overflow, its abort.
                 {"deep.gltf", deep, "; the file is damaged"}};
    for (const auto& c : cases) {
        std::string path = folder.File(c.name), error;
        WriteBytes(path, c.bytes);
        MNMesh mesh;
        EXPECT_FALSE(ReadMesh(path, mesh, error)) << c.name;
        EXPECT_TRUE(OneLineErrorNaming(error, path)) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

// A glTF that says where its data lies wrongly is refused before a reader trusts it,
// naming the item, as the format's validator does.
TEST(AssimpFormats, AMalformedGltfIsRefusedNamingTheItem) {
    ScratchFolder folder;
    Crate crate = ReadCrate(folder);
    const std::string gltf = ReadBytes(Written(folder, crate, "crate.gltf"));
    auto changed = [&](const std::string& from, const std::string& to) {
        std::string text = gltf;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const struct {
        std::string bytes;
        const char* says;
    } cases[] = {
        {changed("\"byteOffset\": 0,", "\"byteOffset\": 18446744073709551608,"),
         "accessor 0: byteOffset must be"},
        {changed("\"componentType\": 5126", "\"componentType\": 5130"),
         "accessor 0: has no component type"},
        {changed("\"type\": \"VEC3\"", "\"type\": \"VEC2\""), "needs POSITION as three floats"},
        {changed("\"componentType\": 5125", "\"componentType\": 5126"),
         "indices must name an accessor of unsigned whole numbers"},
        {changed("\"mode\": 4", "\"mode\": 9"), "mesh 0 primitive 0: has no primitive mode"},
        {changed("\"target\"", "\"byteStride\": 0, \"target\""), "bufferView 0: byteStride"},
        {changed("\"byteLength\": ", "\"byteLength\": 8, \"x\": "),
         "bufferView 0: reaches past the end of its buffer"},
        {changed("\"count\"", "\"count\": 100000000, \"x\""),
         "accessor 0: reaches past the end of its bufferView"},
        {changed("\"asset\"",
                 "\"extensionsRequired\": [\"KHR_draco_mesh_compression\"], \"asset\""),
         "needs the extension \"KHR_draco_mesh_compression\""},
        {changed("\"matrix\": [", "\"matrix\": [1, 0, 0], \"x\": ["),
         "node 0: matrix must be 16 numbers"},
        // Qt's parser loses memory on a repeated member; readers differ on which counts.
        {changed("\"matrix\": [", "\"children\": [0], \"matrix\": ["),
         "names member \"children\" twice in one object"},
        // Fewer positions than the indices, read from crate.bin, name.
        {changed("\"count\": ", "\"count\": 3, \"y\": "),
         "index 3 is past the 3 vertices of its primitive"},
        {gltf.substr(0, gltf.size() / 2), "its JSON cannot be read"},
    };
    for (const auto& c : cases) {
        std::string path = folder.File("crate.gltf"), error;
        WriteBytes(path, c.bytes);
        MNMesh mesh;
        EXPECT_FALSE(ReadMesh(path, mesh, error)) << c.says;
        EXPECT_TRUE(OneLineErrorNaming(error, path)) << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    // A GLB whose header claims another length than the file's.
    std::string glb = ReadBytes(Written(folder, crate, "crate.glb")), error;
    glb[11] = '\x01';
    WriteBytes(folder.File("long.glb"), glb);
    MNMesh mesh;
    EXPECT_FALSE(ReadMesh(folder.File("long.glb"), mesh, error));
    EXPECT_NE(error.find("its header says"), std::string::npos) << error;
}

// A glTF's buffer is read from the file's own folder only, symlinks resolved; the
// refusal names the URI as the file wrote it.
TEST(AssimpFormats, ReferencedFilesAreReadOnlyFromTheFilesFolder) {
    ScratchFolder folder;
    Crate crate = ReadCrate(folder);
    std::string written = Written(folder, crate, "crate.gltf"), error;
    std::string gltf = ReadBytes(written);
    MNMesh original;
    ASSERT_TRUE(ReadMesh(written, original, error)) << error;
    std::filesystem::create_directory(folder.File("inner"));
    std::filesystem::copy_file(folder.File("crate.bin"), folder.File("inner/own.bin"));
    std::filesystem::create_symlink("../crate.bin", folder.File("inner/link.bin"));
    const struct {
        const char* uri;
        const char* says;  // empty: read
    } cases[] = {{"own.bin", ""},
                 {"../crate.bin", "refers to \"../crate.bin\", which is outside the file's folder"},
                 {"link.bin", "refers to \"link.bin\", which is outside the file's folder"},
                 {"missing.bin", "refers to \"missing.bin\", which does not exist"}};
    for (const auto& c : cases) {
        std::string path = folder.File("inner/crate.gltf"), text = gltf;
        text.replace(text.find("crate.bin"), 9, c.uri);
        WriteBytes(path, text);
        MNMesh mesh;
        bool read = ReadMesh(path, mesh, error);
        if (*c.says == '\0') {
            EXPECT_TRUE(read) << error;
            EXPECT_EQ(mesh.numf, original.numf);
        } else {
            EXPECT_FALSE(read) << c.uri;
            EXPECT_TRUE(OneLineErrorNaming(error, path)) << error;
            EXPECT_NE(error.find(c.says), std::string::npos) << error;
        }
    }
}

TEST(AssimpFormats, FbxIsReadWithItsFacesAndMaterials) {
    ScratchFolder folder;
    Crate crate = ReadCrate(folder);
    // No FBX writer of our own: Assimp turns our glTF into a text FBX (its binary
    // FBX it cannot read back).
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(Written(folder, crate, "for.glb"), 0);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    Assimp::Exporter exporter;
    std::string fbx = folder.File("crate.fbx");
    ASSERT_EQ(exporter.Export(scene, "fbxa", fbx), aiReturn_SUCCESS) << exporter.GetErrorString();
    MNMesh mesh;
    MeshAttributes back;
    std::string error;
    ASSERT_TRUE(ReadMesh(fbx, mesh, error, nullptr, &back)) << error;
    EXPECT_EQ(mesh.numf, 5);
    EXPECT_EQ(mesh.numv, 7);
    EXPECT_TRUE(back.HasUV());
    std::vector<std::string> used;
    for (int f = 0; f < mesh.numf; ++f) used.push_back(back.MaterialName(mesh.f[f].material));
    EXPECT_EQ(std::count(used.begin(), used.end(), "Wood"), 2);
    EXPECT_EQ(std::count(used.begin(), used.end(), "Metal"), 3);
}
