// Reading meshes written by other programs: PLY variants and OBJ with n-gons,
// shared vertices, usemtl names and smoothing groups.
#include <gtest/gtest.h>

#include "io/read_mesh.h"
#include "io_test_files.h"

namespace {

TEST(PlyRead, TakesOtherTypesPropertiesElementsAndLineEndings) {
    ScratchFolder folder;
    std::string path = folder.File("other.PLY");
    WriteBytes(path,
               "ply\r\n"
               "format ascii 1.0\r\n"
               "comment from another program\r\n"
               "obj_info anything\r\n"
               "element vertex 5\r\n"
               "property double x\r\n"
               "property float32 nx\r\n"
               "property double y\r\n"
               "property double z\r\n"
               "property int flags\r\n"
               "element material 1\r\n"
               "property list uchar float values\r\n"
               "element face 2\r\n"
               "property uchar red\r\n"
               "property list ushort uint vertex_index\r\n"
               "property int material_index\r\n"
               "element edge 1\r\n"
               "property int vertex1\r\n"
               "property uint vertex2\r\n"
               "end_header\r\n"
               "0 9 0 0 -1\r\n"
               "1 9 0 0 0\r\n"
               "\r\n"
               "1 9 1 +0.5 5\r\n"
               "0.000000000001 9 1 -2.5e3 0\r\n"
               "0.5\t9 2 0 0\r\n"
               "3 1.0 2.0 3.0\r\n"
               "200 4 0 1 2 3 12\r\n"
               "7 3 3 2 4 0\r\n"
               "0 1\r\n");
    MNMesh mesh;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ReadMesh(path, mesh, error, &warnings)) << error;
    EXPECT_TRUE(warnings.empty());
    ASSERT_EQ(mesh.numv, 5);
    ASSERT_EQ(mesh.numf, 2);
    EXPECT_EQ(mesh.v[2].p, Point3(1.0f, 1.0f, 0.5f));
    EXPECT_EQ(mesh.v[3].p, Point3(1e-12f, 1.0f, -2500.0f));
    EXPECT_EQ(mesh.v[0].flags, DWORD(0xFFFFFFFD));  // -1 as a bit pattern, without the dead bit
    EXPECT_EQ(mesh.v[2].flags, DWORD(5));
    EXPECT_EQ(mesh.f[0].vtx, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(mesh.f[0].material, 12);
    EXPECT_EQ(mesh.f[1].vtx, (std::vector<int>{3, 2, 4}));
    EXPECT_EQ(mesh.f[1].material, 0);
    std::string why;
    EXPECT_TRUE(mesh.CheckAllData(&why)) << why;
}

TEST(PlyRead, SkipsFacesTheMeshRefusesAndSaysWhich) {
    ScratchFolder folder;
    std::string path = folder.File("refused.ply");
    WriteBytes(path,
               "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
               "property float z\nelement face 5\nproperty list uchar int vertex_indices\n"
               "element edge 2\nproperty int vertex1\nproperty int vertex2\nproperty uint flags\n"
               "end_header\n"
               "0 0 0\n1 0 0\n1 1 0\n0 1 0\n"
               "3 0 1 2\n"
               "3 0 1 3\n"  // edge 0->1 again the same way
               "3 0 2 2\n"  // repeated corner
               "2 0 3\n"    // too few corners
               "3 0 2 3\n"
               "0 1 77\n"
               "1 3 5\n");  // no edge joins 1 and 3
    MNMesh mesh;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ReadMesh(path, mesh, error, &warnings)) << error;
    EXPECT_EQ(mesh.numf, 2);
    EXPECT_EQ(mesh.f[1].vtx, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(mesh.e[mesh.FindEdge(0, 1)].flags, DWORD(77));
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_TRUE(OneLineErrorNaming(warnings[0], path));
    EXPECT_NE(warnings[0].find("skipped 3 face(s)"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("faces 1, 2, 3"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("edges 1"), std::string::npos) << warnings[1];
}

TEST(PlyRead, WarnsAboutDataAfterTheLastElement) {
    ScratchFolder folder;
    std::string path = folder.File("tail.ply");
    WriteBytes(path,
               "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\n"
               "property float z\nend_header\n1 2 3\n4 5 6\n");
    MNMesh mesh;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ReadMesh(path, mesh, error, &warnings)) << error;
    EXPECT_EQ(mesh.numv, 1);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("after the last element"), std::string::npos);
}

TEST(ObjRead, KeepsNgonsSharedVerticesMaterialsAndSmoothingGroups) {
    ScratchFolder folder;
    std::string path = folder.File("box.obj");
    WriteBytes(path,
               "# two quads, a pentagon and a triangle\n"
               "mtllib missing.mtl\n"
               "v 0 0 0\nv 1 0 0\nv 2 0 0\nv 0 1 0\nv 1 1 0\nv 2 1 0\nv 0 2 0\nv 2 2 0.5\n"
               "vt 0 0\nvn 0 0 1\n"
               "f 1 2 5 4\n"
               "usemtl wood\n"
               "s 3\n"
               "f 2/1 3/1 6/1 5/1\n"
               "usemtl  steel \n"
               "s off\n"
               "f 4//1 5//1 6//1 8//1 7//1\n"
               "usemtl wood\n"
               "s 33\n"
               "l 1 2\n"
               "f -6 -7 -3\n"
               "s 4294967330\n"
               "f 1 3 8\n");
    MNMesh mesh;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ReadMesh(path, mesh, error, &warnings)) << error;
    ASSERT_EQ(mesh.numv, 8);
    ASSERT_EQ(mesh.numf, 5);
    EXPECT_EQ(mesh.nume, 14);  // shared vertices: neighbours share their edges
    EXPECT_EQ(mesh.v[7].p, Point3(2.0f, 2.0f, 0.5f));
    EXPECT_EQ(mesh.f[2].vtx, (std::vector<int>{3, 4, 5, 7, 6}));
    EXPECT_EQ(mesh.f[3].vtx, (std::vector<int>{2, 1, 5}));
    EXPECT_EQ(mesh.f[0].material, 0);  // before any usemtl
    EXPECT_EQ(mesh.f[1].material, 0);  // wood, the first name
    EXPECT_EQ(mesh.f[2].material, 1);  // steel
    EXPECT_EQ(mesh.f[3].material, 0);
    EXPECT_EQ(mesh.f[0].smGroup, DWORD(0));
    EXPECT_EQ(mesh.f[1].smGroup, DWORD(0x4));
    EXPECT_EQ(mesh.f[2].smGroup, DWORD(0));
    EXPECT_EQ(mesh.f[3].smGroup, DWORD(0x1));  // 33 wraps to group 1
    // A number past 32 bits too: 2^32 + 34 is group 2, said once.
    EXPECT_EQ(mesh.f[4].smGroup, DWORD(0x2));
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("material library \"missing.mtl\" is not a readable file"),
              std::string::npos)
        << warnings[0];
    EXPECT_NE(warnings[1].find("line 24: smoothing group numbers past 32 bits"), std::string::npos)
        << warnings[1];
    std::string why;
    EXPECT_TRUE(mesh.CheckAllData(&why)) << why;
}

