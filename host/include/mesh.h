// Mesh: the host's triangle-mesh form (object class ID (9, 0)).
#pragma once

#include <vector>

#include "maxtypes.h"
#include "point3.h"

// A triangle: three vertex indices, then smoothing bits and flags.
class Face {
public:
    DWORD v[3] = {0, 0, 0};
    DWORD smGroup = 0;
    DWORD flags = 0;

    void setVerts(int a, int b, int c) {
        v[0] = static_cast<DWORD>(a);
        v[1] = static_cast<DWORD>(b);
        v[2] = static_cast<DWORD>(c);
    }
};

class Mesh {
public:
    int numVerts = 0;
    int numFaces = 0;
    Point3* verts = nullptr;
    Face* faces = nullptr;

    Mesh() = default;
    Mesh(const Mesh& from);
    Mesh& operator=(const Mesh& from);
    ~Mesh() = default;

    int getNumVerts() const { return numVerts; }
    int getNumFaces() const { return numFaces; }
    void setNumVerts(int n);
    void setNumFaces(int n);
    Point3& getVert(int i) { return verts[i]; }
    const Point3& getVert(int i) const { return verts[i]; }

private:
    void Sync();
    std::vector<Point3> vertStore;
    std::vector<Face> faceStore;
};
