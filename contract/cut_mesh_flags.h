// The component flag bits the modifier leaves on the poly mesh it hands up the
// stack, by role: what the cut, its clean-up, the application and stored files
// agree on. The values are stored in files: never renumber them.
#pragma once

#include "mnmesh.h"

namespace cutflags {

// Vertex: a corner of a cut face or of one of its new faces; the border weld joins
// these across faces.
constexpr DWORD kCutCornerVertex = 0x4000000;
// Vertex, edge and face: selected by the cut (vertices and edges on the cut lines,
// faces inside the shape).
constexpr DWORD kSelectedByCut = MN_SEL;
// Edge: lies on a line of the shape.
constexpr DWORD kCutLineEdge = MN_SEL;
// Edge: lies on the outline of the face it was cut from.
constexpr DWORD kOutlineEdge = 0x8000000;
// Edge: made by the triangulation inside a cut face; removed with remove_unused.
constexpr DWORD kInteriorEdge = 0x2000000;
// Face: handled by the cut (a new face, or one the shape did not reach).
constexpr DWORD kCutHandledFace = 0x4000000;
// Face: replaced by the faces of its cut.
constexpr DWORD kReplacedFace = 0x2000000;
// Face: inside the shape (inside an odd number of its closed lines).
constexpr DWORD kInsideFace = 0x80000000;

// What an evaluation clears before it cuts: the marks of an earlier one.
constexpr DWORD kVertexMarks = kSelectedByCut | kCutCornerVertex;
constexpr DWORD kEdgeMarks = kCutLineEdge | kOutlineEdge;
constexpr DWORD kFaceMarks = kInsideFace | kCutHandledFace | kReplacedFace;

}  // namespace cutflags
