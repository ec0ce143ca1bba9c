// The slitform program run on the example files: the written mesh's flags, the
// report, and the errors.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "contract/cut_mesh_flags.h"
#include "io/file_bytes.h"
#include "io/ply_reader.h"

namespace {

struct Outcome {
    int code = -1;
    std::string err;
    std::string out;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the program with args, or the shell command line given instead.
Outcome Slitform(const std::string& args, const std::string& commandLine = "") {
    // One file per test process: CTest runs the tests of this program side by side.
    std::string stem = ::testing::TempDir() + "slitform_" + std::to_string(getpid());
    std::string command =
        (commandLine.empty() ? std::string(SLITFORM_PROGRAM) + " " + args : commandLine) + " > " +
        stem + "_out.txt 2> " + stem + "_err.txt";
    int status = std::system(command.c_str());
    Outcome r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = ReadAll(stem + "_err.txt");
    r.out = ReadAll(stem + "_out.txt");
    return r;
}

std::string Example(const char* name) {
    return std::string(SLITFORM_EXAMPLES) + "/" + name;
}
std::string Temp(const char* name) {
    return ::testing::TempDir() + name;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(SlitformProgram, CutsTheExampleBoxWithTheStar) {
    std::string out = Temp("star_box.ply"), report = Temp("star_box.json"),
                picture = Temp("star_box.svg");
    Outcome r = Slitform("cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " +
                         out + " --report " + report + " --picture " + picture +
                         " --set matid_on=1 --set matid=3");
    ASSERT_EQ(r.code, 0) << r.err;

    slitform::Mesh data;
    MeshFlags flags;
    std::string error;
    ASSERT_TRUE(ReadPlyMesh(out, Slurp(out), data, flags, nullptr, error)) << error;
    int selectedEdges = 0, selectedFaces = 0, insideFaces = 0;
    for (const FlaggedEdge& e : flags.edges)
        selectedEdges += (e.flags & cutflags::kCutLineEdge) != 0;
    for (std::size_t f = 0; f < data.FaceCount(); ++f) {
        bool selected = flags.face[f] & cutflags::kSelectedByCut;
        selectedFaces += selected;
        insideFaces += (flags.face[f] & cutflags::kInsideFace) != 0;
        if (selected) {
            EXPECT_EQ(data.materials[f], 2) << f;
        }
    }
    EXPECT_GT(selectedEdges, 10);
    EXPECT_GT(selectedFaces, 0);
    EXPECT_EQ(selectedFaces, insideFaces);

    QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(Slurp(report))).object();
    EXPECT_GT(json["faces_cut"].toInt(), 0);
    EXPECT_EQ(json["selected"].toObject()["edges"].toInt(), selectedEdges);
    EXPECT_EQ(json["selected"].toObject()["faces"].toInt(), selectedFaces);
    EXPECT_EQ(json["out"].toObject()["faces"].toInt(), static_cast<int>(data.FaceCount()));
    EXPECT_EQ(json["projection_direction"].toArray()[2].toDouble(), -1.0);
    EXPECT_NE(Slurp(picture).find("#ff7a00"), std::string::npos);
}

TEST(SlitformProgram, OpenCutsHolesAndObjOutput) {
    std::string out = Temp("holes.obj");
    Outcome r = Slitform("cut " + Example("grid_box.obj") + " " + Example("lettering.svg") +
                         " -o " + out + " --set open=on");
    ASSERT_EQ(r.code, 0) << r.err;
    std::string obj = Slurp(out);
    EXPECT_NE(obj.find("\nf "), std::string::npos);
}

TEST(SlitformProgram, ErrorsNameTheFileAndLeaveOutputsAlone) {
    std::string out = Temp("kept.ply");
    std::ofstream(out) << "what the user had";
    struct Case {
        std::string args;
        int code;
        std::string says;
    };
    std::string broken = Temp("broken.svg");
    std::ofstream(broken) << "<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"M 0 0 L\"/>";
    std::string empty = Temp("empty.ply");
    std::ofstream(empty) << "ply\nformat ascii 1.0\nelement vertex 0\nelement face 0\nproperty "
                            "list uchar int vertex_indices\nend_header\n";
    const Case cases[] = {
        {"cut /nonexistent/box.ply " + Example("star.svg") + " -o " + out, 1,
         "/nonexistent/box.ply"},
        {"cut " + Example("grid_box.ply") + " " + broken + " -o " + out, 1, broken},
        {"cut " + empty + " " + Example("star.svg") + " -o " + out, 1, empty},
        {"cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " + Temp("x.xyz"), 1,
         "x.xyz"},
        {"cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " + out +
             " --set weld=-1",
         2, "weld"},
        {"cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " + out +
             " --set spin=1",
         2, "spin"},
        {"cut " + Example("grid_box.ply") + " -o " + out, 2, "usage"},
    };
    for (const Case& c : cases) {
        Outcome r = Slitform(c.args);
        EXPECT_EQ(r.code, c.code) << c.args << "\n" << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(Slurp(out), "what the user had") << c.args;
    }
}

// Outputs are checked first: the error names them although the mesh is missing too.
TEST(SlitformProgram, RefusesOutputsBeforeReadingTheInputs) {
    std::string folder = Temp("folder_out.ply");
    std::system(("mkdir -p " + folder).c_str());
    std::string star = Example("star.svg");
    const std::pair<std::string, std::string> cases[] = {
        {"-o " + Temp("x.xyz"), "x.xyz: unknown mesh format"},
        {"-o " + folder, "folder_out.ply: names a folder"},
        {"-o " + Temp("no/such/out.ply"), "does not exist"},
        {"-o " + Temp("ok.ply") + " --report " + folder, "names a folder"},
        {"-o " + Temp("ok.ply") + " --picture " + Temp("no/such/p.svg"), "does not exist"},
    };
    for (const auto& [outputs, says] : cases) {
        Outcome r = Slitform("cut /nonexistent/box.ply " + star + " " + outputs);
        EXPECT_EQ(r.code, 1) << outputs;
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("nonexistent"), std::string::npos) << r.err;
    }
}

TEST(SlitformProgram, WritesThroughASymbolicLinkToItsTarget) {
    std::string target = Temp("link_target.ply"), link = Temp("link.ply");
    std::ofstream(target) << "old";
    std::remove(link.c_str());
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    Outcome r =
        Slitform("cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " + link);
    ASSERT_EQ(r.code, 0) << r.err;
    char buffer[4096];
    ssize_t size = readlink(link.c_str(), buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, size > 0 ? static_cast<std::size_t>(size) : 0), target);
    EXPECT_EQ(Slurp(target).rfind("ply\n", 0), 0u);
}

