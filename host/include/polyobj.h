// PolyObject: an object holding a poly mesh; TriObject: one holding a triangle
// mesh (class (9, 0)). Each converts to the other.
#pragma once

#include "mesh.h"
#include "mnmesh.h"
#include "object.h"

class PolyObject : public Object {
public:
    MNMesh mm;

    SClass_ID SuperClassID() const override { return GEOMOBJECT_CLASS_ID; }
    Class_ID ClassID() const override { return polyObjectClassID; }
    MNMesh& GetMesh() { return mm; }
    // The sub-object selection level (MNM_SL_*).
    int GetSubselState() const { return mm.selLevel; }
    void SetSubSelState(int level) { mm.selLevel = level; }

    int CanConvertToType(Class_ID cid) override;
    Object* ConvertToType(TimeValue t, Class_ID cid) override;
    Object* CopyObject() override;
};

class TriObject : public Object {
public:
    Mesh mesh;

    SClass_ID SuperClassID() const override { return GEOMOBJECT_CLASS_ID; }
    Class_ID ClassID() const override { return triObjectClassID; }
    Mesh& GetMesh() { return mesh; }

    int CanConvertToType(Class_ID cid) override;
    Object* ConvertToType(TimeValue t, Class_ID cid) override;
    Object* CopyObject() override;
};

// Builds a poly mesh from the triangles of a triangle mesh; triangles that cannot
// be added (degenerate, non-manifold) are skipped.
void MeshToMNMesh(const Mesh& mesh, MNMesh& out);