TEST(ObjRead, TakesEveryNumberFormAndLineTheLibraryReadsWhole) {
    ScratchFolder folder;
    std::string path = folder.File("forms.obj");
    WriteBytes(path,
               "v .5 -1. +2e1\nv 1 0 0 1\r\nv 0 1 0 0.5 0.5 0.5\rvw 1 0 0.25 2 0.75\n"
               "v 1 1 0\ns 1\nf 1 2 3\nl 1 -1\np 2\nvt 0 0\nf 2/1 4/1 3/1\nv\n");
    MNMesh mesh;
    std::string error;
    ASSERT_TRUE(ReadMesh(path, mesh, error)) << error;
    ASSERT_EQ(mesh.numv, 4);
    EXPECT_EQ(mesh.v[0].p, Point3(0.5f, -1.0f, 20.0f));
    EXPECT_EQ(mesh.numf, 2);
}

TEST(ObjRead, ReportsRefusedAndDegenerateFaces) {
    ScratchFolder folder;
    std::string path = folder.File("bad_faces.obj");
    WriteBytes(path, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 1 2 3\nf 1 2\n");
    MNMesh mesh;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ReadMesh(path, mesh, error, &warnings)) << error;
    EXPECT_EQ(mesh.numf, 1);
    ASSERT_FALSE(warnings.empty());
    bool skipped = false;
    for (const std::string& w : warnings) {
        EXPECT_TRUE(OneLineErrorNaming(w, path));
        skipped = skipped || w.find("skipped 1 face(s)") != std::string::npos;
    }
    EXPECT_TRUE(skipped);
}

}  // namespace
