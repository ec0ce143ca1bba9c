// CutFace whole: each cut checked for a consistent mesh, an exact tiling of the
// face, the shape's lines as selected edges and the flags of the clean-up.
#include "facecut/cut_face.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "contract/cut_mesh_flags.h"
#include "cut_checker.h"

namespace {

const Point3 kDown(0.0f, 0.0f, -1.0f);

int AddPolygon(MNMesh& m, const std::vector<Point3>& corners) {
    std::vector<int> vv;
    for (const Point3& p : corners) vv.push_back(m.NewVert(p));
    int face = m.CreateFace(static_cast<int>(vv.size()), vv.data());
    m.f[face].SetFlag(MN_SEL);
    return face;
}

int UnitQuad(MNMesh& m) {
    return AddPolygon(m, {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0)});
}

PolyLine Line(const std::vector<Point3>& pts, bool closed = false) {
    PolyLine line;
    for (const Point3& p : pts) line.Append(PolyPt(p));
    if (closed)
        line.Close();
    return line;
}

PolyLine Circle(float cx, float cy, float r, int n) {
    std::vector<Point3> pts;
    for (int i = 0; i < n; ++i) {
        float a = 2.0f * 3.14159265f * i / n;
        pts.push_back(Point3(cx + r * std::cos(a), cy + r * std::sin(a), 0.0f));
    }
    return Line(pts, true);
}

// The settings most cases cut with.
struct Cut : CutSettings {
    Cut() {
        removeUnused = true;
        minAngle = 27.0f;
        weld = 0.001f;
        direction = kDown;
    }
};

// Cuts face of m and checks the result; returns the number of new faces.
int CutAndCheck(MNMesh& m, int face, const PolyShape& shape, const Cut& c,
                CutExpectation x = CutExpectation()) {
    MNMesh before = m;
    CutFace(m, face, shape, c);
    x.direction = c.direction;
    x.weld = c.weld;
    x.triangles = !c.removeUnused;
    x.minAngle = c.minAngle;
    return CheckCut(before, m, face, shape, x);
}

int Count(const MNMesh& m, int firstFace, DWORD edgeFlag) {
    int n = 0;
    for (int f = firstFace; f < m.numf; ++f)
        if (!m.f[f].GetFlag(MN_DEAD))
            for (int ed : m.f[f].edg) n += m.e[ed].GetFlag(edgeFlag);
    return n;
}

}  // namespace

TEST(CutFace, QuadCrossedOnceByAnOpenLine) {
    MNMesh m;
    int f = UnitQuad(m);
    PolyShape shape;
    shape.Append(Line({Point3(-0.5f, 0.4f, 0), Point3(1.5f, 0.6f, 0)}));
    // Two faces: a point refinement puts on the cut line takes the outline's tag from
    // the crossings on each side of it, so no edge from it to the outline stays.
    EXPECT_EQ(CutAndCheck(m, f, shape, Cut()), 2);
    for (int v = 4; v < m.numv; ++v) {
        if (!m.v[v].GetFlag(MN_DEAD)) {
            EXPECT_TRUE(m.v[v].GetFlag(MN_SEL)) << v;
            EXPECT_TRUE(m.v[v].GetFlag(cutflags::kCutCornerVertex)) << v;
        }
    }
    for (int v = 0; v < 4; ++v) EXPECT_TRUE(m.v[v].GetFlag(cutflags::kCutCornerVertex));
    int cutEdges = 0, outlineEdges = 0, interior = 0;
    for (int e = 0; e < m.nume; ++e) {
        if (m.e[e].GetFlag(MN_DEAD))
            continue;
        cutEdges += m.e[e].GetFlag(MN_SEL);
        outlineEdges += m.e[e].GetFlag(cutflags::kOutlineEdge);
        interior += m.e[e].GetFlag(cutflags::kInteriorEdge) &&
                    !m.e[e].GetFlag(cutflags::kCutLineEdge | cutflags::kOutlineEdge);
    }
    EXPECT_GE(cutEdges, 1);
    EXPECT_GE(outlineEdges, 6);
    EXPECT_EQ(interior, 0);  // removed
    for (int nf = 1; nf < m.numf; ++nf) {
        if (!m.f[nf].GetFlag(MN_DEAD)) {
            EXPECT_TRUE(m.f[nf].GetFlag(cutflags::kCutHandledFace));
        }
    }
}