TEST(SlitformProgram, OutOfMemoryIsOneLineAndLeavesTheOutput) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#else
    std::string mesh = Temp("many_vertices.obj");
    {
        std::ofstream out(mesh);
        for (int i = 0; i < 2000000; ++i) out << "v " << i << " 0 0\n";
        out << "f 1 2 3\n";
    }
    std::string out = Temp("kept_oom.ply");
    std::ofstream(out) << "what the user had";
    // 200 MB of address space runs the program but not on two million vertices.
    std::string limited = "sh -c 'ulimit -v 200000; exec " + std::string(SLITFORM_PROGRAM) +
                          " cut " + mesh + " " + Example("star.svg") + " -o " + out + "'";
    Outcome r = Slitform("", limited);
    EXPECT_EQ(r.code, 1);
    // Whether it runs out reading or cutting, the message names the mesh.
    EXPECT_EQ(r.err.rfind("slitform: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("out of memory while "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(mesh), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(Slurp(out), "what the user had");
    std::remove(mesh.c_str());
#endif
}

TEST(SlitformProgram, InfoAndDemo) {
    std::string dir = Temp("demo_out");
    Outcome r = Slitform("demo --out " + dir);
    ASSERT_EQ(r.code, 0) << r.err;
    // The demo welds its cut: the box stays in one piece, with nothing to warn of.
    EXPECT_EQ(r.err.find("warning"), std::string::npos) << r.err;
    slitform::Mesh data;
    MeshFlags flags;
    std::string error;
    std::string result = dir + "/result.ply";
    ASSERT_TRUE(ReadPlyMesh(result, Slurp(result), data, flags, nullptr, error)) << error;
    int selectedEdges = 0;
    for (const FlaggedEdge& e : flags.edges)
        selectedEdges += (e.flags & cutflags::kCutLineEdge) != 0;
    EXPECT_GT(selectedEdges, 10);  // the star's outline
    EXPECT_NE(Slurp(dir + "/report.json").find("faces_cut"), std::string::npos);
    EXPECT_EQ(Slitform("info").code, 0);
}

TEST(SlitformProgram, ExitCodesOfHelpVersionAndUsage) {
    for (const char* args : {"--help", "-h", "cut --help", "demo -h", "info --help", "--version"}) {
        Outcome r = Slitform(args);
        EXPECT_EQ(r.code, 0) << args << "\n" << r.err;
        EXPECT_FALSE(r.out.empty()) << args;
    }
    for (const char* args : {"", "frob", "cut", "cut a.ply b.svg", "info --bogus"}) {
        Outcome r = Slitform(args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    }
}

TEST(SlitformProgram, InfoSaysWhatEachParameterDoes) {
    Outcome r = Slitform("info");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("delete the faces inside closed shape lines"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("0 object, 1 vertices, 2 edges, 3 faces, 4 as the mesh came in"),
              std::string::npos)
        << r.out;
}

TEST(SlitformProgram, TheReportOnStdoutHoldsTheInputsAndTheMeshHealth) {
    std::string out = Temp("report_stdout.ply");
    Outcome r = Slitform("cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " +
                         out + " --report - --set matid=4");
    ASSERT_EQ(r.code, 0) << r.err;
    QJsonParseError parse;
    QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &parse).object();
    ASSERT_EQ(parse.error, QJsonParseError::NoError) << r.out;  // nothing else on stdout
    EXPECT_EQ(json["inputs"].toObject()["mesh"].toString().toStdString(), Example("grid_box.ply"));
    EXPECT_EQ(json["parameters"].toObject()["matid"].toInt(), 4);
    EXPECT_EQ(json["parameters"].toObject().size(), 12);  // all but the picked node
    EXPECT_FALSE(json["program"].toObject()["version"].toString().isEmpty());
    QJsonObject health = json["mesh_health"].toObject();
    EXPECT_EQ(health["in"].toObject()["border_edges"].toInt(), 0);  // the box is closed
    EXPECT_EQ(health["in"].toObject()["components"].toInt(), 1);
    EXPECT_NE(r.err.find("faces: "), std::string::npos);  // the summary moves to stderr
}

TEST(SlitformProgram, WarnsWhenTheResultIsLikelyNotWhatWasMeant) {
    std::string out = Temp("warned.ply");
    std::string cut = "cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " + out;
    Outcome split = Slitform(cut);
    EXPECT_EQ(split.code, 0) << split.err;
    EXPECT_NE(split.err.find("split along the cut faces"), std::string::npos) << split.err;
    EXPECT_NE(split.err.find("--set weld_on=on"), std::string::npos) << split.err;

    Outcome welded = Slitform(cut + " --set weld_on=on");
    EXPECT_EQ(welded.code, 0) << welded.err;
    EXPECT_EQ(welded.err.find("warning"), std::string::npos) << welded.err;

    Outcome missed = Slitform(cut + " --shape-translate 100,0,0");
    EXPECT_EQ(missed.code, 0) << missed.err;
    EXPECT_NE(missed.err.find("the shape cut no face"), std::string::npos) << missed.err;

    // Grown around the whole box it crosses no face but selects them all: no warning.
    Outcome around = Slitform(cut + " --shape-scale 10 --set weld_on=on");
    EXPECT_EQ(around.code, 0) << around.err;
    EXPECT_EQ(around.err.find("warning"), std::string::npos) << around.err;
}

// A square face crossed by a line whose angles refinement cannot reach at 33 degrees:
// the cut stops refining at the point limit, and says so. Crossed by a lattice of
// 320 x 320 lines, it is left uncut, with a warning.
TEST(SlitformProgram, WarnsWhenAFaceMeetsALimit) {
    std::string mesh = Temp("limit_square.ply"), shape = Temp("limit_line.json");
    std::ofstream(mesh)
        << "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
           "property float z\nelement face 1\nproperty list uchar int vertex_indices\n"
           "end_header\n0 0 0\n2 0 0\n2 2 0\n0 2 0\n4 0 1 2 3\n";
    std::ofstream(shape)
        << "{\"splines\": [{\"closed\": false, \"knots\": ["
           "{\"knot\": [0.471498, -0.047452, 0]}, {\"knot\": [1.452803, -0.282691, 0]},"
           "{\"knot\": [1.107646, 0.597067, 0]}, {\"knot\": [-0.326003, 1.022307, 0]},"
           "{\"knot\": [-0.387513, 0.800937, 0]}, {\"knot\": [-0.290434, -0.227861, 0]},"
           "{\"knot\": [0.773558, 1.980556, 0]}, {\"knot\": [-0.128594, 0.169717, 0]}]}]}";
    std::string report = Temp("limit_report.json");
    std::string cut = "cut " + mesh + " " + shape + " -o " + Temp("limit_out.ply") + " --report " +
                      report +
                      " --steps 0 --shape-matrix 1,0,0,0,1,0,0,0,1,0,0,1 --set remove_unused=off "
                      "--set min_angle=";
    Outcome limited = Slitform(cut + "33");
    ASSERT_EQ(limited.code, 0) << limited.err;
    EXPECT_NE(limited.err.find("refinement stopped at its point limit on 1 face"),
              std::string::npos)
        << limited.err;
    QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(Slurp(report))).object();
    EXPECT_EQ(json["faces_at_point_limit"].toInt(), 1);

    Outcome plain = Slitform(cut + "20");
    ASSERT_EQ(plain.code, 0) << plain.err;
    EXPECT_EQ(plain.err.find("point limit"), std::string::npos) << plain.err;

    std::string lattice = Temp("limit_lattice.json");
    std::ofstream out(lattice);
    out << "{\"splines\": [";
    for (int axis = 0; axis < 2; ++axis) {
        out << (axis ? ", " : "") << "{\"closed\": false, \"knots\": [";
        // Back and forth: 320 strokes across the square, one after another.
        for (int i = 0; i < 640; ++i) {
            const double at = 0.01 + 1.98 * (i / 2) / 319.0;
            const double along = (i / 2 + i) % 2 ? 1.99 : 0.01;
            out << (i ? ", " : "") << "{\"knot\": [" << (axis ? at : along) << ", "
                << (axis ? along : at) << ", 0]}";
        }
        out << "]}";
    }
    out << "]}";
    out.close();
    Outcome crowded =
        Slitform("cut " + mesh + " " + lattice + " -o " + Temp("limit_out.ply") + " --report " +
                 report + " --steps 0 --shape-matrix 1,0,0,0,1,0,0,0,1,0,0,1");
    ASSERT_EQ(crowded.code, 0) << crowded.err;
    EXPECT_NE(crowded.err.find("1 face was left uncut: the shape crosses itself more than 100000"),
              std::string::npos)
        << crowded.err;
    EXPECT_EQ(crowded.err.find("cut no face"), std::string::npos) << crowded.err;
    json = QJsonDocument::fromJson(QByteArray::fromStdString(Slurp(report))).object();
    EXPECT_EQ(json["faces_over_crossing_limit"].toInt(), 1);
    EXPECT_EQ(json["out"].toObject()["faces"].toInt(), 1);
}

