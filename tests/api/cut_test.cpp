// slitform::Cut on the built plug-in: results, parameters by name, errors, and the
// same result as the cut session gives.
#include "slitform/cut.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "api/mesh_conversion.h"
#include "io/live_numbering.h"
#include "session/cut_session.h"
#include "slitform/parameter_list.h"
#include "tests/api/grid_mesh.h"

namespace {

slitform::Parameters Plugin() {
    slitform::Parameters p;
    p.plugin = SLITFORM_PLUGIN_FILE;
    return p;
}

slitform::Shape SquareShape() {
    slitform::Shape shape;
    shape.lines.push_back(Square(3.5, 3.5, 0));
    return shape;
}

std::string ErrorOf(const slitform::Mesh& mesh, const slitform::Shape& shape,
                    const slitform::Parameters& parameters) {
    try {
        slitform::Cut(mesh, shape, parameters);
    } catch (const slitform::Error& e) {
        return std::string(slitform::ErrorCodeName(e.Code())) + ": " + e.what();
    }
    return "no error";
}

class CountingProgress : public slitform::Progress {
public:
    explicit CountingProgress(bool keepGoing) : keepGoing(keepGoing) {}
    bool Update(long long done, long long total, double) override {
        ++calls;
        lastDone = done;
        lastTotal = total;
        return keepGoing;
    }
    bool keepGoing;
    int calls = 0;
    long long lastDone = -1, lastTotal = -1;
};

}  // namespace

TEST(Cut, CutsTheSquareIntoTheGridAndSelectsItsInside) {
    slitform::Outcome out = slitform::Cut(GridMesh(7), SquareShape(), Plugin());
    const slitform::Report& r = out.report;
    EXPECT_EQ(r.facesIn, 49);
    EXPECT_GT(r.facesCut, 0);
    EXPECT_EQ(static_cast<int>(out.mesh.FaceCount()), r.facesOut);
    EXPECT_EQ(static_cast<int>(out.mesh.positions.size()), r.verticesOut);
    EXPECT_EQ(static_cast<int>(out.selectedFaces.size()), r.selectedFaces);
    EXPECT_EQ(static_cast<int>(out.selectedEdges.size()), r.selectedEdges);
    EXPECT_EQ(static_cast<int>(out.selectedVertices.size()), r.selectedVertices);
    ASSERT_FALSE(out.cutEdges.empty());
    ASSERT_TRUE(r.directionKnown);
    EXPECT_NEAR(std::fabs(r.direction[2]), 1.0, 1e-6);
    // Every cut edge lies on the fitted square: inside the grid, away from its rim.
    for (const slitform::Edge& e : out.cutEdges)
        for (int v : e) {
            const slitform::Vec3& p = out.mesh.positions[v];
            EXPECT_GT(p[0], 0.0);
            EXPECT_LT(p[0], 7.0);
            EXPECT_GT(p[1], 0.0);
            EXPECT_LT(p[1], 7.0);
        }
    for (int f : out.selectedFaces) EXPECT_LT(f, static_cast<int>(out.mesh.FaceCount()));
}

// Texture coordinates and normals per corner go through the cut: on a flat grid
// whose coordinates are the positions, every corner of the result, new ones
// included, keeps that rule. Counts that do not match the corners are refused.
TEST(Cut, CarriesTextureCoordinatesAndNormalsPerCorner) {
    slitform::Mesh grid = GridMesh(7);
    for (int v : grid.corners) {
        const slitform::Vec3& p = grid.positions[v];
        grid.uvs.push_back({p[0] / 7.0f, p[1] / 7.0f, 0.0f});
        grid.normals.push_back({0.0f, 0.0f, 1.0f});
    }
    slitform::Outcome out = slitform::Cut(grid, SquareShape(), Plugin());
    ASSERT_GT(out.report.facesCut, 0);
    ASSERT_EQ(out.mesh.uvs.size(), out.mesh.corners.size());
    ASSERT_EQ(out.mesh.normals.size(), out.mesh.corners.size());
    for (size_t c = 0; c < out.mesh.corners.size(); ++c) {
        const slitform::Vec3& p = out.mesh.positions[out.mesh.corners[c]];
        EXPECT_NEAR(out.mesh.uvs[c][0], p[0] / 7.0, 1e-5) << c;
        EXPECT_NEAR(out.mesh.uvs[c][1], p[1] / 7.0, 1e-5) << c;
        EXPECT_NEAR(out.mesh.normals[c][2], 1.0, 1e-5) << c;
    }
    grid.uvs.pop_back();
    EXPECT_NE(ErrorOf(grid, SquareShape(), Plugin()).find("texture coordinates"),
              std::string::npos);
}