// Seen along a direction that grazes it, from the front or from behind, a face cut
// through keeps its orientation: its new faces turn the way it did, so that they
// still meet their neighbours' edges running the other way.
TEST(CutFace, AFaceSeenAtAGrazingAngleKeepsItsOrientation) {
    for (float facing : {0.005f, -0.005f, 0.5f, -0.5f}) {
        MNMesh m;
        int f = UnitQuad(m);
        PolyShape shape;
        shape.Append(Line({Point3(-0.5f, 0.4f, 0.0f), Point3(1.5f, 0.6f, 0.0f)}));
        Cut c;
        c.through = true;
        c.direction = Normalize(Point3(0.0f, std::sqrt(1.0f - facing * facing), -facing));
        CutFace(m, f, shape, c);
        int made = 0;
        for (int nf = 1; nf < m.numf; ++nf) {
            if (m.f[nf].GetFlag(MN_DEAD))
                continue;
            ++made;
            EXPECT_GT(m.GetFaceNormal(nf).z, 0.0f) << "facing " << facing << " face " << nf;
        }
        EXPECT_GE(made, 2) << "facing " << facing;
    }
}

TEST(CutFace, KeepsTrianglesWithAnglesWhenUnusedEdgesStay) {
    MNMesh m;
    int f = UnitQuad(m);
    PolyShape shape;
    shape.Append(Line({Point3(-0.5f, 0.4f, 0), Point3(1.5f, 0.6f, 0)}));
    Cut c;
    c.removeUnused = false;
    EXPECT_GE(CutAndCheck(m, f, shape, c), 4);
    EXPECT_GT(Count(m, 1, cutflags::kInteriorEdge), 0);
}

TEST(CutFace, ClosedSquareInsideAFaceIsInsideTheShape) {
    MNMesh m;
    int f = UnitQuad(m);
    m.f[f].material = 7;
    m.f[f].smGroup = 5;
    PolyShape shape;
    shape.Append(Line({Point3(0.25f, 0.25f, 0), Point3(0.75f, 0.25f, 0), Point3(0.75f, 0.75f, 0),
                       Point3(0.25f, 0.75f, 0)},
                      true));
    Cut c;
    c.removeUnused = false;
    ASSERT_GT(CutAndCheck(m, f, shape, c), 0);
    double insideArea = 0.0;
    for (int nf = 1; nf < m.numf; ++nf) {
        if (m.f[nf].GetFlag(MN_DEAD))
            continue;
        EXPECT_EQ(m.f[nf].material, 7);
        EXPECT_EQ(m.f[nf].smGroup, 5u);
        if (m.f[nf].GetFlag(cutflags::kInsideFace))
            insideArea += 0.5 * m.GetFaceNormal(nf).Length();
    }
    EXPECT_NEAR(insideArea, 0.25, 1e-5);
}

TEST(CutFace, NestedClosedLinesCancelInPairs) {
    MNMesh m;
    int f = UnitQuad(m);
    PolyShape shape;
    shape.Append(Circle(0.5f, 0.5f, 0.4f, 16));
    shape.Append(Circle(0.5f, 0.5f, 0.2f, 12));
    ASSERT_GT(CutAndCheck(m, f, shape, Cut()), 0);
    double insideArea = 0.0;
    for (int nf = 1; nf < m.numf; ++nf)
        if (!m.f[nf].GetFlag(MN_DEAD) && m.f[nf].GetFlag(cutflags::kInsideFace))
            insideArea += 0.5 * m.GetFaceNormal(nf).Length();
    double ring = 0.5 * 16 * 0.4 * 0.4 * std::sin(2 * M_PI / 16) -
                  0.5 * 12 * 0.2 * 0.2 * std::sin(2 * M_PI / 12);
    EXPECT_NEAR(insideArea, ring, 1e-4);
}

TEST(CutFace, ClosedPolygonAroundTheFaceDoesNotCutIt) {
    MNMesh m;
    int f = UnitQuad(m);
    PolyShape shape;
    shape.Append(Circle(0.5f, 0.5f, 3.0f, 8));
    EXPECT_EQ(CutAndCheck(m, f, shape, Cut()), 0);
    EXPECT_EQ(m.numf, 1);
    EXPECT_TRUE(m.f[f].GetFlag(cutflags::kCutHandledFace | cutflags::kInsideFace));
}

