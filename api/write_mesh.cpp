#include "slitform/write_mesh.h"

#include "api/mesh_conversion.h"
#include "contract/cut_mesh_flags.h"
#include "io/write_mesh.h"
#include "slitform/error.h"

namespace slitform {

namespace {

// With the attributes the format holds.
void Write(const std::string& path, const MNMesh& poly, const MeshAttributes& attributes) {
    MeshWriteOptions options;
    options.attributes = &attributes;
    options.plyEncoding = DefaultPlyEncoding(poly.numf);
    std::string error;
    if (!::WriteMesh(path, poly, options, error))
        throw Error(ErrorCode::UnwritableFile, error);
}

}  // namespace

void WriteMesh(const std::string& path, const Mesh& mesh) {
    MeshAttributes attributes;
    MNMesh poly = ToPolyMesh(mesh, &attributes);
    Write(path, poly, attributes);
}

void WriteMesh(const std::string& path, const Outcome& outcome) {
    MeshAttributes attributes;
    MNMesh poly = ToPolyMesh(outcome.mesh, &attributes);
    for (int v : outcome.selectedVertices) {
        if (v < 0 || v >= poly.numv)
            throw Error(ErrorCode::BadInput,
                        path + ": selected vertex " + std::to_string(v) + " is not in the mesh");
        poly.v[v].flags |= cutflags::kSelectedByCut;
    }
    for (const Edge& e : outcome.selectedEdges) {
        int found = poly.FindEdge(e[0], e[1]);
        if (found < 0)
            throw Error(ErrorCode::BadInput, path + ": selected edge " + std::to_string(e[0]) +
                                                 "-" + std::to_string(e[1]) +
                                                 " is not in the mesh");
        poly.e[found].flags |= cutflags::kSelectedByCut;
    }
    for (int f : outcome.selectedFaces) {
        if (f < 0 || f >= poly.numf)
            throw Error(ErrorCode::BadInput,
                        path + ": selected face " + std::to_string(f) + " is not in the mesh");
        poly.f[f].flags |= cutflags::kSelectedByCut;
    }
    Write(path, poly, attributes);
}

}  // namespace slitform