TEST(Cut, TakesParametersByNameAndReportsThem) {
    slitform::Parameters keep = Plugin();
    keep.Set("min_angle", 20.0);
    slitform::Outcome kept = slitform::Cut(GridMesh(7), SquareShape(), keep);
    slitform::Parameters open = Plugin();
    open.Set("open", true).Set("min_angle", 20.0).Set("sel_level", "3");
    slitform::Outcome holed = slitform::Cut(GridMesh(7), SquareShape(), open);
    EXPECT_EQ(holed.report.facesOut, kept.report.facesOut - kept.report.selectedFaces);
    EXPECT_TRUE(holed.selectedFaces.empty());
    bool sawOpen = false, sawAngle = false;
    for (const auto& [name, value] : holed.report.parameters) {
        if (name == "open")
            sawOpen = value == 1.0;
        if (name == "min_angle")
            sawAngle = value == 20.0;
    }
    EXPECT_TRUE(sawOpen);
    EXPECT_TRUE(sawAngle);

    slitform::Parameters matid = Plugin();
    matid.Set("matid_on", "on").Set("matid", 5.0);
    slitform::Outcome marked = slitform::Cut(GridMesh(7), SquareShape(), matid);
    ASSERT_FALSE(marked.selectedFaces.empty());
    for (int f : marked.selectedFaces) EXPECT_EQ(marked.mesh.materials[f], 4);  // IDs count from 1
}

TEST(Cut, RefusesBadParametersByName) {
    slitform::Parameters unknown = Plugin();
    unknown.Set("no_such", 1.0);
    EXPECT_NE(ErrorOf(GridMesh(3), SquareShape(), unknown)
                  .find("bad_parameter: parameter no_such: no such parameter"),
              std::string::npos);
    slitform::Parameters range = Plugin();
    range.Set("min_angle", 40.0);
    EXPECT_NE(ErrorOf(GridMesh(3), SquareShape(), range)
                  .find("bad_parameter: parameter min_angle=40: out of range 0 to 33"),
              std::string::npos);
    slitform::Parameters notSwitch = Plugin();
    notSwitch.Set("open", "maybe");
    EXPECT_NE(ErrorOf(GridMesh(3), SquareShape(), notSwitch).find("not a switch"),
              std::string::npos);
}

