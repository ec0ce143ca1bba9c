// A scene with a poly object carrying the loaded Slitform modifier and a spline
// shape to pick, for the pipeline tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/plugin_loader.h"
#include "app/scene.h"
#include "derivob.h"
#include "polyobj.h"
#include "splshape.h"

// An n by n grid of unit quads in the xy plane, facing +z, centred on the origin.
inline PolyObject* Grid(int n) {
    PolyObject* obj = new PolyObject();
    MNMesh& m = obj->mm;
    float h = n * 0.5f;
    for (int j = 0; j <= n; ++j)
        for (int i = 0; i <= n; ++i) m.NewVert(Point3(i - h, j - h, 0.0f));
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            int a = j * (n + 1) + i;
            int c[4] = {a, a + 1, a + n + 2, a + n + 1};
            m.CreateFace(4, c);
        }
    return obj;
}

// A closed polygon of straight segments.
inline SplineShape* Polygon(const std::vector<Point3>& corners, bool closed = true) {
    SplineShape* shape = new SplineShape();
    Spline3D spline;
    for (const Point3& p : corners) spline.AddKnot(SplineKnot(p, p, p));
    spline.closed = closed;
    shape->shape.splines.push_back(spline);
    return shape;
}

inline SplineShape* Square(float half) {
    return Polygon({Point3(-half, -half, 0), Point3(half, -half, 0), Point3(half, half, 0), Point3(-half, half, 0)});
}

class PipelineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(lib.Load(SLITFORM_PLUGIN_FILE, error)) << error;
        mod = static_cast<Modifier*>(lib.CreateInstance(OSM_CLASS_ID, Class_ID(0x99B58387, 0xD1918693)));
        ASSERT_NE(mod, nullptr);
    }

    // The object node and the shape node 5 units above it; the modifier applied.
    void BuildScene(PolyObject* obj, Object* shape) {
        object = scene.AddNode(L"object", obj);
        if (shape) shapeNode = scene.AddNode(L"shape", shape, TransMatrix(Point3(0, 0, 5)));
        scene.ApplyModifier(object, mod);
    }

    IParamBlock2* Params() { return mod->GetParamBlockByID(0); }
    void Pick() { Params()->SetValue(0, 0, shapeNode); }
    MNMesh& Evaluate() {
        Object* out = object->EvalWorldState(0).obj;
        EXPECT_EQ(out->ClassID(), polyObjectClassID);
        return static_cast<PolyObject*>(out)->mm;
    }

    PluginLibrary lib;
    Scene scene;  // after the library: destroyed before it is unloaded
    Modifier* mod = nullptr;
    INode* object = nullptr;
    INode* shapeNode = nullptr;
};

inline int CountFlag(const MNMesh& m, int level, DWORD flag) {
    int n = 0;
    if (level == 1)
        for (int i = 0; i < m.numv; ++i) n += !m.v[i].GetFlag(MN_DEAD) && m.v[i].GetFlag(flag);
    if (level == 2)
        for (int i = 0; i < m.nume; ++i) n += !m.e[i].GetFlag(MN_DEAD) && m.e[i].GetFlag(flag);
    if (level == 3)
        for (int i = 0; i < m.numf; ++i) n += !m.f[i].GetFlag(MN_DEAD) && m.f[i].GetFlag(flag);
    return n;
}

// The live edges with a face on one side only.
inline int BorderEdges(const MNMesh& m) {
    int n = 0;
    for (int e = 0; e < m.nume; ++e) n += !m.e[e].GetFlag(MN_DEAD) && m.e[e].f2 < 0;
    return n;
}