TEST(CutFace, LineEndingInsideAFaceAndOnItsEdge) {
    // A two-point line from the middle of the bottom edge into the face: its one
    // segment is a cut line, not an outline-end edge.
    MNMesh m;
    int f = UnitQuad(m);
    PolyShape shape;
    shape.Append(Line({Point3(0.5f, 0.0f, 0), Point3(0.5f, 0.5f, 0)}));
    Cut c;
    c.removeUnused = false;
    ASSERT_GT(CutAndCheck(m, f, shape, c), 0);
    int a = -1, b = -1;
    for (int v = 4; v < m.numv; ++v) {
        if (Length(m.v[v].p - Point3(0.5f, 0.0f, 0.0f)) < 1e-6f)
            a = v;
        if (Length(m.v[v].p - Point3(0.5f, 0.5f, 0.0f)) < 1e-6f)
            b = v;
    }
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    int joint = m.FindEdge(a, b);
    ASSERT_GE(joint, 0);
    EXPECT_TRUE(m.e[joint].GetFlag(MN_SEL));
    EXPECT_FALSE(m.e[joint].GetFlag(cutflags::kOutlineEdge));
}

TEST(CutFace, ConcaveLShapedFace) {
    MNMesh m;
    int f = AddPolygon(m, {Point3(0, 0, 0), Point3(2, 0, 0), Point3(2, 1, 0), Point3(1, 1, 0),
                           Point3(1, 2, 0), Point3(0, 2, 0)});
    PolyShape shape;
    shape.Append(Line({Point3(-1.0f, 1.5f, 0), Point3(3.0f, 0.5f, 0)}));
    shape.Append(Circle(0.5f, 0.5f, 0.2f, 10));
    EXPECT_GT(CutAndCheck(m, f, shape, Cut()), 0);
}

TEST(CutFace, NonPlanarQuad) {
    MNMesh m;
    int f =
        AddPolygon(m, {Point3(0, 0, 0), Point3(1, 0, 0.2f), Point3(1, 1, 0), Point3(0, 1, 0.2f)});
    PolyShape shape;
    shape.Append(Line({Point3(-0.5f, 0.5f, 1), Point3(1.5f, 0.5f, 1)}));
    CutExpectation x;
    x.inPlane = false;
    EXPECT_GT(CutAndCheck(m, f, shape, Cut(), x), 0);
}

TEST(CutFace, LocalProjectionCutsAlongTheFacesNormal) {
    MNMesh m;
    // A face standing in the xz plane, facing +y, and a shape hovering in front.
    int f = AddPolygon(m, {Point3(0, 0, 0), Point3(0, 0, 1), Point3(1, 0, 1), Point3(1, 0, 0)});
    PolyShape shape;
    shape.Append(Line({Point3(0.5f, 0.3f, -0.5f), Point3(0.5f, 0.3f, 1.5f)}));
    Cut c;
    c.local = true;
    c.direction = Point3(0, 0, -1);  // ignored: each face uses its own normal
    MNMesh before = m;
    CutFace(m, f, shape, c);
    CutExpectation x;
    x.direction = Point3(0, 1, 0);
    x.inPlane = true;
    EXPECT_GT(CheckCut(before, m, f, shape, x), 0);
    for (int v = 4; v < m.numv; ++v) {
        if (!m.v[v].GetFlag(MN_DEAD)) {
            EXPECT_NEAR(m.v[v].p.y, 0.0f, 1e-6);
        }
    }
}

// Hovering over the face, a line's point above a corner is not inside the edges
// that meet there: with local on, a line from it across the face is cut in as the
// same line lying on the face is without.
TEST(CutFace, LocalLineFromAboveACornerCutsLikeOneOnTheFace) {
    for (int corner = 0; corner < 4; ++corner) {
        MNMesh cut[2];
        for (int local = 0; local < 2; ++local) {
            MNMesh& m = cut[local];
            int f = UnitQuad(m);
            const float z = local ? 0.5f : 0.0f;
            const Point3 from = m.v[m.f[f].vtx[corner]].p;
            PolyShape shape;
            shape.Append(
                Line({Point3(from.x, from.y, z), Point3(from.x == 0.0f ? 1.5f : -0.5f, 0.5f, z)}));
            Cut c;
            c.local = local != 0;
            c.removeUnused = false;
            c.minAngle = 0.0f;
            c.weld = 0.0f;
            SCOPED_TRACE(testing::Message() << "corner " << corner << (local ? ", local" : ""));
            EXPECT_GT(CutAndCheck(m, f, shape, c), 0);
        }
        EXPECT_EQ(cut[1].numv, cut[0].numv) << "corner " << corner;
        EXPECT_EQ(cut[1].numf, cut[0].numf) << "corner " << corner;
    }
}

