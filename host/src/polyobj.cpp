#include "polyobj.h"

int PolyObject::CanConvertToType(Class_ID cid) {
    return cid == polyObjectClassID || cid == triObjectClassID;
}

Object* PolyObject::ConvertToType(TimeValue, Class_ID cid) {
    if (cid == polyObjectClassID) return this;
    if (cid != triObjectClassID) return nullptr;
    TriObject* tri = new TriObject();
    mm.OutToTri(tri->mesh);
    return tri;
}

Object* PolyObject::CopyObject() {
    PolyObject* copy = new PolyObject();
    copy->mm = mm;
    return copy;
}

int TriObject::CanConvertToType(Class_ID cid) {
    return cid == polyObjectClassID || cid == triObjectClassID;
}

Object* TriObject::ConvertToType(TimeValue, Class_ID cid) {
    if (cid == triObjectClassID) return this;
    if (cid != polyObjectClassID) return nullptr;
    PolyObject* poly = new PolyObject();
    MeshToMNMesh(mesh, poly->mm);
    return poly;
}

Object* TriObject::CopyObject() {
    TriObject* copy = new TriObject();
    copy->mesh = mesh;
    return copy;
}

void MeshToMNMesh(const Mesh& mesh, MNMesh& out) {
    out.Clear();
    for (int i = 0; i < mesh.numVerts; ++i) out.NewVert(mesh.verts[i]);
    for (int i = 0; i < mesh.numFaces; ++i) {
        const Face& tri = mesh.faces[i];
        int corners[3];
        bool inRange = true;
        for (int k = 0; k < 3; ++k) {
            if (tri.v[k] >= static_cast<DWORD>(mesh.numVerts)) inRange = false;
            corners[k] = static_cast<int>(tri.v[k]);
        }
        if (!inRange) continue;
        int fi = out.CreateFace(3, corners);
        if (fi >= 0) out.f[fi].smGroup = tri.smGroup;
    }
}
