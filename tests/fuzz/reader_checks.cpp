#include "reader_checks.h"

#include <cmath>

#include "fuzz_check.h"
#include "io/build_mnmesh.h"

void CheckMeshRead(const std::string& path, bool ok, const std::string& error,
                   const slitform::Mesh& data, const MeshFlags& flags,
                   std::vector<std::string> warnings) {
    if (!ok) {
        RequireOneLineNaming(error, path);
        return;
    }
    MNMesh mesh;
    BuildMNMesh(path, data, &flags, mesh, &warnings);
    std::string why;
    FuzzRequire(mesh.CheckAllData(&why), "inconsistent mesh: " + why);
    for (const std::string& warning : warnings) RequireOneLineNaming(warning, path);
}

void CheckShapeRead(const std::string& path, bool ok, const std::string& error,
                    const std::vector<Spline3D>& splines) {
    if (!ok)
        RequireOneLineNaming(error, path);
    for (const Spline3D& spline : splines)
        for (const SplineKnot& k : spline.knots)
            for (const Point3* p : {&k.inVec, &k.knot, &k.outVec})
                FuzzRequire(std::isfinite(p->x) && std::isfinite(p->y) && std::isfinite(p->z),
                            "a shape point is not finite");
}
