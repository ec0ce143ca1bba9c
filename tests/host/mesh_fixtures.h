// Small meshes for the host tests, and the consistency assertion used after every
// mesh operation.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mnmesh.h"

inline ::testing::AssertionResult Consistent(const MNMesh& m) {
    std::string why;
    if (m.CheckAllData(&why))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << why;
}

inline int AddFace(MNMesh& m, std::vector<int> vv) {
    return m.CreateFace(static_cast<int>(vv.size()), vv.data());
}

// nx by ny unit quads in the xy plane, facing +z; vertex (i, j) is j * (nx + 1) + i.
inline void MakeGrid(MNMesh& m, int nx, int ny) {
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i) m.NewVert(Point3(float(i), float(j), 0.0f));
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            int a = j * (nx + 1) + i;
            AddFace(m, {a, a + 1, a + nx + 2, a + nx + 1});
        }
}

// The unit cube, six outward-facing quads.
inline void MakeCube(MNMesh& m) {
    for (int k = 0; k < 8; ++k) m.NewVert(Point3(float(k & 1), float((k >> 1) & 1), float(k >> 2)));
    AddFace(m, {0, 2, 3, 1});  // z = 0
    AddFace(m, {4, 5, 7, 6});  // z = 1
    AddFace(m, {0, 1, 5, 4});  // y = 0
    AddFace(m, {2, 6, 7, 3});  // y = 1
    AddFace(m, {0, 4, 6, 2});  // x = 0
    AddFace(m, {1, 3, 7, 5});  // x = 1
}

inline int LiveCount(const MNMesh& m, int level) {
    int n = 0;
    if (level == MNM_SL_VERTEX)
        for (int i = 0; i < m.numv; ++i) n += !m.v[i].GetFlag(MN_DEAD);
    if (level == MNM_SL_EDGE)
        for (int i = 0; i < m.nume; ++i) n += !m.e[i].GetFlag(MN_DEAD);
    if (level == MNM_SL_FACE)
        for (int i = 0; i < m.numf; ++i) n += !m.f[i].GetFlag(MN_DEAD);
    return n;
}
