// Writing meshes and reading them back: PLY keeps everything, OBJ the geometry
// and materials; dead components are dropped; files are replaced whole or not at all.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "contract/cut_mesh_flags.h"
#include "io/atomic_write.h"
#include "io/file_bytes.h"
#include "io/live_numbering.h"
#include "io/ply_writer.h"
#include "io/read_mesh.h"
#include "io/write_mesh.h"
#include "io_test_files.h"

namespace {

int AddFace(MNMesh& m, std::vector<int> vv) {
    return m.CreateFace(static_cast<int>(vv.size()), vv.data());
}

// Two quads and a pentagon above them, sharing edges; every kind of flag, material
// and smoothing word set somewhere, including the top bits.
void MakeFlaggedMesh(MNMesh& m) {
    const float xy[8][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {2, 2}};
    for (const auto& p : xy) m.NewVert(Point3(p[0], p[1], 0.25f * p[0]));
    ASSERT_EQ(AddFace(m, {0, 1, 4, 3}), 0);
    ASSERT_EQ(AddFace(m, {1, 2, 5, 4}), 1);
    ASSERT_EQ(AddFace(m, {3, 4, 5, 7, 6}), 2);
    m.v[4].flags = cutflags::kSelectedByCut | cutflags::kCutCornerVertex;
    m.v[7].flags = 0xFFFFFFFD;  // all but the dead bit
    m.f[0].flags = cutflags::kInsideFace | cutflags::kSelectedByCut;
    m.f[1].material = 65535;
    m.f[1].smGroup = 0x80000001;
    m.f[2].material = 7;
    m.f[2].flags = MN_HIDDEN;
    m.e[m.FindEdge(3, 4)].flags = cutflags::kCutLineEdge | cutflags::kOutlineEdge;
    m.e[m.FindEdge(7, 6)].flags = cutflags::kInteriorEdge;
}

void ExpectSameMesh(const MNMesh& a, const MNMesh& b) {
    ASSERT_EQ(a.numv, b.numv);
    ASSERT_EQ(a.numf, b.numf);
    ASSERT_EQ(a.nume, b.nume);
    for (int i = 0; i < a.numv; ++i) {
        EXPECT_EQ(a.v[i].p, b.v[i].p) << "vertex " << i;
        EXPECT_EQ(a.v[i].flags, b.v[i].flags) << "vertex " << i;
    }
    for (int i = 0; i < a.numf; ++i) {
        EXPECT_EQ(a.f[i].vtx, b.f[i].vtx) << "face " << i;
        EXPECT_EQ(a.f[i].flags, b.f[i].flags) << "face " << i;
        EXPECT_EQ(a.f[i].material, b.f[i].material) << "face " << i;
        EXPECT_EQ(a.f[i].smGroup, b.f[i].smGroup) << "face " << i;
    }
    for (int i = 0; i < a.nume; ++i) {
        int other = b.FindEdge(a.e[i].v1, a.e[i].v2);
        ASSERT_GE(other, 0) << "edge " << i;
        EXPECT_EQ(a.e[i].flags, b.e[other].flags) << "edge " << i;
    }
}

class PlyRoundTrip : public ::testing::TestWithParam<PlyEncoding> {};

TEST_P(PlyRoundTrip, KeepsPositionsCornersFlagsMaterialsAndGroups) {
    ScratchFolder folder;
    MNMesh mesh;
    MakeFlaggedMesh(mesh);
    std::string path = folder.File("flagged.ply");
    std::string error;
    ASSERT_TRUE(WriteMesh(path, mesh, error, GetParam())) << error;
    MNMesh back;
    std::vector<std::string> warnings;
    ASSERT_TRUE(ReadMesh(path, back, error, &warnings)) << error;
    EXPECT_TRUE(warnings.empty()) << warnings[0];
    ExpectSameMesh(mesh, back);
    std::string why;
    EXPECT_TRUE(back.CheckAllData(&why)) << why;
}

TEST_P(PlyRoundTrip, KeepsExactFloatsAndFacesOfMoreThan255Corners) {
    ScratchFolder folder;
    MNMesh mesh;
    const int n = 300;
    std::vector<int> ring;
    for (int i = 0; i < n; ++i) {
        float angle = 6.2831853f * float(i) / float(n);
        ring.push_back(mesh.NewVert(Point3(std::cos(angle), std::sin(angle), 1e-7f * float(i))));
    }
    mesh.NewVert(
        Point3(std::numeric_limits<float>::max(), -std::numeric_limits<float>::denorm_min(), 0.1f));
    ASSERT_EQ(AddFace(mesh, ring), 0);
    // OFF and OBJ hold the same, text only.
    for (const char* name : {"ring.ply", "ring.off", "ring.obj"}) {
        std::string path = folder.File(name);
        std::string error;
        ASSERT_TRUE(WriteMesh(path, mesh, error, GetParam())) << error;
        MNMesh back;
        ASSERT_TRUE(ReadMesh(path, back, error)) << error;
        ExpectSameMesh(mesh, back);
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, PlyRoundTrip,
                         ::testing::Values(PlyEncoding::Ascii, PlyEncoding::BinaryLittleEndian,
                                           PlyEncoding::BinaryBigEndian));

// A face's area, by the cross products of a fan (right for planar polygons).
double FaceArea(const MNMesh& m, int f) {
    const MNFace& face = m.f[f];
    Point3 sum(0.0f, 0.0f, 0.0f);
    for (int j = 1; j + 1 < face.deg; ++j)
        sum = sum + ((m.v[face.vtx[j]].p - m.v[face.vtx[0]].p) ^
                     (m.v[face.vtx[j + 1]].p - m.v[face.vtx[0]].p));
    return 0.5 * static_cast<double>(Length(sum));
}

// Every format we write reads back as the same surface: PLY, OBJ and OFF as the same
// faces, the triangulating ones (glTF, STL, 3MF) as deg - 2 triangles per face, none
// of zero area (corners along an edge included), covering the same area.
TEST(MeshWrite, EveryFormatReadsBackTheSameSurface) {
    ScratchFolder folder;
    MNMesh mesh;
    MakeFlaggedMesh(mesh);
    std::vector<int> edge;  // a heptagon with three corners along its bottom edge
    for (float x : {3.0f, 3.5f, 4.0f, 4.5f, 5.0f})
        edge.push_back(mesh.NewVert(Point3(x, 0, 0.25f * x)));
    edge.push_back(mesh.NewVert(Point3(5, 1, 1.25f)));
    edge.push_back(mesh.NewVert(Point3(3, 1, 0.75f)));
    AddFace(mesh, edge);
    double area = 0.0;
    int triangles = 0;
    for (int f = 0; f < mesh.numf; ++f) {
        area += FaceArea(mesh, f);
        triangles += mesh.f[f].deg - 2;
    }
    for (const char* name : {"s.ply", "s.obj", "s.off", "s.gltf", "s.glb", "s.stl", "s.3mf"}) {
        std::string path = folder.File(name), error;
        ASSERT_TRUE(WriteMesh(path, mesh, error)) << error;
        MNMesh back;
        std::vector<std::string> warnings;
        ASSERT_TRUE(ReadMesh(path, back, error, &warnings)) << error;
        EXPECT_TRUE(warnings.empty()) << name << ": " << warnings[0];
        const std::string extension = LowerCaseExtension(path);
        if (extension == "ply" || extension == "obj" || extension == "off") {
            ASSERT_EQ(back.numf, mesh.numf) << name;
            for (int f = 0; f < mesh.numf; ++f) EXPECT_EQ(back.f[f].vtx, mesh.f[f].vtx) << name;
            for (int v = 0; v < mesh.numv; ++v) EXPECT_EQ(back.v[v].p, mesh.v[v].p) << name;
            continue;
        }
        ASSERT_EQ(back.numf, triangles) << name;
        double backArea = 0.0;
        for (int f = 0; f < back.numf; ++f) {
            EXPECT_EQ(back.f[f].deg, 3) << name;
            EXPECT_GT(FaceArea(back, f), 1e-3) << name << " face " << f;
            backArea += FaceArea(back, f);
        }
        EXPECT_NEAR(backArea, area, 1e-5 * area) << name;
    }
}

TEST(MeshWrite, DropsDeadComponentsAndRenumbers) {
    ScratchFolder folder;
    MNMesh mesh;
    MakeFlaggedMesh(mesh);
    mesh.f[0].SetFlag(cutflags::kReplacedFace);
    mesh.DeleteFlaggedFaces(cutflags::kReplacedFace);  // vertex 0 goes with face 0
    ASSERT_TRUE(mesh.v[0].GetFlag(MN_DEAD));
    std::string path = folder.File("cut.ply");
    std::string error;
    ASSERT_TRUE(WriteMesh(path, mesh, error)) << error;
    MNMesh back;
    ASSERT_TRUE(ReadMesh(path, back, error)) << error;
    ASSERT_EQ(back.numv, 7);
    ASSERT_EQ(back.numf, 2);
    EXPECT_EQ(back.nume, 8);
    EXPECT_EQ(back.f[0].vtx, (std::vector<int>{0, 1, 4, 3}));     // was 1 2 5 4
    EXPECT_EQ(back.f[1].vtx, (std::vector<int>{2, 3, 4, 6, 5}));  // was 3 4 5 7 6
    EXPECT_EQ(back.f[1].material, 7);
    for (int i = 0; i < back.numv; ++i) EXPECT_EQ(back.v[i].p, mesh.v[i + 1].p);
    EXPECT_EQ(back.e[back.FindEdge(2, 3)].flags, cutflags::kCutLineEdge | cutflags::kOutlineEdge);
    for (int i = 0; i < back.nume; ++i) EXPECT_FALSE(back.e[i].GetFlag(MN_DEAD));
}

TEST(MeshWrite, ObjKeepsNgonsAndNamesMaterialsByAppearance) {
    ScratchFolder folder;
    MNMesh mesh;
    MakeFlaggedMesh(mesh);
    mesh.f[0].material = 2;
    mesh.f[1].material = 0;
    mesh.f[2].material = 2;
    std::string path = folder.File("flagged.obj");
    std::string error;
    ASSERT_TRUE(WriteMesh(path, mesh, error)) << error;
    std::string text = ReadBytes(path);
    EXPECT_NE(
        text.find("g slitform_inside\nusemtl mtl3\nf 1 2 5 4\ng default\nusemtl mtl1\nf 2 3 6 "
                  "5\nusemtl mtl3\nf 4 5 6 8 7\n"),
        std::string::npos)
        << text;
    MNMesh back;
    ASSERT_TRUE(ReadMesh(path, back, error)) << error;
    ASSERT_EQ(back.numv, 8);
    ASSERT_EQ(back.numf, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(back.f[i].vtx, mesh.f[i].vtx);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(back.v[i].p, mesh.v[i].p);
    // Names come back as IDs in order of first appearance.
    EXPECT_EQ(back.f[0].material, 0);
    EXPECT_EQ(back.f[1].material, 1);
    EXPECT_EQ(back.f[2].material, 0);
}

TEST(MeshWrite, ObjPutsEveryFaceInAGroupOnceAnyIsInside) {
    ScratchFolder folder;
    MNMesh mesh;
    MakeFlaggedMesh(mesh);
    std::string error;
    // The first face outside: it opens the default group, not an unnamed one.
    mesh.f[0].ClearFlag(cutflags::kInsideFace);
    mesh.f[2].SetFlag(cutflags::kInsideFace);
    std::string path = folder.File("grouped.obj");
    ASSERT_TRUE(WriteMesh(path, mesh, error)) << error;
    std::string text = ReadBytes(path);
    std::size_t firstFace = text.find("\nf ");
    ASSERT_NE(firstFace, std::string::npos) << text;
    EXPECT_NE(text.rfind("g default\n", firstFace), std::string::npos) << text;
    EXPECT_NE(text.find("g slitform_inside\n", firstFace), std::string::npos) << text;
    // Nothing inside: no groups at all.
    mesh.f[2].ClearFlag(cutflags::kInsideFace);
    ASSERT_TRUE(WriteMesh(path, mesh, error)) << error;
    EXPECT_EQ(ReadBytes(path).find("\ng "), std::string::npos) << ReadBytes(path);
}

TEST(MeshWrite, ReplacesAnExistingFileWhole) {
    ScratchFolder folder;
    std::string path = folder.File("out.ply");
    WriteBytes(path, std::string(100000, 'x'));
    MNMesh mesh;
    MakeFlaggedMesh(mesh);
    std::string error;
    ASSERT_TRUE(WriteMesh(path, mesh, error)) << error;
    EXPECT_EQ(ReadBytes(path).rfind("ply\n", 0), 0u);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.ply"});
}

TEST(MeshWrite, FailureLeavesTheTargetAndNoTemporaryFile) {
    ScratchFolder folder;
    std::string path = folder.File("keep.ply");
    WriteBytes(path, "old content");
    MNMesh mesh;
    MakeFlaggedMesh(mesh);
    mesh.v[5].p.y = std::numeric_limits<float>::quiet_NaN();
    std::string error;
    EXPECT_FALSE(WriteMesh(path, mesh, error));
    EXPECT_TRUE(OneLineErrorNaming(error, path));
    EXPECT_NE(error.find("vertex 5"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), "old content");

    mesh.v[5].p.y = 1.0f;
    std::string folderTarget = folder.File("taken");
    std::filesystem::create_directory(folderTarget);
    EXPECT_FALSE(WriteMesh(folderTarget + "/", mesh, error));         // no file name
    EXPECT_FALSE(WriteFileAtomically(folderTarget, "bytes", error));  // rename onto a folder
    EXPECT_TRUE(OneLineErrorNaming(error, folderTarget));
    EXPECT_FALSE(WriteMesh(folder.File("missing/out.ply"), mesh, error));
    EXPECT_TRUE(OneLineErrorNaming(error, folder.File("missing/out.ply")));
    EXPECT_FALSE(WriteMesh(folder.File("out.xyz"), mesh, error));
    EXPECT_NE(error.find("unknown mesh format"), std::string::npos) << error;

    std::vector<std::string> entries = folder.Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"keep.ply", "taken"}));
    EXPECT_TRUE(std::filesystem::is_empty(folderTarget));
}

