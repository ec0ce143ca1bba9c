// Where a vertex of a cut face's outline lies on the mesh it was cut from.
#pragma once

#include <vector>

// A new vertex on the outline of a cut face, named by the edge of the face it lies
// on: the mesh's own corners from (the lower index) and to, and how far along from
// -> to it lies, 0 and 1 exactly for a copy of a corner. Faces on both sides of an
// edge record their points on it by the same pair, which is how a weld can tell
// copies that belong together from points of a neighbouring edge close by.
struct CutOutlineVertex {
    int vertex;
    int from;
    int to;
    double t;
};

using CutOutlineVertices = std::vector<CutOutlineVertex>;
