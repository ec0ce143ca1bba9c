// Broken mesh files: each gives false and one line naming the file and the
// problem, and leaves the caller's mesh as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "io/live_numbering.h"
#include "io/ply_writer.h"
#include "io/read_mesh.h"
#include "io_test_files.h"

namespace {

const std::string kHeader =
    "ply\nformat ascii 1.0\nelement vertex 8\nproperty float x\nproperty float y\n"
    "property float z\nelement face 4\nproperty list uchar int vertex_indices\nend_header\n";
const std::string kVertices = "0 0 0\n1 0 0\n1 1 0\n0 1 0\n0 0 1\n1 0 1\n1 1 1\n0 1 1\n";

struct BrokenFile {
    const char* name;
    std::string bytes;
    const char* says;  // a part of the expected message
};

void ExpectRefused(const std::string& path, const char* says) {
    MNMesh mesh;
    mesh.NewVert(Point3(1.0f, 2.0f, 3.0f));
    std::string error;
    std::vector<std::string> warnings;
    EXPECT_FALSE(ReadMesh(path, mesh, error, &warnings));
    EXPECT_TRUE(OneLineErrorNaming(error, path));
    EXPECT_NE(error.find(says), std::string::npos) << error;
    EXPECT_EQ(mesh.numv, 1);
    EXPECT_EQ(mesh.numf, 0);
}

class BrokenMesh : public ::testing::TestWithParam<BrokenFile> {};

TEST_P(BrokenMesh, IsRefusedWithAClearMessage) {
    ScratchFolder folder;
    std::string path = folder.File(GetParam().name);
    WriteBytes(path, GetParam().bytes);
    ExpectRefused(path, GetParam().says);
}

std::string Faces(const std::string& last) {
    return "4 0 1 2 3\n4 4 5 6 7\n3 0 1 5\n" + last;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

INSTANTIATE_TEST_SUITE_P(
    Ply, BrokenMesh,
    ::testing::Values(
        BrokenFile{"empty.ply", "", "is empty"},
        BrokenFile{"not_ply.ply", "solid cube\nfacet normal 0 0 1\n", "not a PLY file"},
        BrokenFile{"no_end.ply", "ply\nformat ascii 1.0\nelement vertex 0\n", "no end_header"},
        BrokenFile{"no_format.ply", "ply\nend_header\n", "no format line"},
        BrokenFile{"encoding.ply", Replace(kHeader + kVertices, "ascii", "utf8"),
                   "line 2: unknown encoding"},
        BrokenFile{"version.ply", Replace(kHeader + kVertices, "1.0", "2.0"), "format version"},
        BrokenFile{"type.ply", Replace(kHeader, "float y", "real y"), "line 5: expected: property"},
        BrokenFile{"keyword.ply", Replace(kHeader, "end_header", "begin_data\nend_header"),
                   "line 9: unknown header keyword"},
        BrokenFile{"cr_keyword.ply",
                   Replace(kHeader, "end_header", "begin\r\x1b[2J\rdata\nend_header"),
                   "line 9: unknown header keyword"},
        BrokenFile{"cr_encoding.ply", Replace(kHeader + kVertices, "ascii", "binary\rutf8"),
                   "unknown encoding"},
        BrokenFile{"nul_version.ply", Replace(kHeader + kVertices, "1.0", std::string("1.0\0x", 5)),
                   "format version"},
        BrokenFile{"cr_number.ply", Replace(kHeader + kVertices, "1 1 0\n", "1 1\r\x1b 0\n"),
                   "is not a number"},
        BrokenFile{"orphan.ply", Replace(kHeader, "element vertex 8\n", ""),
                   "property before any element"},
        BrokenFile{"count.ply", Replace(kHeader, "vertex 8", "vertex 99999999999"), "COUNT from 0"},
        BrokenFile{"twice.ply", Replace(kHeader, "property float z", "property float y"),
                   "a second property \"y\""},
        BrokenFile{"bare.ply",
                   Replace(kHeader, "element face 4", "element face 4\nelement empty 5"),
                   "element \"face\" has no properties"},
        BrokenFile{"no_z.ply", Replace(kHeader, "property float z\n", ""), "x, y and z"},
        BrokenFile{"no_vertex.ply", "ply\nformat ascii 1.0\nend_header\n", "no vertex element"},
        BrokenFile{"no_list.ply",
                   Replace(kHeader, "list uchar int vertex_indices", "int vertex_indices"),
                   "integer list property vertex_indices"},
        BrokenFile{"float_flags.ply",
                   Replace(kHeader, "end_header", "property float flags\nend_header"),
                   "\"flags\" of element \"face\" must be a single integer"},
        BrokenFile{"index.ply", kHeader + kVertices + Faces("3 0 1 12\n"),
                   "line 21: face 3 has vertex index 12 but there are 8 vertices"},
        BrokenFile{"negative.ply", kHeader + kVertices + Faces("3 0 -1 2\n"), "vertex index -1"},
        BrokenFile{"truncated.ply", kHeader + kVertices + Faces(""),
                   "the data ends after 3 of 4 face items"},
        BrokenFile{"huge.ply", Replace(kHeader, "vertex 8", "vertex 2000000000") + kVertices,
                   "ends after 8 of 2000000000 vertex items"},
        BrokenFile{"short_line.ply", kHeader + Replace(kVertices, "1 1 0\n", "1 1\n"),
                   "line 12: vertex 2: fewer values"},
        BrokenFile{"long_line.ply", kHeader + Replace(kVertices, "1 1 0\n", "1 1 0 1\n"),
                   "line 12: vertex 2: more values"},
        BrokenFile{"short_list.ply", kHeader + kVertices + Faces("4 0 1 2\n"),
                   "line 21: face 3: fewer"},
        BrokenFile{"word.ply", kHeader + Replace(kVertices, "1 1 0\n", "1 one 0\n"),
                   "\"one\" is not a number"},
        BrokenFile{"comma.ply", kHeader + Replace(kVertices, "1 1 0\n", "1 1,5 0\n"),
                   "\"1,5\" is not a number"},
        BrokenFile{"nan.ply", kHeader + Replace(kVertices, "1 1 0\n", "1 nan 0\n"),
                   "vertex 2 has a coordinate that is not a finite"},
        BrokenFile{"inf.ply", kHeader + Replace(kVertices, "1 1 0\n", "1 -inf 0\n"),
                   "not a finite"},
        BrokenFile{"big.ply", kHeader + Replace(kVertices, "1 1 0\n", "1 1e39 0\n"),
                   "not a finite"},
        BrokenFile{"huger.ply", kHeader + Replace(kVertices, "1 1 0\n", "1 1e999 0\n"),
                   "out of range"},
        BrokenFile{"count_type.ply", kHeader + kVertices + Faces("300 0 1 2\n"),
                   "300 is out of range for uchar"},
        BrokenFile{"fraction.ply", kHeader + kVertices + Faces("3 0 1.5 2\n"),
                   "\"1.5\" is not an integer"},
        BrokenFile{"material.ply",
                   Replace(kHeader, "end_header", "property int material_index\nend_header") +
                       kVertices + "4 0 1 2 3 70000\n",
                   "face 0 has material_index 70000 outside 0 to 65535"},
        BrokenFile{"list_length.ply",
                   Replace(kHeader, "list uchar int", "list char int") + kVertices + Faces("-1\n"),
                   "negative length"},
        BrokenFile{
            "edge.ply",
            Replace(kHeader, "end_header",
                    "element edge 1\nproperty int vertex1\nproperty int vertex2\nend_header") +
                kVertices + Faces("3 0 1 2\n") + "0 8\n",
            "line 25: edge 0 has vertex index 8 but there are 8 vertices"},
        BrokenFile{"unknown.xyz", "solid\n", "unknown mesh format"}));

const std::string kOff = "OFF\n4 1 0\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n";

INSTANTIATE_TEST_SUITE_P(
    Off, BrokenMesh,
    ::testing::Values(
        BrokenFile{"empty.off", "# nothing\n", "is empty"},
        BrokenFile{"variant.off", "4OFF\n1 0 0\n", "line 1: \"4OFF\" files are not read"},
        BrokenFile{"counts.off", "OFF\nfour 1 0\n", "line 2: the counts must be"},
        BrokenFile{"huge.off", "OFF\n2000000000 1 0\n0 0 0\n", "more than its"},
        BrokenFile{"short.off", kOff.substr(0, kOff.size() - 6), "after 3 of 4 vertices"},
        BrokenFile{"word.off", Replace(kOff, "1 1 0", "1 x 0"), "line 5: a vertex needs three"},
        BrokenFile{"nan.off", Replace(kOff, "1 1 0", "1 nan 0"), "not a finite single"},
        BrokenFile{"big.off", Replace(kOff, "1 1 0", "1 1e39 0"), "not a finite single"},
        BrokenFile{"no_face.off", kOff, "line 6: the file ends after 0 of 1 faces"},
        BrokenFile{"index.off", kOff + "4 0 1 2 4\n", "line 7: vertex number 4 is out of range"},
        BrokenFile{"negative.off", kOff + "3 0 -1 2\n", "vertex number -1 is out of range"},
        BrokenFile{"fraction.off", kOff + "3 0 1.5 2\n", "not a whole number"},
        BrokenFile{"degree.off", kOff + "4000000000 0 1 2\n", "fewer vertex numbers than"},
        BrokenFile{"minus.off", kOff + "-3 0 1 2\n", "must start with its number"}));

// A FIFO nobody writes to would block the reader, a device never ends: both are refused
// at once, whatever the name says.
TEST(SpecialFile, IsRefusedWithoutBeingRead) {
    ScratchFolder folder;
    ASSERT_EQ(mkfifo(folder.File("pipe.stl").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", folder.File("zero.glb"));
    std::filesystem::create_symlink("/dev/zero", folder.File("zero.ply"));
    for (const char* name : {"pipe.stl", "zero.glb", "zero.ply"})
        ExpectRefused(folder.File(name), "is not a regular file");
}

std::string BinaryCube(PlyEncoding encoding) {
    MNMesh mesh;
    for (int k = 0; k < 8; ++k)
        mesh.NewVert(Point3(float(k & 1), float((k >> 1) & 1), float(k >> 2)));
    std::vector<int> quad = {0, 2, 3, 1};
    mesh.CreateFace(4, quad.data());
    LiveNumbering numbering;
    std::string problem;
    NumberLiveComponents(mesh, numbering, problem);
    return PlyBytes(mesh, numbering, encoding);
}

TEST(BrokenBinaryPly, TruncatedDataIsRefusedAtEveryCut) {
    ScratchFolder folder;
    std::string bytes = BinaryCube(PlyEncoding::BinaryLittleEndian);
    std::size_t dataStart = bytes.find("end_header\n") + 11;
    std::string path = folder.File("cut.ply");
    for (std::size_t size = dataStart; size < bytes.size(); ++size) {
        WriteBytes(path, bytes.substr(0, size));
        SCOPED_TRACE(size);
        ExpectRefused(path, "truncated");
    }
}

TEST(BrokenBinaryPly, HugeListLengthIsRefusedWithoutAllocatingIt) {
    ScratchFolder folder;
    std::string bytes = BinaryCube(PlyEncoding::BinaryBigEndian);
    bytes = Replace(bytes, "list uchar int", "list uint int");
    std::size_t face = bytes.find("end_header\n") + 11 + 8 * 16;
    bytes.insert(face, std::string("\xff\xff\xff", 3));  // the uchar 4 becomes uint 0xFFFFFF04
    std::string path = folder.File("huge_list.ply");
    WriteBytes(path, bytes);
    // The reader takes what follows for corners until one is out of range.
    ExpectRefused(path, "face 0");
}

TEST(BrokenObj, EachIsRefusedWithAClearMessage) {
    ScratchFolder folder;
    struct Case {
        const char* name;
        std::string bytes;
        const char* says;
    };
    const Case cases[] = {
        {"index.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 9\n",
         "line 4: vertex index 9 but there are 3 vertices"},
        {"relative.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf -1 -2 -4\n",
         "line 4: vertex index -4 but there are 3 vertices"},
        {"zero.obj", "# comment\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 0 1 2\n",
         "line 6: bad corner \"0\""},
        {"letters.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf a b c\n", "line 4: bad corner \"a\""},
        // The library would read these as 0 or as the readable start.
        {"nan.obj", "v 10 nan 0\n", "line 1: \"nan\" is not a number"},
        {"letter_o.obj", "v 0 0 0\r\nv 10 1O 0\r\n", "line 2: \"1O\" is not a number"},
        {"short.obj", "v 0 0 0\rv 1\r", "line 2: a vertex needs three coordinates"},
        {"exponent.obj", "v 1e1234567890 0 0\n", "line 1:"},
        {"long_index.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 2147483648\n",
         "line 4: vertex index 2147483648 but there are 3 vertices"},
        {"long_texture.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/99999999999 2 3\n",
         "line 4: bad corner \"1/99999999999\""},
        {"long_line.obj", "v 0 0 0\nl 1 -2147483649\n", "line 2: bad corner"},
        {"weight.obj", "v 0 0 0\nvw 1 1e30 0.5\n", "line 2: bad joint and weight"},
        {"escape.obj", "v 0 \x1b[2J 0\n", "line 1: \" [2J\" is not"},
        {"huge.obj", "v 0 0 0\nv 1e39 0 0\nv 0 1 0\nf 1 2 3\n", "vertex 2 has a coordinate"},
        {"missing.obj", "", "cannot open"},
    };
    std::filesystem::create_directory(folder.File("folder.obj"));
    ExpectRefused(folder.File("folder.obj"), "is a folder");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = folder.File(c.name);
        if (!c.bytes.empty())
            WriteBytes(path, c.bytes);
        ExpectRefused(path, c.says);
    }
}

}  // namespace
