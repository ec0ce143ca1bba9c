// What this program's own files keep of a mesh beside the flat mesh value: the host's
// flags words (the cut's selections and marks) and smoothing groups.
#pragma once

#include <vector>

#include "maxtypes.h"

struct FlaggedEdge {
    int v1 = 0;
    int v2 = 0;
    DWORD flags = 0;
};

struct MeshFlags {
    std::vector<DWORD> vertex;       // one per vertex, or empty: none
    std::vector<DWORD> face;         // one per face, or empty: none
    std::vector<DWORD> smoothing;    // one per face, or empty: none
    std::vector<FlaggedEdge> edges;  // flags for the edges joining v1 and v2
};
