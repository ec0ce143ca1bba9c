#include "plugin/dump_triangulation_input.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/facecut/weld_records.h"

namespace {

std::string BigEndian32(std::int32_t v) {
    std::uint32_t u = static_cast<std::uint32_t>(v);
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((u >> shift) & 0xFF);
    return s;
}

std::string LittleEndian(const double* values, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        std::uint64_t bits;
        std::memcpy(&bits, &values[i], sizeof bits);
        for (int b = 0; b < 8; ++b) s += static_cast<char>((bits >> (8 * b)) & 0xFF);
    }
    return s;
}

std::string LittleEndian(const int* values, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        std::uint32_t bits = static_cast<std::uint32_t>(values[i]);
        for (int b = 0; b < 4; ++b) s += static_cast<char>((bits >> (8 * b)) & 0xFF);
    }
    return s;
}

std::string Contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

class DumpTriangulationInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(drive.isValid());
        setenv("SLITFORM_DRIVE_D", drive.path().toStdString().c_str(), 1);
    }
    void TearDown() override { unsetenv("SLITFORM_DRIVE_D"); }

    QString OnDrive(const char* name) const { return drive.path() + "/" + name; }

    QTemporaryDir drive;
    // Point 0 at (0, 1.5), depth -0.25; point 1 at (-2, 0.25), depth 3; one segment.
    InputRecord record{{{0, 1.5, -0.25, -1}, {-2, 0.25, 3, -2}}, {0, 1}, {3}};
};

TEST_F(DumpTriangulationInputTest, BinaryFormHasBigEndianCountsAndRawArrays) {
    EXPECT_TRUE(DumpTriangulationInput("D:\\tri_0.bin", record.io, true));
    const triangulateio& io = record.io;
    std::string want = BigEndian32(2) + LittleEndian(io.pointlist, 4) + BigEndian32(2) +
                       LittleEndian(io.pointattributelist, 4) + BigEndian32(0) + BigEndian32(1) +
                       LittleEndian(io.segmentlist, 2);
    EXPECT_EQ(Contents(OnDrive("tri_0.bin")), want);
}

TEST_F(DumpTriangulationInputTest, TextFormShowsTheDepthOnly) {
    EXPECT_TRUE(DumpTriangulationInput("D:\\tri_0.txt", record.io, false));
    EXPECT_EQ(Contents(OnDrive("tri_0.txt")),
              "num verts: 2\n"
              "point pos:[0.000000, 1.500000, -0.250000] name:\"p0\"\n"
              "point pos:[-2.000000, 0.250000, 3.000000] name:\"p1\"\n"
              "num trees: 0\n"
              "num segments: 1\n"
              "0: 0 1\n");
}

TEST_F(DumpTriangulationInputTest, TrianglesAreWrittenInBothForms) {
    int triangle[3] = {1, 0, 1};
    record.io.trianglelist = triangle;
    record.io.numberoftriangles = 1;
    EXPECT_TRUE(DumpTriangulationInput("D:\\tri.txt", record.io, false));
    EXPECT_TRUE(DumpTriangulationInput("D:\\tri.bin", record.io, true));
    record.io.trianglelist = nullptr;
    std::string text = Contents(OnDrive("tri.txt"));
    EXPECT_NE(text.find("num trees: 1\n0: 1 0 1\nnum segments: 1\n"), std::string::npos) << text;
    std::string binary = Contents(OnDrive("tri.bin"));
    EXPECT_EQ(binary.size(), 4u + 32u + 4u + 32u + 4u + 12u + 4u + 8u);
    EXPECT_EQ(binary.substr(72, 16), BigEndian32(1) + LittleEndian(triangle, 3));
}

TEST_F(DumpTriangulationInputTest, SecondDumpReplacesTheFirst) {
    EXPECT_TRUE(DumpTriangulationInput("D:\\tri_1.txt", record.io, false));
    record.io.numberofsegments = 0;
    EXPECT_TRUE(DumpTriangulationInput("D:\\tri_1.txt", record.io, false));
    EXPECT_EQ(Contents(OnDrive("tri_1.txt")),
              "num verts: 2\n"
              "point pos:[0.000000, 1.500000, -0.250000] name:\"p0\"\n"
              "point pos:[-2.000000, 0.250000, 3.000000] name:\"p1\"\n"
              "num trees: 0\n"
              "num segments: 0\n");
}

TEST_F(DumpTriangulationInputTest, UnmappedDriveWritesNothing) {
    unsetenv("SLITFORM_DRIVE_D");
    EXPECT_FALSE(DumpTriangulationInput("D:\\tri_0.bin", record.io, true));
    EXPECT_FALSE(DumpTriangulationInput("D:\\tri_0.txt", record.io, false));
    EXPECT_TRUE(QDir(drive.path()).isEmpty());
    EXPECT_FALSE(QFile::exists("D:\\tri_0.bin"));
    EXPECT_FALSE(QFile::exists("D:\\tri_0.txt"));
    EXPECT_FALSE(QFile::exists("D:"));
}

}  // namespace
