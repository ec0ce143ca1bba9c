#include "session/carry_attributes.h"

#include "session/mean_value_weights.h"

namespace {

// The value at out's vertex vo of in's face fi, whose corners hold values.
Point3 ValueAt(const MNMesh& in, int fi, const std::vector<Point3>& values, const MNMesh& out,
               int vo) {
    const MNFace& face = in.f[fi];
    const Point3& p = out.v[vo].p;
    for (int j = 0; j < face.deg; ++j)
        if (face.vtx[j] == vo && in.v[vo].p == p)
            return values[j];
    std::vector<Point3> corners(face.deg);
    for (int j = 0; j < face.deg; ++j) corners[j] = in.v[face.vtx[j]].p;
    std::vector<double> w = MeanValueWeights(corners, p);
    double sum[3] = {0.0, 0.0, 0.0};
    for (int j = 0; j < face.deg; ++j)
        for (int k = 0; k < 3; ++k) sum[k] += w[j] * values[j][k];
    return Point3(static_cast<float>(sum[0]), static_cast<float>(sum[1]),
                  static_cast<float>(sum[2]));
}

void CarryCorners(const MNMesh& in, const std::vector<std::vector<Point3>>& from, const MNMesh& out,
                  const std::vector<int>& origin, bool unit, std::vector<std::vector<Point3>>& to) {
    to.assign(static_cast<std::size_t>(out.numf), {});
    for (int fo = 0; fo < out.numf; ++fo) {
        int fi = origin[fo];
        if (fi < 0 || static_cast<std::size_t>(fi) >= from.size() ||
            from[fi].size() != static_cast<std::size_t>(in.f[fi].deg))
            continue;
        const MNFace& face = out.f[fo];
        to[fo].resize(face.deg);
        for (int j = 0; j < face.deg; ++j) {
            Point3 value = ValueAt(in, fi, from[fi], out, face.vtx[j]);
            to[fo][j] = unit && value.LengthSquared() > 0.0f ? value.Normalize() : value;
        }
    }
}

}  // namespace

MeshAttributes CarryAttributes(const MNMesh& in, const MeshAttributes& attributes,
                               const MNMesh& out, const std::vector<int>& origin) {
    MeshAttributes carried;
    carried.objectName = attributes.objectName;
    carried.materialLibrary = attributes.materialLibrary;
    carried.materialLibraryText = attributes.materialLibraryText;
    carried.textureFolder = attributes.textureFolder;
    carried.up = attributes.up;
    carried.materialNames = attributes.materialNames;
    carried.groupNames = attributes.groupNames;
    if (!attributes.HasUV() && !attributes.HasNormals() && !attributes.HasColors() &&
        attributes.faceGroup.empty())
        return carried;
    if (!attributes.faceGroup.empty()) {
        carried.faceGroup.assign(static_cast<std::size_t>(out.numf), -1);
        for (int fo = 0; fo < out.numf; ++fo)
            if (origin[fo] >= 0 &&
                static_cast<std::size_t>(origin[fo]) < attributes.faceGroup.size())
                carried.faceGroup[fo] = attributes.faceGroup[origin[fo]];
    }
    if (attributes.HasUV())
        CarryCorners(in, attributes.uv, out, origin, false, carried.uv);
    if (attributes.HasNormals())
        CarryCorners(in, attributes.normal, out, origin, true, carried.normal);
    if (!attributes.HasColors())
        return carried;
    carried.color.assign(static_cast<std::size_t>(out.numv), Point3(0.0f, 0.0f, 0.0f));
    std::vector<bool> done(static_cast<std::size_t>(out.numv), false);
    for (int vo = 0; vo < out.numv && vo < in.numv; ++vo)
        if (static_cast<std::size_t>(vo) < attributes.color.size() && out.v[vo].p == in.v[vo].p) {
            carried.color[vo] = attributes.color[vo];
            done[vo] = true;
        }
    for (int fo = 0; fo < out.numf; ++fo) {
        int fi = origin[fo];
        if (fi < 0)
            continue;
        std::vector<Point3> values;
        for (int v : out.f[fo].vtx) {
            if (done[v])
                continue;
            if (values.empty())
                for (int vi : in.f[fi].vtx)
                    values.push_back(static_cast<std::size_t>(vi) < attributes.color.size()
                                         ? attributes.color[vi]
                                         : Point3(0.0f, 0.0f, 0.0f));
            carried.color[v] = ValueAt(in, fi, values, out, v);
            done[v] = true;
        }
    }
    return carried;
}
