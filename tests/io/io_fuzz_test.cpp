// Mutated PLY, OBJ, SVG and JSON bytes: the readers never crash (the CI runs
// this under the address and undefined-behaviour sanitizers), answer every
// failure with one line naming the file, and build only consistent meshes.
#include <gtest/gtest.h>

#include <random>

#include "contract/cut_mesh_flags.h"
#include "io/build_mnmesh.h"
#include "io/json_shape_reader.h"
#include "io/live_numbering.h"
#include "io/obj_reader.h"
#include "io/ply_reader.h"
#include "io/ply_writer.h"
#include "io/svg_shape_reader.h"
#include "io_test_files.h"

namespace {

// Flips, inserts, deletes, duplicates or truncates a few bytes, favouring the
// characters that matter to the formats.
std::string Mutate(const std::string& seed, std::mt19937& random) {
    static const std::string kInteresting = "0123456789-+.eE \n\t/<>\"'=#[]{},:-1nanINF\xff\x80";
    std::string bytes = seed;
    std::uniform_int_distribution<int> edits(1, 4);
    for (int n = edits(random); n > 0 && !bytes.empty(); --n) {
        std::uniform_int_distribution<std::size_t> at(0, bytes.size() - 1);
        std::size_t i = at(random);
        char c = kInteresting[std::uniform_int_distribution<std::size_t>(
            0, kInteresting.size() - 1)(random)];
        switch (std::uniform_int_distribution<int>(0, 5)(random)) {
            case 0:
                bytes[i] = c;
                break;
            case 1:
                bytes.insert(i, 1, c);
                break;
            case 2:
                bytes.erase(i, 1 + i % 3);
                break;
            case 3:
                bytes[i] = static_cast<char>(random() & 0xFF);
                break;
            case 4:
                bytes.insert(i, bytes.substr(i, 1 + random() % 16));
                break;
            case 5:
                bytes.resize(i);
                break;
        }
    }
    return bytes;
}

std::string BinaryPlySeed() {
    MNMesh mesh;
    for (int k = 0; k < 8; ++k)
        mesh.NewVert(Point3(float(k & 1), float((k >> 1) & 1), float(k >> 2)));
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& f : faces) mesh.CreateFace(4, f);
    mesh.f[2].material = 3;
    mesh.e[0].flags = cutflags::kOutlineEdge;
    LiveNumbering numbering;
    std::string problem;
    NumberLiveComponents(mesh, numbering, problem);
    return PlyBytes(mesh, numbering, PlyEncoding::BinaryLittleEndian);
}

const char kAsciiPly[] =
    "ply\nformat ascii 1.0\nelement vertex 5\nproperty float x\nproperty float y\nproperty float "
    "z\n"
    "property uint flags\nelement face 3\nproperty list uchar int vertex_indices\n"
    "property ushort material_index\nelement edge 1\nproperty int vertex1\nproperty int vertex2\n"
    "property uint flags\nend_header\n0 0 0 1\n1 0 0 0\n1 1 0 0\n0 1 0 2\n2 2 2 0\n"
    "4 0 1 2 3 1\n3 2 4 3 0\n3 1 4 2 7\n0 1 134217728\n";

const char kObj[] =
    "mtllib box.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0.5 0.5 1\nvt 0 0\nvn 0 0 1\n"
    "usemtl red\ns 1\nf 1/1/1 2/1/1 3/1/1 4/1/1\nusemtl blue\ns off\nf 3 5 4\nf -4 -1 -3\n"
    "g side\nusemtl red\nf 1 5 2\n";

const char kSvg[] =
    "<?xml version='1.0'?>\n<svg xmlns='http://www.w3.org/2000/svg' width='100mm' height='50mm' "
    "viewBox='0 0 200 100'>\n<g transform='translate(10,5) rotate(15)'>\n"
    "<path d='M 10 10 C 20 0 30 0 40 10 S 60 20 70 10 Q 80 0 90 10 T 110 10 A 10 5 30 1 0 120 20 "
    "h 5 v 5 l -5 5 H 10 V 40 z m 5 5 l 10 0 l 0 10 z'/>\n"
    "<rect x='1' y='2' width='30' height='20' rx='4'/><circle cx='50' cy='50' r='8'/>\n"
    "<ellipse cx='5' cy='5' rx='3' ry='2'/><line x1='0' y1='0' x2='9' y2='9'/>\n"
    "<polyline points='0,0 5,5 10,0'/><polygon points='0 0 4 0 4 4'/></g>\n</svg>\n";

const char kJson[] =
    "{\"splines\": [{\"closed\": true, \"knots\": [{\"knot\": [0, 0, 0]}, "
    "{\"in\": [1, -1, 0], \"knot\": [2, 0, 0.5], \"out\": [3, 1, 0]}, {\"knot\": [2, 2, 0]}]}, "
    "{\"knots\": [{\"knot\": [5, 5, 5]}]}]}";

void ExpectFailureSaysWhere(bool ok, const std::string& error, const std::string& path) {
    if (!ok) {
        EXPECT_TRUE(OneLineErrorNaming(error, path));
    }
}

TEST(IoFuzz, MutatedMeshFilesNeverCrashAndBuildConsistentMeshes) {
    std::mt19937 random(20261207);
    const std::string seeds[] = {kAsciiPly, BinaryPlySeed(), kObj};
    int accepted = 0;
    for (int round = 0; round < 150; ++round)
        for (int kind = 0; kind < 3; ++kind) {
            std::string bytes = Mutate(seeds[kind], random);
            const std::string path = kind == 2 ? "fuzz.obj" : "fuzz.ply";
            slitform::Mesh data;
            MeshFlags flags;
            std::vector<std::string> warnings;
            std::string error;
            bool ok = kind == 2 ? ReadObjMesh(path, bytes, data, flags, &warnings, error)
                                : ReadPlyMesh(path, bytes, data, flags, &warnings, error);
            ExpectFailureSaysWhere(ok, error, path);
            if (!ok)
                continue;
            ++accepted;
            MNMesh mesh;
            BuildMNMesh(path, data, &flags, mesh, &warnings);
            std::string why;
            EXPECT_TRUE(mesh.CheckAllData(&why)) << why << "\n" << bytes;
            for (const std::string& w : warnings) EXPECT_TRUE(OneLineErrorNaming(w, path));
        }
    // The mutations leave some files readable, so the building is exercised too.
    EXPECT_GT(accepted, 20);
}

TEST(IoFuzz, MutatedShapeFilesNeverCrash) {
    std::mt19937 random(7122026);
    int accepted = 0;
    for (int round = 0; round < 150; ++round)
        for (int kind = 0; kind < 2; ++kind) {
            std::string bytes = Mutate(kind == 0 ? kSvg : kJson, random);
            const std::string path = kind == 0 ? "fuzz.svg" : "fuzz.json";
            std::vector<Spline3D> splines;
            std::string error;
            bool ok = kind == 0 ? ReadSvgShape(path, bytes, splines, error)
                                : ReadJsonShape(path, bytes, splines, error);
            ExpectFailureSaysWhere(ok, error, path);
            accepted += ok ? 1 : 0;
            for (const Spline3D& spline : splines)
                for (const SplineKnot& k : spline.knots)
                    for (const Point3* p : {&k.inVec, &k.knot, &k.outVec})
                        EXPECT_TRUE(std::isfinite(p->x) && std::isfinite(p->y) &&
                                    std::isfinite(p->z));
        }
    EXPECT_GT(accepted, 10);
}

}  // namespace