TEST(CutFace, ThroughCutsAFaceLookingAwayKeepingItsOrientation) {
    MNMesh m;
    int f = AddPolygon(
        m, {Point3(0, 0, 0), Point3(0, 1, 0), Point3(1, 1, 0), Point3(1, 0, 0)});  // faces -z
    PolyShape shape;
    shape.Append(
        Line({Point3(-0.5f, 0.5f, 3), Point3(1.5f, 0.5f, 3)}));  // projected onto the plane
    Cut c;
    c.through = true;
    EXPECT_GT(CutAndCheck(m, f, shape, c), 0);
    MNMesh away;
    int g = AddPolygon(away, {Point3(0, 0, 0), Point3(0, 1, 0), Point3(1, 1, 0), Point3(1, 0, 0)});
    MNMesh before = away;
    CutFace(away, g, shape, Cut());
    EXPECT_EQ(away.numf, 1);
    EXPECT_EQ(away.f[g].flags, before.f[g].flags);  // untouched, unflagged
}

// A face the triangulator rejects stays as it was, flagged like a face the shape
// misses: handled, and inside when its centroid lies inside the closed lines.
TEST(CutFace, AFaceTheTriangulatorRejectsStaysAsItWasFlaggedAsUncut) {
    for (bool closed : {false, true}) {
        MNMesh m;
        int f = UnitQuad(m);
        PolyShape shape;
        if (closed)
            shape.Append(Line({Point3(-0.5f, -0.5f, 0), Point3(0.7f, -0.5f, 0),
                               Point3(0.7f, 1.5f, 0), Point3(-0.5f, 1.5f, 0)},
                              true));
        else
            shape.Append(Line({Point3(-0.5f, 0.5f, 0), Point3(1.5f, 0.5f, 0)}));
        shape.Append(
            Line({Point3(-2, -2, 0), Point3(2, -2, 0), Point3(2, 2, 0), Point3(-2, 2, 0)}, true));
        MNMesh before = m;
        Cut c;
        c.minAngle = std::nanf("");
        CutFace(m, f, shape, c);
        EXPECT_EQ(m.numf, before.numf);
        EXPECT_EQ(m.numv, before.numv);
        EXPECT_FALSE(m.f[f].GetFlag(MN_DEAD));
        // Inside the big square only, or inside both squares: even parity, outside.
        DWORD inside = closed ? 0 : cutflags::kInsideFace;
        EXPECT_EQ(m.f[f].flags, before.f[f].flags | cutflags::kCutHandledFace | inside) << closed;
    }
}

// A face without area (its corners go out and come back the same way) yields no
// triangle: it stays, so that its neighbours are not opened, flagged as uncut.
TEST(CutFace, AFaceWithoutAreaStaysAsItWas) {
    MNMesh m;
    int f = AddPolygon(m, {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(1, 1, 0),
                           Point3(1, 0, 0), Point3(0, 0, 0)});
    PolyShape shape;
    shape.Append(Line({Point3(0.5f, -1, 0), Point3(0.5f, 2, 0)}));
    MNMesh before = m;
    for (bool through : {false, true}) {
        Cut c;
        c.through = through;
        c.direction = through ? -kDown : kDown;
        c.removeUnused = false;
        c.minAngle = 0.0f;
        c.weld = 0.01f;
        CutFace(m, f, shape, c);
        EXPECT_FALSE(m.f[f].GetFlag(MN_DEAD)) << through;
        EXPECT_EQ(m.f[f].vtx, before.f[f].vtx);
        std::string why;
        EXPECT_TRUE(m.CheckAllData(&why)) << why;
    }
}