TEST(SlitformProgram, ShapeTransformsApplyOnTopOfTheFit) {
    std::string report = Temp("adjusted.json");
    std::string cut = "cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " +
                      Temp("adjusted.ply") + " --report " + report;
    ASSERT_EQ(Slitform(cut).code, 0);
    QJsonArray fitted = QJsonDocument::fromJson(QByteArray::fromStdString(Slurp(report)))
                            .object()["inputs"]
                            .toObject()["shape_transform"]
                            .toArray();
    ASSERT_EQ(Slitform(cut + " --shape-translate 0.5,0,0").code, 0);
    QJsonObject moved = QJsonDocument::fromJson(QByteArray::fromStdString(Slurp(report))).object();
    QJsonArray adjusted = moved["inputs"].toObject()["shape_transform"].toArray();
    EXPECT_EQ(moved["inputs"].toObject()["shape_placement"].toString(), "fitted and adjusted");
    EXPECT_NEAR(adjusted[3].toArray()[0].toDouble(), fitted[3].toArray()[0].toDouble() + 0.5, 1e-5);
    EXPECT_NEAR(adjusted[3].toArray()[2].toDouble(), fitted[3].toArray()[2].toDouble(), 1e-5);

    ASSERT_EQ(
        Slitform(cut + " --shape-translate 9,9,9 --shape-matrix 1,0,0,0,1,0,0,0,1,0,0,3").code, 0);
    QJsonObject absolute =
        QJsonDocument::fromJson(QByteArray::fromStdString(Slurp(report))).object();
    EXPECT_EQ(absolute["inputs"].toObject()["shape_placement"].toString(), "matrix");
    EXPECT_EQ(absolute["inputs"].toObject()["shape_transform"].toArray()[3].toArray(),
              (QJsonArray{0, 0, 3}));
}

