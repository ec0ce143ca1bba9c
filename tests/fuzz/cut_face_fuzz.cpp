// CutFace on one face decoded from the bytes: a star-shaped (so simple) outline of
// 3 to 8 corners in the z = 0 plane, a shape of 1 to 3 polylines and the cut's
// parameters. The cut checker of the face-cut tests judges the result; the face
// must also survive a cut that makes no new faces.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "facecut/cut_face.h"
#include "fuzz_bytes.h"
#include "fuzz_check.h"
#include "tests/cutface/cut_checker.h"

namespace {

const Point3 kDown(0.0f, 0.0f, -1.0f);

// The checker reports through GoogleTest outside any test: turn its failures
// into crashes.
class FailuresAbort : public ::testing::EmptyTestEventListener {
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (result.failed())
            FuzzFail(std::string(result.file_name() ? result.file_name() : "") + ":" +
                     std::to_string(result.line_number()) + ": " + result.summary());
    }
};

std::vector<Point3> Outline(FuzzBytes& in) {
    const int corners = 3 + in.Below(6);
    const bool flip = in.Bit();
    std::vector<Point3> outline;
    for (int i = 0; i < corners; ++i) {
        // Each corner keeps to its own sector, so the outline cannot cross itself.
        const float a = 2.0f * 3.14159265f * (i + 0.8f * (in.Byte() / 255.0f - 0.5f)) / corners;
        const float r = 0.2f + 0.8f * in.Byte() / 255.0f;
        outline.push_back(Point3(r * std::cos(a), r * std::sin(a), 0.0f));
    }
    if (flip)
        outline.assign(outline.rbegin(), outline.rend());
    return outline;
}

// Shape points on a 0.01 grid around the face, or exactly on one of its corners.
// The plug-in snaps the shape onto the mesh unless local is on, and through
// projects it onto the face: only then may it hover above the face.
PolyShape Shape(FuzzBytes& in, const std::vector<Point3>& outline, bool mayHover) {
    PolyShape shape;
    const float z = in.Bit() && mayHover ? 0.5f : 0.0f;
    const int lines = 1 + in.Below(3);
    for (int l = 0; l < lines; ++l) {
        PolyLine line;
        const int points = 2 + in.Below(7);
        for (int p = 0; p < points; ++p) {
            const int choice = in.Byte();
            Point3 at = outline[choice % outline.size()];
            if (choice >= 32) {
                at.x = (in.Byte() - 128) / 100.0f;
                at.y = (in.Byte() - 128) / 100.0f;
            }
            at.z = z;
            line.Append(PolyPt(at));
        }
        if (in.Bit())
            line.Close();
        shape.Append(line);
    }
    return shape;
}

CutSettings Parameters(FuzzBytes& in) {
    const int flags = in.Byte();
    const float welds[] = {0.001f, 0.0f, 0.01f};
    CutSettings c;
    c.through = (flags & 1) != 0;
    c.local = (flags & 2) != 0;
    c.removeUnused = (flags & 4) != 0;
    c.minAngle = static_cast<float>(in.Below(35));
    c.weld = welds[in.Below(3)];
    c.direction = kDown;
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool listening = [] {
        ::testing::UnitTest::GetInstance()->listeners().Append(new FailuresAbort);
        return true;
    }();
    (void)listening;

    FuzzBytes in(data, size);
    const CutSettings c = Parameters(in);
    const std::vector<Point3> outline = Outline(in);
    const PolyShape shape = Shape(in, outline, c.through || c.local);

    MNMesh mesh;
    std::vector<int> corners;
    for (const Point3& p : outline) corners.push_back(mesh.NewVert(p));
    const int face = mesh.CreateFace(static_cast<int>(corners.size()), corners.data());
    mesh.f[face].SetFlag(MN_SEL);
    const MNMesh before = mesh;
    CutFace(mesh, face, shape, c);

    CutExpectation x;
    x.direction = kDown;
    x.weld = c.weld;
    // Removing unused edges also strips lines that end inside the face, so only
    // the lines that remain are checked then.
    x.shapeSelected = !c.removeUnused;
    if (CheckCut(before, mesh, face, shape, x) == 0) {
        FuzzRequire(!mesh.f[face].GetFlag(MN_DEAD), "the face was removed and nothing replaced it");
        FuzzRequire(mesh.f[face].vtx == before.f[face].vtx, "the uncut face lost its corners");
    }
    return 0;
}
