// Component flag bits that the face cut leaves for the clean-up after it.
#pragma once

#include "mnmesh.h"

// Face: handled by the cut (new faces, and faces the shape did not reach).
constexpr DWORD kFaceCutHandled = 0x4000000;
// Face: inside the shape (inside an odd number of closed shape polylines).
constexpr DWORD kFaceInsideShape = 0x80000000;

// Marks a face that stays as it was: handled, and inside the shape or not.
inline void MarkFaceUncut(MNFace& face, bool inside) {
    face.SetFlag(kFaceCutHandled);
    face.SetFlag(kFaceInsideShape, inside);
}
