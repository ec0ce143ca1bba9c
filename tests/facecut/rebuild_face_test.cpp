// The rebuild of a face from triangulator output made by hand: points that only
// single precision tells apart.
#include "facecut/rebuild/rebuild_face.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "facecut/face_triangulation.h"
#include "facecut/prepare/prepare_face_cut.h"
#include "shape_builders.h"

namespace {

template <class T>
T* Copy(const std::vector<T>& values) {
    T* data = static_cast<T*>(std::malloc(sizeof(T) * values.size()));
    std::memcpy(data, values.data(), sizeof(T) * values.size());
    return data;
}

// Three output points 1e-12 apart at the middle of a unit quad, the first joined to
// its corners by a fan, and one triangle made of all three: in single precision they
// are one position, so they become one vertex and that triangle no face.
TEST(RebuildFace, PointsThatCollapseInSinglePrecisionShareOneVertex) {
    MNMesh mesh;
    int corners[4] = {mesh.NewVert(Point3(0, 0, 0)), mesh.NewVert(Point3(1, 0, 0)),
                      mesh.NewVert(Point3(1, 1, 0)), mesh.NewVert(Point3(0, 1, 0))};
    mesh.CreateFace(4, corners);
    PolyShape shape = MakeShape({MakeLine({Point3(0.5f, 0.5f, 0), Point3(0.6f, 0.5f, 0)}, false)});
    FaceCutState state;
    ASSERT_TRUE(PrepareFaceCut(mesh, 0, shape, Along(Point3(0, 0, -1)), state));

    FaceTriangulation tri;
    CutTrace trace;
    triangulateio& out = tri.out;
    out.numberofpoints = 7;
    out.numberofpointattributes = 2;
    out.pointlist =
        Copy<REAL>({0, 0, 1, 0, 1, 1, 0, 1, 0.5, 0.5, 0.5 + 1e-12, 0.5, 0.5, 0.5 + 1e-12});
    out.pointattributelist = Copy<REAL>({0, -1, 0, -1, 0, -1, 0, -1, 0, 1, 0, 1, 0, 1});
    out.numberoftriangles = 5;
    out.trianglelist = Copy<int>({0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4, 4, 5, 6});
    out.numberofsegments = 4;
    out.segmentlist = Copy<int>({0, 1, 1, 2, 2, 3, 3, 0});
    out.segmentmarkerlist = Copy<int>({2, 2, 2, 2});
    ASSERT_TRUE(RebuildFace(mesh, 0, state, CutSettings(), tri, trace));

    int faces = 0;
    for (int f = 1; f < mesh.numf; ++f) {
        if (mesh.f[f].GetFlag(MN_DEAD))
            continue;
        ++faces;
        EXPECT_GT(mesh.GetFaceNormal(f).Length(), 0.0f) << f;
    }
    EXPECT_EQ(faces, 4);
    int middle = 0;
    for (int v = 4; v < mesh.numv; ++v) middle += mesh.v[v].p == Point3(0.5f, 0.5f, 0.0f);
    EXPECT_EQ(middle, 1);
    std::string why;
    EXPECT_TRUE(mesh.CheckAllData(&why)) << why;
}

}  // namespace
