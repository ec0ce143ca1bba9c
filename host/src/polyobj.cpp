#include "polyobj.h"

#include <memory>

int PolyObject::CanConvertToType(Class_ID cid) {
    return cid == polyObjectClassID || cid == triObjectClassID;
}

Object* PolyObject::ConvertToType(TimeValue, Class_ID cid) {
    if (cid == polyObjectClassID)
        return this;
    if (cid != triObjectClassID)
        return nullptr;
    // A cancel can stop the conversion part way: the new object must not leak then.
    auto tri = std::make_unique<TriObject>();
    mm.OutToTri(tri->mesh);
    return tri.release();
}

Object* PolyObject::CopyObject() {
    // A cancel can stop the copy of a large mesh part way: the new object must not
    // leak then.
    auto copy = std::make_unique<PolyObject>();
    copy->mm = mm;
    return copy.release();
}

int TriObject::CanConvertToType(Class_ID cid) {
    return cid == polyObjectClassID || cid == triObjectClassID;
}

Object* TriObject::ConvertToType(TimeValue, Class_ID cid) {
    if (cid == triObjectClassID)
        return this;
    if (cid != polyObjectClassID)
        return nullptr;
    auto poly = std::make_unique<PolyObject>();
    MeshToMNMesh(mesh, poly->mm);
    return poly.release();
}

Object* TriObject::CopyObject() {
    auto copy = std::make_unique<TriObject>();
    copy->mesh = mesh;
    return copy.release();
}

void MeshToMNMesh(const Mesh& mesh, MNMesh& out) {
    out.Clear();
    for (int i = 0; i < mesh.numVerts; ++i) out.NewVert(mesh.verts[i]);
    for (int i = 0; i < mesh.numFaces; ++i) {
        const Face& tri = mesh.faces[i];
        int corners[3];
        bool inRange = true;
        for (int k = 0; k < 3; ++k) {
            if (tri.v[k] >= static_cast<DWORD>(mesh.numVerts))
                inRange = false;
            corners[k] = static_cast<int>(tri.v[k]);
        }
        if (!inRange)
            continue;
        int fi = out.CreateFace(3, corners);
        if (fi >= 0)
            out.f[fi].smGroup = tri.smGroup;
    }
}
