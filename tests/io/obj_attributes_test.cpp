// OBJ files keep what an artist's tools put in them through a read and a write:
// the material library and names, object and groups, texture coordinates and
// normals per corner, vertex colours; the selection goes out as groups.
#include <gtest/gtest.h>

#include "contract/cut_mesh_flags.h"
#include "io/read_mesh.h"
#include "io/write_mesh.h"
#include "io_test_files.h"

namespace {

// Two quads on a UV seam (vertices 2 and 5 have u 1 on the left, 0 on the right),
// in two materials and two groups, with colours and normals.
const char* const kTextured =
    "mtllib crate.mtl\n"
    "o Crate\n"
    "v 0 0 0 1 0 0\nv 1 0 0 0 1 0\nv 2 0 0 0 0 1\nv 0 1 0 1 1 0\nv 1 1 0 0 1 1\nv 2 1 0 1 0 1\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0.5 0.25\n"
    "vn 0 0 1\nvn 0 0.6 0.8\n"
    "g lid\nusemtl Wood\nf 1/1/1 2/2/1 5/3/2 4/4/2\n"
    "g side\nusemtl Metal\nf 2/1/1 3/5/1 6/3/2 5/4/2\n";

struct Read {
    MNMesh mesh;
    MeshAttributes attributes;
};

Read ReadText(const ScratchFolder& folder, const std::string& name, const std::string& text) {
    Read read;
    std::string path = folder.File(name), error;
    WriteBytes(path, text);
    EXPECT_TRUE(ReadMesh(path, read.mesh, error, nullptr, &read.attributes)) << error;
    return read;
}

std::string WriteText(const ScratchFolder& folder, const Read& read, bool cutLines) {
    MeshWriteOptions options;
    options.attributes = &read.attributes;
    options.cutLines = cutLines;
    std::string path = folder.File("out.obj"), error;
    EXPECT_TRUE(WriteMesh(path, read.mesh, options, error)) << error;
    return ReadBytes(path);
}

}  // namespace

TEST(ObjAttributes, ReadKeepsNamesCornersColoursAndGroups) {
    ScratchFolder folder;
    Read in = ReadText(folder, "crate.obj", kTextured);
    const MeshAttributes& a = in.attributes;
    EXPECT_EQ(a.materialLibrary, "crate.mtl");
    EXPECT_EQ(a.objectName, "Crate");
    EXPECT_EQ(a.materialNames, (std::vector<std::string>{"Wood", "Metal"}));
    EXPECT_EQ(a.groupNames, (std::vector<std::string>{"lid", "side"}));
    EXPECT_EQ(a.faceGroup, (std::vector<int>{0, 1}));
    ASSERT_EQ(a.uv.size(), 2u);
    EXPECT_EQ(a.uv[0][1], Point3(1.0f, 0.0f, 0.0f));  // vertex 2 on the left
    EXPECT_EQ(a.uv[1][0], Point3(0.0f, 0.0f, 0.0f));  // and on the right: a seam
    EXPECT_EQ(a.uv[1][1], Point3(0.5f, 0.25f, 0.0f));
    EXPECT_EQ(a.normal[0][2], Point3(0.0f, 0.6f, 0.8f));
    ASSERT_EQ(a.color.size(), 6u);
    EXPECT_EQ(a.color[4], Point3(0.0f, 1.0f, 1.0f));
    EXPECT_EQ(in.mesh.f[1].material, 1);
}

TEST(ObjAttributes, WriteThenReadGivesTheSameAttributes) {
    ScratchFolder folder;
    WriteBytes(folder.File("crate.mtl"),
               "newmtl Wood\nmap_Kd -s 2 2 1 textures/wood.png\nnewmtl Metal\nKd 0.5 0.5 0.5\n");
    Read in = ReadText(folder, "crate.obj", kTextured);
    std::string text = WriteText(folder, in, false);
    // The materials go beside the result under its name, the texture found from there.
    EXPECT_NE(text.find("mtllib out.mtl\no Crate\n"), std::string::npos) << text;
    EXPECT_NE(
        ReadBytes(folder.File("out.mtl")).find("newmtl Wood\nmap_Kd -s 2 2 1 textures/wood.png\n"),
        std::string::npos);
    EXPECT_NE(text.find("usemtl Wood\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("mtl1"), std::string::npos) << text;
    Read back = ReadText(folder, "again.obj", text);
    EXPECT_EQ(back.attributes.materialLibrary, "out.mtl");
    EXPECT_EQ(back.attributes.materialLibraryText, in.attributes.materialLibraryText);
    EXPECT_EQ(back.attributes.objectName, in.attributes.objectName);
    EXPECT_EQ(back.attributes.materialNames, in.attributes.materialNames);
    EXPECT_EQ(back.attributes.groupNames, in.attributes.groupNames);
    EXPECT_EQ(back.attributes.faceGroup, in.attributes.faceGroup);
    EXPECT_EQ(back.attributes.uv, in.attributes.uv);
    EXPECT_EQ(back.attributes.normal, in.attributes.normal);
    EXPECT_EQ(back.attributes.color, in.attributes.color);
    for (int f = 0; f < in.mesh.numf; ++f) {
        EXPECT_EQ(back.mesh.f[f].vtx, in.mesh.f[f].vtx);
        EXPECT_EQ(back.mesh.f[f].material, in.mesh.f[f].material);
    }
}

TEST(ObjAttributes, TheSelectionAndCutLinesGoOutAsGroups) {
    ScratchFolder folder;
    Read in = ReadText(folder, "crate.obj", kTextured);
    in.mesh.f[1].SetFlag(cutflags::kInsideFace);
    in.mesh.e[in.mesh.FindEdge(1, 4)].SetFlag(cutflags::kCutLineEdge);
    std::string without = WriteText(folder, in, false);
    EXPECT_EQ(without.find("slitform_cut_lines"), std::string::npos) << without;
    EXPECT_EQ(without.find("\nl "), std::string::npos) << without;
    std::string text = WriteText(folder, in, true);
    EXPECT_NE(text.find("g slitform_inside\nusemtl Metal\nf 2/"), std::string::npos) << text;
    EXPECT_NE(text.find("g slitform_cut_lines\nl 2 5\n"), std::string::npos) << text;
    Read back = ReadText(folder, "again.obj", text);
    ASSERT_EQ(back.attributes.faceGroup.size(), 2u);
    EXPECT_EQ(back.attributes.groupNames[back.attributes.faceGroup[0]], "lid");
    EXPECT_EQ(back.attributes.groupNames[back.attributes.faceGroup[1]], "slitform_inside");
}

TEST(ObjAttributes, AnIndexOutOfRangeNamesTheFile) {
    ScratchFolder folder;
    std::string path = folder.File("bad.obj"), error;
    WriteBytes(path, "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/2 3/1\n");
    MNMesh mesh;
    MeshAttributes attributes;
    EXPECT_FALSE(ReadMesh(path, mesh, error, nullptr, &attributes));
    EXPECT_TRUE(OneLineErrorNaming(error, path));
}
