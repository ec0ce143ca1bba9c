// The counts of a cut: live components going in and out, faces replaced, selections.
#include "session/cut_counts.h"

#include <gtest/gtest.h>

#include "contract/cut_mesh_flags.h"

TEST(CountCut, CountsLiveComponentsAndCutFaces) {
    MNMesh in;
    for (Point3 p : {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0),
                     Point3(2, 0, 0), Point3(2, 1, 0)})
        in.NewVert(p);
    int a[4] = {0, 1, 2, 3}, b[4] = {1, 4, 5, 2};
    in.CreateFace(4, a);
    in.CreateFace(4, b);
    MNMesh out = in;
    out.f[0].SetFlag(cutflags::kReplacedFace);
    out.DeleteFlaggedFaces(cutflags::kReplacedFace);  // replaced by the cut
    int c[3] = {out.NewVert(Point3(0, 0, 0)), out.NewVert(Point3(1, 0, 0)),
                out.NewVert(Point3(0, 1, 0))};
    int nf = out.CreateFace(3, c);
    ASSERT_GE(nf, 0);
    out.f[nf].SetFlag(MN_SEL | cutflags::kCutHandledFace);
    out.e[out.f[nf].edg[0]].SetFlag(MN_SEL);
    CutCounts r = CountCut(CountMesh(in), out);
    EXPECT_EQ(r.facesIn, 2);
    EXPECT_EQ(r.facesOut, 2);
    EXPECT_EQ(r.facesCut, 1);
    EXPECT_EQ(r.selectedFaces, 1);
    EXPECT_EQ(r.selectedEdges, 1);
}
