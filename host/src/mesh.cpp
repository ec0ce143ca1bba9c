#include "mesh.h"

void Mesh::Sync() {
    numVerts = static_cast<int>(vertStore.size());
    numFaces = static_cast<int>(faceStore.size());
    verts = vertStore.empty() ? nullptr : vertStore.data();
    faces = faceStore.empty() ? nullptr : faceStore.data();
}

Mesh::Mesh(const Mesh& from) : vertStore(from.vertStore), faceStore(from.faceStore) {
    Sync();
}

Mesh& Mesh::operator=(const Mesh& from) {
    if (this != &from) {
        vertStore = from.vertStore;
        faceStore = from.faceStore;
        Sync();
    }
    return *this;
}

void Mesh::setNumVerts(int n) {
    vertStore.resize(n < 0 ? 0 : static_cast<size_t>(n));
    Sync();
}

void Mesh::setNumFaces(int n) {
    faceStore.resize(n < 0 ? 0 : static_cast<size_t>(n));
    Sync();
}