TEST(Cut, RefusesBadMeshesAndShapesWithTheirPlace) {
    slitform::Mesh nan = GridMesh(3);
    nan.positions[5][1] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_NE(ErrorOf(nan, SquareShape(), Plugin()).find("bad_input: mesh: vertex 5"),
              std::string::npos);
    slitform::Mesh huge = GridMesh(3);
    huge.positions[2][0] = std::numeric_limits<float>::infinity();
    EXPECT_NE(ErrorOf(huge, SquareShape(), Plugin()).find("vertex 2"), std::string::npos);
    slitform::Mesh outside = GridMesh(3);
    outside.corners[4 * 4 + 2] = 16;
    EXPECT_NE(ErrorOf(outside, SquareShape(), Plugin())
                  .find("face 4 uses vertex 16, out of range 0 to 15"),
              std::string::npos);
    slitform::Mesh negative = GridMesh(3);
    negative.corners[0] = -1;
    EXPECT_NE(ErrorOf(negative, SquareShape(), Plugin()).find("face 0 uses vertex -1"),
              std::string::npos);
    slitform::Mesh two = GridMesh(3);
    two.corners.erase(two.corners.begin() + 6, two.corners.begin() + 8);
    for (size_t f = 2; f < two.faceStart.size(); ++f) two.faceStart[f] -= 2;
    EXPECT_NE(ErrorOf(two, SquareShape(), Plugin()).find("face 1 has 2 corners"),
              std::string::npos);
    slitform::Mesh repeated = GridMesh(3);
    repeated.corners[2 * 4 + 2] = repeated.corners[2 * 4];
    slitform::Mesh offsets = GridMesh(3);
    offsets.faceStart.back() += 1;
    EXPECT_NE(ErrorOf(offsets, SquareShape(), Plugin()).find("the face offsets end at 37"),
              std::string::npos);
    EXPECT_NE(ErrorOf(repeated, SquareShape(), Plugin()), "no error");
    slitform::Mesh materials = GridMesh(3);
    materials.materials = {1, 2};
    EXPECT_NE(ErrorOf(materials, SquareShape(), Plugin()).find("2 materials for 9 faces"),
              std::string::npos);
    EXPECT_NE(ErrorOf(slitform::Mesh(), SquareShape(), Plugin()).find("no faces"),
              std::string::npos);

    EXPECT_NE(ErrorOf(GridMesh(3), slitform::Shape(), Plugin()).find("no lines"),
              std::string::npos);
    slitform::Shape single = SquareShape();
    single.lines[0].points.resize(1);
    EXPECT_NE(ErrorOf(GridMesh(3), single, Plugin()).find("line 0 has 1 points"),
              std::string::npos);
    slitform::Shape handles = SquareShape();
    handles.lines[0].in = handles.lines[0].points;
    EXPECT_NE(ErrorOf(GridMesh(3), handles, Plugin()).find("one in and one out handle"),
              std::string::npos);
    slitform::Shape inf = SquareShape();
    inf.lines[0].points[3][2] = std::numeric_limits<double>::infinity();
    EXPECT_NE(ErrorOf(GridMesh(3), inf, Plugin()).find("line 0 point 3"), std::string::npos);

    slitform::Parameters missing;
    missing.plugin = "/no/such/Slitform.dlm";
    EXPECT_NE(ErrorOf(GridMesh(3), SquareShape(), missing).find("/no/such/Slitform.dlm"),
              std::string::npos);
}

