// The modify pipeline through the loaded plug-in: early ends, selection and the
// clean-up steps.
#include <atomic>
#include <map>
#include <memory>
#include <tuple>

#include "contract/cut_mesh_flags.h"
#include "contract/cut_record.h"
#include "mnmesh.h"
#include "pipeline_fixture.h"

namespace {

void ExpectSameMesh(const MNMesh& a, const MNMesh& b) {
    ASSERT_EQ(a.numv, b.numv);
    ASSERT_EQ(a.nume, b.nume);
    ASSERT_EQ(a.numf, b.numf);
    for (int i = 0; i < a.numv; ++i) {
        EXPECT_EQ(a.v[i].flags, b.v[i].flags) << i;
        EXPECT_EQ(a.v[i].p, b.v[i].p) << i;
    }
    for (int i = 0; i < a.nume; ++i) EXPECT_EQ(a.e[i].flags, b.e[i].flags) << i;
    for (int i = 0; i < a.numf; ++i) {
        EXPECT_EQ(a.f[i].flags, b.f[i].flags) << i;
        EXPECT_EQ(a.f[i].material, b.f[i].material) << i;
    }
    EXPECT_EQ(a.selLevel, b.selLevel);
    EXPECT_EQ(a.GetDispFlags(), b.GetDispFlags());
}

PolyObject* SelectedGrid() {
    PolyObject* obj = Grid(2);
    obj->mm.v[0].SetFlag(MN_SEL);
    obj->mm.e[3].SetFlag(MN_SEL | cutflags::kOutlineEdge);
    obj->mm.f[1].SetFlag(MN_SEL | cutflags::kInsideFace);
    obj->mm.selLevel = MNM_SL_EDGE;
    return obj;
}

}  // namespace

TEST_F(PipelineTest, NothingPickedLeavesTheObjectAsItCame) {
    PolyObject* obj = SelectedGrid();
    MNMesh before = obj->mm;
    BuildScene(obj, Square(10.0f));
    Set("sel_level", "3");
    ExpectSameMesh(Evaluate(), before);
}

TEST_F(PipelineTest, AShapeWithoutPointsOrANonShapeLeavesTheObjectAsItCame) {
    PolyObject* obj = SelectedGrid();
    MNMesh before = obj->mm;
    BuildScene(obj, new SplineShape());
    Pick();
    ExpectSameMesh(Evaluate(), before);

    INode* notAShape = session->AddNode(L"box", Grid(1));
    Params()->SetValue(0, 0, notAShape);
    ExpectSameMesh(Evaluate(), before);
}

TEST_F(PipelineTest, PickingTheObjectItselfLeavesItAsItCame) {
    PolyObject* obj = SelectedGrid();
    MNMesh before = obj->mm;
    BuildScene(obj, nullptr);
    EXPECT_FALSE(Params()->SetValue(0, 0, object));  // a reference loop is refused
    EXPECT_EQ(Params()->GetINode(0), nullptr);
    ExpectSameMesh(Evaluate(), before);
}

TEST_F(PipelineTest, FacesInsideTheShapeAreSelectedWithTheirMaterial) {
    BuildScene(SelectedGrid(), Square(10.0f));
    Pick();
    Set("matid_on", "on");
    Set("matid", "5");
    MNMesh& m = Evaluate();
    // Input at edge level with face 1 selected: only face 1 takes part. The shape
    // surrounds it without touching it.
    EXPECT_EQ(CountFlag(m, 3, MN_SEL), 1);
    EXPECT_TRUE(m.f[1].GetFlag(MN_SEL | cutflags::kInsideFace | cutflags::kCutHandledFace));
    EXPECT_EQ(m.f[1].material, 4);
    for (int f : {0, 2, 3}) {
        EXPECT_FALSE(m.f[f].GetFlag(cutflags::kInsideFace)) << f;  // cleared, never reached
        EXPECT_FALSE(m.f[f].GetFlag(cutflags::kCutHandledFace)) << f;
        EXPECT_EQ(m.f[f].material, 0) << f;
    }
    EXPECT_EQ(CountFlag(m, 2, MN_SEL), 0);
    EXPECT_EQ(CountFlag(m, 2, cutflags::kOutlineEdge), 0);
    EXPECT_EQ(CountFlag(m, 1, MN_SEL), 4);  // the corners of the selected face
    EXPECT_EQ(m.selLevel, MNM_SL_EDGE);     // "Do not change"
}

