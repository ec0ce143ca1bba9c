// Component flag bits that the face cut leaves for the clean-up after it.
#pragma once

#include "contract/cut_mesh_flags.h"
#include "mnmesh.h"

constexpr DWORD kFaceCutHandled = cutflags::kCutHandledFace;
constexpr DWORD kFaceInsideShape = cutflags::kInsideFace;

// Marks a face that stays as it was: handled, and inside the shape or not.
inline void MarkFaceUncut(MNFace& face, bool inside) {
    face.SetFlag(kFaceCutHandled);
    face.SetFlag(kFaceInsideShape, inside);
}
