// The modify pipeline through the loaded plug-in: early ends, selection and the
// clean-up steps.
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
    obj->mm.e[3].SetFlag(MN_SEL | 0x8000000);
    obj->mm.f[1].SetFlag(MN_SEL | 0x80000000);
    obj->mm.selLevel = MNM_SL_EDGE;
    return obj;
}

}  // namespace

TEST_F(PipelineTest, NothingPickedLeavesTheObjectAsItCame) {
    PolyObject* obj = SelectedGrid();
    MNMesh before = obj->mm;
    BuildScene(obj, Square(10.0f));
    Params()->SetValue(11, 0, 3);
    ExpectSameMesh(Evaluate(), before);
}

TEST_F(PipelineTest, AShapeWithoutPointsOrANonShapeLeavesTheObjectAsItCame) {
    PolyObject* obj = SelectedGrid();
    MNMesh before = obj->mm;
    BuildScene(obj, new SplineShape());
    Pick();
    ExpectSameMesh(Evaluate(), before);

    INode* notAShape = scene.AddNode(L"box", Grid(1));
    Params()->SetValue(0, 0, notAShape);
    ExpectSameMesh(Evaluate(), before);
}

TEST_F(PipelineTest, FacesInsideTheShapeAreSelectedWithTheirMaterial) {
    BuildScene(SelectedGrid(), Square(10.0f));
    Pick();
    Params()->SetValue(9, 0, 1);   // matid_on
    Params()->SetValue(10, 0, 5);  // matid
    MNMesh& m = Evaluate();
    // Input at edge level with face 1 selected: only face 1 takes part. The shape
    // surrounds it without touching it.
    EXPECT_EQ(CountFlag(m, 3, MN_SEL), 1);
    EXPECT_TRUE(m.f[1].GetFlag(MN_SEL | 0x80000000 | 0x4000000));
    EXPECT_EQ(m.f[1].material, 4);
    for (int f : {0, 2, 3}) {
        EXPECT_FALSE(m.f[f].GetFlag(0x80000000)) << f;  // cleared, never reached
        EXPECT_FALSE(m.f[f].GetFlag(0x4000000)) << f;
        EXPECT_EQ(m.f[f].material, 0) << f;
    }
    EXPECT_EQ(CountFlag(m, 2, MN_SEL), 0);
    EXPECT_EQ(CountFlag(m, 2, 0x8000000), 0);
    EXPECT_EQ(CountFlag(m, 1, MN_SEL), 4);  // the corners of the selected face
    EXPECT_EQ(m.selLevel, MNM_SL_EDGE);     // "Do not change"
}

TEST_F(PipelineTest, ObjectLevelCutsEveryLiveVisibleFace) {
    PolyObject* obj = Grid(2);
    obj->mm.f[2].SetFlag(MN_HIDDEN);
    obj->mm.f[3].SetFlag(MN_HIDDEN | MN_SEL);
    // A small square inside face 0 reaches no other face.
    BuildScene(obj, Polygon({Point3(-0.75f, -0.75f, 0), Point3(-0.25f, -0.75f, 0), Point3(-0.25f, -0.25f, 0),
                             Point3(-0.75f, -0.25f, 0)}));
    Pick();
    Params()->SetValue(11, 0, 3);
    MNMesh& m = Evaluate();
    EXPECT_TRUE(m.f[1].GetFlag(0x4000000));
    EXPECT_FALSE(m.f[2].GetFlag(0x4000000));  // hidden and not selected
    EXPECT_TRUE(m.f[3].GetFlag(0x4000000));   // hidden but selected
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
    EXPECT_EQ(CountFlag(m, 3, 0x4000000), 0);
    EXPECT_EQ(CountFlag(m, 3, MN_SEL), 0);
    EXPECT_EQ(CountFlag(m, 2, MN_SEL), 0);
    EXPECT_EQ(CountFlag(m, 1, MN_SEL), 0);
}

TEST_F(PipelineTest, OpenDeletesTheFacesInsideAndIgnoresTheMaterial) {
    BuildScene(Grid(2), Square(10.0f));
    Pick();
    Params()->SetValue(4, 0, 1);  // open
    Params()->SetValue(9, 0, 1);
    Params()->SetValue(11, 0, 0);
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
        if (derived->GetModifier(i) == mod) mc = derived->GetModContext(i);
    ASSERT_NE(mc, nullptr);
    TriObject* tri = static_cast<TriObject*>(Grid(1)->ConvertToType(0, triObjectClassID));
    ObjectState os(tri);
    mod->ModifyObject(0, *mc, &os, nullptr);
    ASSERT_NE(os.obj, tri);
    ASSERT_EQ(os.obj->ClassID(), polyObjectClassID);
    MNMesh& m = static_cast<PolyObject*>(os.obj)->mm;
    EXPECT_EQ(CountFlag(m, 3, 0x80000000), 2);  // both triangles lie inside the square
    os.obj->DeleteThis();
    tri->DeleteThis();
}
