// The weld's choice of source tag, seen where it matters: in the flags of the
// rebuilt face's edges.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "contract/cut_mesh_flags.h"
#include "facecut/face_triangulation.h"
#include "facecut/input/triangulation_input.h"
#include "facecut/prepare/prepare_face_cut.h"
#include "facecut/rebuild/rebuild_face.h"
#include "shape_builders.h"

namespace {

int VertexAt(const MNMesh& mesh, int from, const Point3& p) {
    for (int v = from; v < mesh.numv; ++v)
        if (!mesh.v[v].GetFlag(MN_DEAD) && (mesh.v[v].p - p).Length() < 1e-5f)
            return v;
    return -1;
}

TEST(WeldThroughRebuild, LineEndingOnTheOutlineIsACutLine) {
    unsetenv("SLITFORM_DRIVE_D");
    MNMesh mesh;
    int corners[4] = {mesh.NewVert(Point3(0, 0, 0)), mesh.NewVert(Point3(1, 0, 0)),
                      mesh.NewVert(Point3(1, 1, 0)), mesh.NewVert(Point3(0, 1, 0))};
    mesh.CreateFace(4, corners);
    // One end on the bottom edge, the other inside: the end on the edge is also an
    // outline point, and the two weld into one.
    PolyShape shape =
        MakeShape({MakeLine({Point3(0.5f, 0.0f, 0.0f), Point3(0.5f, 0.5f, 0.0f)}, false)});
    FaceCutState state;
    ASSERT_TRUE(PrepareFaceCut(mesh, 0, shape, Along(Point3(0, 0, -1)), state));
    FaceTriangulation tri;
    CutTrace trace;
    BuildTriangulationInput(state, Welding(0.001f), tri);
    ASSERT_TRUE(RunTriangulation(tri));
    RebuildFace(mesh, 0, state, CutSettings(), tri, trace);

    int end = VertexAt(mesh, 4, Point3(0.5f, 0.0f, 0.0f));
    int inner = VertexAt(mesh, 4, Point3(0.5f, 0.5f, 0.0f));
    ASSERT_GE(end, 0);
    ASSERT_GE(inner, 0);
    int edge = mesh.FindEdge(end, inner);
    ASSERT_GE(edge, 0);
    EXPECT_TRUE(mesh.e[edge].GetFlag(cutflags::kCutLineEdge));
    EXPECT_FALSE(mesh.e[edge].GetFlag(cutflags::kOutlineEdge));
}

}  // namespace
