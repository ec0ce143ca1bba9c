// A cut session on the loaded plug-in with a poly object and a shape to pick, for
// the pipeline tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "derivob.h"
#include "polyobj.h"
#include "session/cut_session.h"
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
    return Polygon({Point3(-half, -half, 0), Point3(half, -half, 0), Point3(half, half, 0),
                    Point3(-half, half, 0)});
}

class PipelineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        session = CutSession::Open(SLITFORM_PLUGIN_FILE, error);
        ASSERT_NE(session, nullptr) << error;
        mod = session->Mod();
        object = session->ObjectNode();
    }

    // The object and the shape's node 5 units above it, under the modifier; the
    // session takes both.
    void BuildScene(PolyObject* obj, Object* shape) {
        session->SetObject(obj);
        if (shape) {
            session->SetShapeObject(shape, TransMatrix(Point3(0, 0, 5)));
            shapeNode = session->ShapeNode();
        }
    }

    IParamBlock2* Params() { return session->Block(); }
    // Sets a parameter by its name, as the command line does.
    void Set(const char* name, const char* value) {
        std::string error;
        ASSERT_TRUE(session->SetParameter(name, value, error)) << error;
    }
    void Pick() { session->PickShape(); }
    MNMesh& Evaluate() {
        outcome = session->Evaluate();
        EXPECT_TRUE(outcome.evaluated) << outcome.error;
        return outcome.mesh;
    }

    std::unique_ptr<CutSession> session;
    CutOutcome outcome;
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