TEST(SlitformProgram, ThePluginFolderFromTheEnvironmentComesFirst) {
    Outcome r = Slitform(
        "", "SLITFORM_PLUGIN_DIR=/nonexistent/plugins " + std::string(SLITFORM_PROGRAM) + " info");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("/nonexistent/plugins/Slitform.dlm"), std::string::npos) << r.err;
}

TEST(SlitformProgram, PlyEncodingAndTheFormatsThroughAssimp) {
    std::string ply = Temp("encoding.ply");
    std::string cut = "cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " + ply;
    ASSERT_EQ(Slitform(cut).code, 0);
    EXPECT_NE(Slurp(ply).find("format ascii 1.0"), std::string::npos);  // small: text
    ASSERT_EQ(Slitform(cut + " --binary").code, 0);
    EXPECT_NE(Slurp(ply).find("format binary_little_endian 1.0"), std::string::npos);
    Outcome both = Slitform(cut + " --binary --ascii");
    EXPECT_EQ(both.code, 2) << both.err;
    for (const char* name : {"assimp.glb", "assimp.stl", "assimp.off", "assimp.3mf"}) {
        std::string out = Temp(name);
        Outcome r = Slitform("cut " + Example("grid_box.obj") + " " + Example("star.svg") + " -o " +
                             out + " --set weld_on=on");
        ASSERT_EQ(r.code, 0) << name << ": " << r.err;
        Outcome again =
            Slitform("cut " + out + " " + Example("star.svg") + " -o " + Temp("again.obj"));
        EXPECT_EQ(again.code, 0) << name << ": " << again.err;
    }
}