// With through on, a face seen edge-on along the direction, or one without a normal,
// cannot take the projected shape and has no area to cut: it stays as it was, flagged
// as uncut. Cut with the shape left hovering at its own depth, it came back as
// hundreds of faces off its plane.
TEST(CutFace, ThroughLeavesAFaceSeenEdgeOnUncut) {
    const std::vector<std::vector<Point3>> faces = {
        {Point3(-0.336f, -0.380f, 0), Point3(-0.269f, 0.524f, 0),
         Point3(-0.336f, -0.380f, 0)},                                         // no normal
        {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 0, 1), Point3(0, 0, 1)},  // upright
    };
    for (size_t k = 0; k < faces.size(); ++k) {
        MNMesh m;
        int f = AddPolygon(m, faces[k]);
        PolyShape shape;
        shape.Append(Line({Point3(-0.79f, -0.73f, 0.5f), Point3(-0.33f, -0.29f, 0.5f),
                           Point3(0.5f, 0.2f, 0.5f), Point3(0.6f, -0.5f, 0.5f)},
                          true));
        MNMesh before = m;
        Cut c;
        c.through = true;
        c.minAngle = 8.0f;
        c.weld = 0.0f;
        CutFace(m, f, shape, c);
        EXPECT_EQ(m.numf, before.numf) << k;
        EXPECT_EQ(m.numv, before.numv) << k;
        EXPECT_EQ(m.f[f].vtx, before.f[f].vtx) << k;
        EXPECT_TRUE(m.f[f].GetFlag(cutflags::kCutHandledFace)) << k;
    }
}

// A face narrower than the weld threshold: the weld must not merge its corners into
// a face with no area, which would leave it uncut (the thin triangles around a UV
// sphere's pole, crossed by a line near the pole).
TEST(CutFace, AFaceNarrowerThanTheWeldIsStillCut) {
    MNMesh m;
    int f = AddPolygon(m, {Point3(0, 0, 0), Point3(0.0314f, 0, 0), Point3(0.0314f, 0.00099f, 0)});
    PolyShape shape;
    shape.Append(Line({Point3(0.013f, -0.01f, 0), Point3(0.013f, 0.01f, 0)}));
    Cut c;
    EXPECT_EQ(CutAndCheck(m, f, shape, c), 2);
    EXPECT_TRUE(m.f[f].GetFlag(MN_DEAD));
    EXPECT_GE(Count(m, 1, MN_SEL), 1);
}

TEST(CutFace, RandomShapesOnRandomFaces) {
    std::mt19937 rng(20261207);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    int cut = 0;
    for (int round = 0; round < 500; ++round) {
        MNMesh m;
        int corners = 3 + static_cast<int>(unit(rng) * 6);
        bool concave = round % 2 == 1;
        std::vector<Point3> face;
        for (int i = 0; i < corners * (concave ? 2 : 1); ++i) {
            float a = 2.0f * 3.14159265f * i / (corners * (concave ? 2 : 1));
            float r = concave && i % 2 ? 0.4f + 0.3f * unit(rng) : 0.9f + 0.1f * unit(rng);
            face.push_back(Point3(r * std::cos(a), r * std::sin(a), 0.0f));
        }
        int f = AddPolygon(m, face);
        PolyShape shape;
        int lines = 1 + static_cast<int>(unit(rng) * 3);
        for (int l = 0; l < lines; ++l) {
            std::vector<Point3> pts;
            int n = 2 + static_cast<int>(unit(rng) * 6);
            for (int i = 0; i < n; ++i)
                pts.push_back(Point3(unit(rng) * 2.4f - 1.2f, unit(rng) * 2.4f - 1.2f, 0.0f));
            shape.Append(Line(pts, unit(rng) < 0.4f));
        }
        Cut c;
        c.removeUnused = round % 3 != 0;
        // At 33 degrees refinement crowds points into the rounding noise near crossings.
        c.minAngle = round % 4 == 0 ? 0.0f : round % 4 == 1 ? 33.0f : 20.0f;
        CutExpectation x;
        x.triangles = false;
        MNMesh before = m;
        CutFace(m, f, shape, c);
        x.direction = kDown;
        x.weld = c.weld;
        // Removing unused edges strips lines that end inside the face (the host's
        // spur rule), so only the tiling and the edges present are checked then.
        x.shapeSelected = !c.removeUnused;
        cut += CheckCut(before, m, f, shape, x) > 0;
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "round " << round;
            break;
        }
    }
    EXPECT_GT(cut, 400);
}