TEST_F(PipelineTest, ObjectLevelCutsEveryLiveVisibleFace) {
    PolyObject* obj = Grid(2);
    obj->mm.f[2].SetFlag(MN_HIDDEN);
    obj->mm.f[3].SetFlag(MN_HIDDEN | MN_SEL);
    // A small square inside face 0 reaches no other face.
    BuildScene(obj, Polygon({Point3(-0.75f, -0.75f, 0), Point3(-0.25f, -0.75f, 0),
                             Point3(-0.25f, -0.25f, 0), Point3(-0.75f, -0.25f, 0)}));
    Pick();
    Set("sel_level", "3");
    MNMesh& m = Evaluate();
    EXPECT_TRUE(m.f[1].GetFlag(cutflags::kCutHandledFace));
    EXPECT_FALSE(m.f[2].GetFlag(cutflags::kCutHandledFace));  // hidden and not selected
    EXPECT_TRUE(m.f[3].GetFlag(cutflags::kCutHandledFace));   // hidden but selected
    EXPECT_EQ(m.selLevel, MNM_SL_FACE);
    EXPECT_TRUE(m.GetDispFlag(MNDISP_SELFACES));
}

TEST_F(PipelineTest, SubObjectLevelWithoutFaceSelectionCutsNothing) {
    PolyObject* obj = Grid(2);
    obj->mm.selLevel = MNM_SL_VERTEX;
    obj->mm.v[4].SetFlag(MN_SEL);
    obj->mm.e[0].SetFlag(MN_SEL);
    BuildScene(obj, Square(10.0f));
    Pick();
    MNMesh& m = Evaluate();
    EXPECT_EQ(CountFlag(m, 3, cutflags::kCutHandledFace), 0);
    EXPECT_EQ(CountFlag(m, 3, MN_SEL), 0);
    EXPECT_EQ(CountFlag(m, 2, MN_SEL), 0);
    EXPECT_EQ(CountFlag(m, 1, MN_SEL), 0);
}

TEST_F(PipelineTest, OpenDeletesTheFacesInsideAndIgnoresTheMaterial) {
    BuildScene(Grid(2), Square(10.0f));
    Pick();
    Set("open", "on");
    Set("matid_on", "on");
    Set("sel_level", "0");
    MNMesh& m = Evaluate();
    EXPECT_EQ(CountFlag(m, 3, 0), 0);  // no live face
    for (int f = 0; f < m.numf; ++f) EXPECT_EQ(m.f[f].material, 0);
    EXPECT_EQ(CountFlag(m, 1, MN_SEL), 0);
    EXPECT_EQ(m.selLevel, MNM_SL_OBJECT);
    EXPECT_TRUE(m.GetDispFlag(MNDISP_VERTTICKS));
}

TEST_F(PipelineTest, AConvertedInputIsHandedBackCut) {
    BuildScene(Grid(1), Square(10.0f));
    Pick();
    ModContext* mc = nullptr;
    IDerivedObject* derived = static_cast<IDerivedObject*>(object->GetObjectRef());
    for (int i = 0; i < derived->NumModifiers(); ++i)
        if (derived->GetModifier(i) == mod)
            mc = derived->GetModContext(i);
    ASSERT_NE(mc, nullptr);
    std::unique_ptr<PolyObject> grid(Grid(1));
    TriObject* tri = static_cast<TriObject*>(grid->ConvertToType(0, triObjectClassID));
    ObjectState os(tri);
    mod->ModifyObject(0, *mc, &os, nullptr);
    ASSERT_NE(os.obj, tri);
    ASSERT_EQ(os.obj->ClassID(), polyObjectClassID);
    MNMesh& m = static_cast<PolyObject*>(os.obj)->mm;
    EXPECT_EQ(CountFlag(m, 3, cutflags::kInsideFace), 2);  // both triangles lie inside the square
    os.obj->DeleteThis();
    tri->DeleteThis();
}

namespace {

// A box of n by n by n quads, 2 units a side, centred on the origin.
PolyObject* Box(int n) {
    PolyObject* obj = new PolyObject();
    MNMesh& m = obj->mm;
    std::map<std::tuple<int, int, int>, int> index;
    auto vertex = [&](int i, int j, int k) {
        auto key = std::make_tuple(i, j, k);
        auto it = index.find(key);
        if (it != index.end())
            return it->second;
        int v = m.NewVert(Point3(2.0f * i / n - 1.0f, 2.0f * j / n - 1.0f, 2.0f * k / n - 1.0f));
        index.emplace(key, v);
        return v;
    };
    const int sides[6][9] = {{0, 0, 1, 1, 0, 0, 0, 1, 0},  {0, 1, 0, 1, 0, 0, 0, -1, 0},
                             {1, 0, 0, 0, 1, 0, 0, 0, 1},  {0, 1, 0, 0, -1, 0, 0, 0, 1},
                             {1, 1, 0, -1, 0, 0, 0, 0, 1}, {0, 0, 0, 1, 0, 0, 0, 0, 1}};
    for (const int* s : sides)
        for (int b = 0; b < n; ++b)
            for (int a = 0; a < n; ++a) {
                int c[4];
                const int steps[4][2] = {{a, b}, {a + 1, b}, {a + 1, b + 1}, {a, b + 1}};
                for (int k = 0; k < 4; ++k) {
                    int p[3];
                    for (int d = 0; d < 3; ++d)
                        p[d] = s[d] * n + steps[k][0] * s[3 + d] + steps[k][1] * s[6 + d];
                    c[k] = vertex(p[0], p[1], p[2]);
                }
                m.CreateFace(4, c);
            }
    return obj;
}

int LiveVertices(const MNMesh& m) {
    int n = 0;
    for (int v = 0; v < m.numv; ++v) n += !m.v[v].GetFlag(MN_DEAD);
    return n;
}

}  // namespace