TEST(Cut, GivesWhatTheSessionGivesOnTheSameInput) {
    slitform::Mesh mesh = GridMesh(9);
    slitform::Shape shape = SquareShape();
    shape.lines.push_back(Square(3, 4, 0));  // overlapping: an odd-even inside
    slitform::Parameters parameters = Plugin();
    parameters.Set("weld_on", true);
    slitform::Outcome out = slitform::Cut(mesh, shape, parameters);

    std::string error;
    auto session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
    ASSERT_NE(session, nullptr) << error;
    session->SetMesh(slitform::ToPolyMesh(mesh));
    BezierShape bezier;
    for (const slitform::ShapeLine& line : shape.lines) {
        Spline3D spline;
        spline.closed = true;
        for (const slitform::Point& p : line.points) {
            Point3 q(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
            spline.AddKnot(SplineKnot(q, q, q));
        }
        bezier.splines.push_back(spline);
    }
    session->SetFittedShape(bezier);
    ASSERT_TRUE(session->SetParameter("weld_on", "on", error)) << error;
    session->PickShape();
    CutOutcome direct = session->Evaluate();
    ASSERT_TRUE(direct.evaluated) << direct.error;

    EXPECT_EQ(out.report.facesCut, direct.counts.facesCut);
    EXPECT_EQ(out.report.selectedFaces, direct.counts.selectedFaces);
    EXPECT_EQ(out.report.selectedEdges, direct.counts.selectedEdges);
    LiveNumbering live;
    ASSERT_TRUE(NumberLiveComponents(direct.mesh, live, error)) << error;
    ASSERT_EQ(out.mesh.positions.size(), live.verts.size());
    for (size_t i = 0; i < live.verts.size(); ++i) {
        const Point3& p = direct.mesh.v[live.verts[i]].p;
        EXPECT_EQ(out.mesh.positions[i], (slitform::Vec3{p.x, p.y, p.z})) << "vertex " << i;
    }
    ASSERT_EQ(out.mesh.FaceCount(), live.faces.size());
    for (size_t i = 0; i < live.faces.size(); ++i) {
        std::vector<int> corners;
        for (int v : direct.mesh.f[live.faces[i]].vtx) corners.push_back(live.newVert[v]);
        EXPECT_EQ(std::vector<int>(out.mesh.corners.begin() + out.mesh.faceStart[i],
                                   out.mesh.corners.begin() + out.mesh.faceStart[i + 1]),
                  corners)
            << "face " << i;
    }
}

TEST(Cut, PlacesAGivenShapeWhereItSays) {
    // Over the grid's corner the square cuts only there; beside the grid, nothing.
    slitform::Shape corner = SquareShape();
    corner.placed = true;
    corner.transform = {1, 0, 0, 0, 1, 0, 0, 0, 1, -3.5, -3.5, 5};
    slitform::Outcome cut = slitform::Cut(GridMesh(7), corner, Plugin());
    EXPECT_GT(cut.report.facesCut, 0);
    for (const slitform::Edge& e : cut.cutEdges)
        for (int v : e) EXPECT_LE(cut.mesh.positions[v][0], 1.0 + 1e-6);
    corner.transform[9] = 50;
    EXPECT_EQ(slitform::Cut(GridMesh(7), corner, Plugin()).report.facesCut, 0);
}

TEST(Cut, ReportsProgressAndCancels) {
    CountingProgress going(true);
    slitform::Outcome out = slitform::Cut(GridMesh(7), SquareShape(), Plugin(), &going);
    EXPECT_GE(going.calls, 1);
    EXPECT_EQ(going.lastDone, going.lastTotal);
    EXPECT_EQ(going.lastTotal, 49);

    CountingProgress stop(false);
    try {
        slitform::Cut(GridMesh(7), SquareShape(), Plugin(), &stop);
        ADD_FAILURE() << "a cancelled cut gave a result";
    } catch (const slitform::Error& e) {
        EXPECT_STREQ(e.what(), "the cut was cancelled");
    }
}

TEST(ListParameters, GivesThePluginsDefaultsRangesAndMeanings) {
    std::vector<slitform::ParameterInfo> list = slitform::ListParameters(SLITFORM_PLUGIN_FILE);
    ASSERT_EQ(list.size(), 12u);  // every parameter but the picked shape
    const slitform::ParameterInfo* angle = nullptr;
    for (const slitform::ParameterInfo& p : list) {
        EXPECT_FALSE(p.meaning.empty()) << p.name;
        if (p.name == "min_angle")
            angle = &p;
    }
    ASSERT_NE(angle, nullptr);
    EXPECT_EQ(angle->kind, "number");
    EXPECT_EQ(angle->defaultValue, 27.0);
    EXPECT_TRUE(angle->hasRange);
    EXPECT_EQ(angle->high, 33.0);
    EXPECT_THROW(slitform::ListParameters("/no/such/Slitform.dlm"), slitform::Error);
}

// The typed parameters name every parameter of the block, in its order, with its
// default: a parameter added to the plug-in, or a default changed, fails here.
TEST(CutParameters, AreInStepWithThePluginsBlock) {
    std::vector<slitform::ParameterInfo> list = slitform::ListParameters(SLITFORM_PLUGIN_FILE);
    slitform::Parameters typed;
    typed.Set(slitform::CutParameters());
    const auto& values = typed.Values();
    ASSERT_EQ(values.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(values[i].first, list[i].name);
        const std::string& v = values[i].second;
        double value = v == "on" ? 1.0 : v == "off" ? 0.0 : std::stod(v);
        EXPECT_EQ(static_cast<float>(value), static_cast<float>(list[i].defaultValue))
            << list[i].name;
    }
    // And they cut as the same names do.
    slitform::CutParameters holes;
    holes.open = true;
    holes.selLevel = slitform::SelectionLevel::Faces;
    slitform::Parameters byType = Plugin(), byName = Plugin();
    byType.Set(holes);
    byName.Set("open", true).Set("sel_level", "3");
    EXPECT_EQ(slitform::Cut(GridMesh(7), SquareShape(), byType).mesh.corners,
              slitform::Cut(GridMesh(7), SquareShape(), byName).mesh.corners);
}