TEST(SlitformProgram, TextIsAShapeLikeAnyOther) {
    std::string out = Temp("engraved.obj");
    Outcome r = Slitform("cut " + Example("grid_box.ply") + " -o " + out +
                         " --text ENGRAVE --font 'DejaVu Sans' --set weld_on=on --report " +
                         Temp("engraved.json"));
    ASSERT_EQ(r.code, 0) << r.err;
    // Nothing to warn of, and none of Qt's notes (a sanitizer may add its own summary).
    EXPECT_EQ(r.err.find("slitform:"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("QStandardPaths"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("selected: 0 vertices"), std::string::npos) << r.out;
    EXPECT_NE(Slurp(out).find("g slitform_inside"), std::string::npos);
    // The report says what was cut, as it names a shape file.
    QJsonObject inputs =
        QJsonDocument::fromJson(QByteArray::fromStdString(Slurp(Temp("engraved.json"))))
            .object()["inputs"]
            .toObject();
    EXPECT_EQ(inputs["text"].toString(), "ENGRAVE");
    EXPECT_EQ(inputs["font"].toString(), "DejaVu Sans");
    Outcome both = Slitform("cut " + Example("grid_box.ply") + " " + Example("star.svg") + " -o " +
                            out + " --text X");
    EXPECT_EQ(both.code, 2) << both.err;
    Outcome neither = Slitform("cut " + Example("grid_box.ply") + " -o " + out);
    EXPECT_EQ(neither.code, 2);
    EXPECT_NE(neither.err.find("SHAPE file or --text"), std::string::npos) << neither.err;
}