// A pipe, a device or a loop of links is refused before anything is written, and left
// as it was; the longest name a folder allows is written; a linked .gltf's buffer goes
// beside the file itself, where the .gltf looks for it.
TEST(MeshWrite, RefusesWhatIsNoRegularFileAndWritesBehindLinks) {
    ScratchFolder folder;
    MNMesh mesh;
    MakeFlaggedMesh(mesh);
    ASSERT_EQ(mkfifo(folder.File("pipe.ply").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/null", folder.File("null.ply"));
    std::filesystem::create_symlink("loop_b.ply", folder.File("loop_a.ply"));
    std::filesystem::create_symlink("loop_a.ply", folder.File("loop_b.ply"));
    std::string error;
    for (const char* name : {"pipe.ply", "null.ply", "loop_a.ply"}) {
        EXPECT_FALSE(WriteMesh(folder.File(name), mesh, error)) << name;
        EXPECT_TRUE(OneLineErrorNaming(error, folder.File(name))) << error;
        EXPECT_FALSE(CheckMeshPath(folder.File(name), error)) << name;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(folder.File("pipe.ply")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("null.ply")));

    std::string longest = folder.File(std::string(251, 'n') + ".ply");
    EXPECT_TRUE(WriteMesh(longest, mesh, error)) << error;

    std::filesystem::create_directory(folder.File("real"));
    std::filesystem::create_symlink("real/model.gltf", folder.File("link.gltf"));
    ASSERT_TRUE(WriteMesh(folder.File("link.gltf"), mesh, error)) << error;
    EXPECT_TRUE(std::filesystem::exists(folder.File("real/model.bin")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("link.bin")));
    MNMesh back;
    EXPECT_TRUE(ReadMesh(folder.File("link.gltf"), back, error)) << error;
    EXPECT_GT(back.numf, 0);
}

TEST(MeshWrite, TerminationDuringTheWriteRemovesTheTemporaryFile) {
    for (int signal : {SIGTERM, SIGINT}) {
        ScratchFolder folder;
        std::string path = folder.File("big.ply");
        WriteBytes(path, "old content");
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::string error;
            WriteFileAtomically(path, std::string(200 << 20, 'x'), error);
            _exit(0);
        }
        // Wait for the temporary file to appear, then stop the writer.
        bool seen = false;
        for (int i = 0; i < 20000 && !seen; ++i) {
            seen = folder.Entries().size() > 1;
            if (!seen)
                usleep(500);
        }
        kill(child, signal);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(seen);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"big.ply"});
        EXPECT_EQ(ReadBytes(path), "old content");
    }
}

}  // namespace