TEST_F(PipelineTest, WeldClosesTheCracksAlongFacesTheCutDidNotReach) {
    // A band across the top runs over two edges of the box and down nowhere: the
    // side faces are not cut, yet the top's new border vertices meet their edges.
    BuildScene(Box(3), Polygon({Point3(-2.0f, -0.3f, 0), Point3(2.0f, -0.2f, 0),
                                Point3(2.0f, 0.4f, 0), Point3(-2.0f, 0.3f, 0)}));
    Pick();
    IDerivedObject* stack = static_cast<IDerivedObject*>(object->GetObjectRef());
    ASSERT_EQ(BorderEdges(static_cast<PolyObject*>(stack->GetObjRef())->mm), 0);  // closed going in
    Set("weld_on", "off");  // the cut leaves cracks
    EXPECT_GT(BorderEdges(Evaluate()), 0);
    Set("weld_on", "on");  // closed again
    MNMesh& m = Evaluate();
    std::string why;
    EXPECT_TRUE(m.CheckAllData(&why)) << why;
    EXPECT_EQ(BorderEdges(m), 0);
    EXPECT_GT(CountFlag(m, 2, MN_SEL), 0);
}

TEST_F(PipelineTest, LocalProjectionCutsInEachFacesPlane) {
    BuildScene(Grid(2), Polygon({Point3(-2.0f, 0.1f, 0), Point3(2.0f, 0.3f, 0)}, false));
    Pick();
    Set("local", "on");
    MNMesh& m = Evaluate();
    EXPECT_GT(CountFlag(m, 2, MN_SEL), 0);
    for (int v = 0; v < m.numv; ++v) {
        if (!m.v[v].GetFlag(MN_DEAD)) {
            EXPECT_EQ(m.v[v].p.z, 0.0f) << v;
        }
    }
}

TEST_F(PipelineTest, CollinearRemovalSkipsVerticesWithUnusedEdges) {
    // A straight run of many points across one face, turning outside it (so that
    // the shape spans a plane): its inner points are collinear candidates only
    // when no unused triangulation edge meets them.
    std::vector<Point3> line;
    for (int i = 0; i <= 20; ++i) line.push_back(Point3(-1.5f + 0.15f * i, 0.1f, 0.0f));
    line.push_back(Point3(1.5f, 1.5f, 0.0f));
    BuildScene(Grid(1), Polygon(line, false));
    Pick();
    Set("collinear_on", "on");
    Set("min_angle", "0");
    int withRemoval = LiveVertices(Evaluate());
    Set("remove_unused", "off");
    int withoutRemoval = LiveVertices(Evaluate());
    Set("collinear_on", "off");
    int noCollinear = LiveVertices(Evaluate());
    EXPECT_EQ(withoutRemoval, noCollinear);
    EXPECT_LT(withRemoval, noCollinear);
}

TEST_F(PipelineTest, AWatchedFlagStopsTheCutAndLetsTheNextOneRun) {
    BuildScene(Grid(8), Square(2.5f));
    Pick();
    auto watch =
        reinterpret_cast<SlitformWatchCancelFn>(session->Library().Symbol(CUT_CANCEL_EXPORT));
    ASSERT_NE(watch, nullptr);
    EXPECT_FALSE(watch(nullptr, nullptr));
    // Handed a raised flag, the modifier evaluates without cutting a face: no face is
    // deleted, and the host's own cancel (at the first deleted face) never comes into it.
    std::atomic<bool> stop{true};
    ASSERT_TRUE(watch(mod, &stop));
    long long deleted = HostDeletedFaceCount();
    Object* stopped = object->EvalWorldState(0).obj;
    ASSERT_NE(stopped, nullptr);
    EXPECT_EQ(HostDeletedFaceCount(), deleted);
    EXPECT_EQ(static_cast<PolyObject*>(stopped)->mm.numf, 64);
    // Lowered again, or taken back, the cut runs.
    stop = false;
    MNMesh& cut = Evaluate();
    EXPECT_GT(cut.numf, 64);
    ASSERT_TRUE(watch(mod, nullptr));
    EXPECT_GT(Evaluate().numf, 64);
}
