// The library's files and conversions: meshes and shapes read and written as the
// command line does, selections kept in PLY flags, errors naming the file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "io/read_mesh.h"
#include "slitform/cut.h"
#include "slitform/read_mesh.h"
#include "slitform/read_shape.h"
#include "slitform/write_mesh.h"
#include "tests/api/grid_mesh.h"

namespace {

std::string TempPath(const std::string& name) {
    return testing::TempDir() + "api_" + std::to_string(getpid()) + "_" + name;
}

}  // namespace

TEST(Files, ReadMeshKeepsPolygonsAndMaterials) {
    slitform::Mesh box = slitform::ReadMesh(std::string(SLITFORM_EXAMPLES) + "/grid_box.ply");
    EXPECT_EQ(box.positions.size(), 186u);
    ASSERT_EQ(box.materials.size(), box.FaceCount());
    int top = 0;
    for (size_t f = 0; f < box.FaceCount(); ++f) {
        EXPECT_EQ(box.FaceDegree(f), 4u);
        top += box.materials[f] == 0;
    }
    EXPECT_EQ(top, 60);  // 10 x 6 quads on top
}

TEST(Files, WrittenMeshReadsBackTheSame) {
    slitform::Mesh grid = GridMesh(4);
    // An OBJ numbers materials by first appearance: these read back as they are.
    for (size_t f = 0; f < grid.FaceCount(); ++f)
        grid.materials.push_back(static_cast<std::uint16_t>(f % 3));
    for (const char* ext : {"ply", "obj"}) {
        std::string path = TempPath(std::string("grid.") + ext);
        slitform::WriteMesh(path, grid);
        slitform::Mesh back = slitform::ReadMesh(path);
        EXPECT_EQ(back.positions, grid.positions) << ext;
        EXPECT_EQ(back.faceStart, grid.faceStart) << ext;
        EXPECT_EQ(back.corners, grid.corners) << ext;
        EXPECT_EQ(back.materials, grid.materials) << ext;
        std::remove(path.c_str());
    }
}

TEST(Files, WrittenOutcomeKeepsItsSelectionsAsPlyFlags) {
    slitform::Shape shape;
    shape.lines.push_back(Square(2.5, 2.5, 0));
    slitform::Parameters parameters;
    parameters.plugin = SLITFORM_PLUGIN_FILE;
    slitform::Outcome out = slitform::Cut(GridMesh(5), shape, parameters);
    std::string path = TempPath("cut.ply");
    slitform::WriteMesh(path, out);
    MNMesh back;
    std::string error;
    ASSERT_TRUE(ReadMesh(path, back, error)) << error;
    std::remove(path.c_str());
    int faces = 0, edges = 0, verts = 0;
    for (int f = 0; f < back.numf; ++f) faces += back.f[f].GetFlag(MN_SEL);
    for (int e = 0; e < back.nume; ++e) edges += (back.e[e].flags & MN_SEL) != 0;
    for (int v = 0; v < back.numv; ++v) verts += (back.v[v].flags & MN_SEL) != 0;
    EXPECT_EQ(faces, static_cast<int>(out.selectedFaces.size()));
    EXPECT_EQ(edges, static_cast<int>(out.selectedEdges.size()));
    EXPECT_EQ(verts, static_cast<int>(out.selectedVertices.size()));
    EXPECT_GT(faces, 0);
}

TEST(Files, ReadShapeKeepsCurvesAndClosedFlags) {
    slitform::Shape ring = slitform::ReadShape(std::string(SLITFORM_EXAMPLES) + "/ring.json");
    ASSERT_EQ(ring.lines.size(), 2u);
    EXPECT_TRUE(ring.lines[0].closed);
    EXPECT_FALSE(ring.lines[1].closed);
    ASSERT_EQ(ring.lines[0].points.size(), 4u);
    EXPECT_EQ(ring.lines[0].points[0], (slitform::Point{40, 0, 5}));
    EXPECT_EQ(ring.lines[0].in[0], (slitform::Point{40, -22, 0}));
    EXPECT_EQ(ring.lines[0].out[0], (slitform::Point{40, 22, 10}));
    EXPECT_FALSE(ring.placed);
}

TEST(Files, ErrorsNameTheFile) {
    for (auto read : {+[](const std::string& p) { slitform::ReadMesh(p); },
                      +[](const std::string& p) { slitform::ReadShape(p); }}) {
        try {
            read("/no/such/file.ply");
            ADD_FAILURE() << "read a missing file";
        } catch (const slitform::Error& e) {
            EXPECT_NE(std::string(e.what()).find("/no/such/file.ply"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_THROW(slitform::WriteMesh(TempPath("grid.xyz"), GridMesh(2)), slitform::Error);
    slitform::Mesh bad = GridMesh(2);
    bad.corners[1] = 99;
    EXPECT_THROW(slitform::WriteMesh(TempPath("bad.ply"), bad), slitform::Error);
}
