// MNMesh: the host's polygon mesh. Components are addressed by index; removal
// marks a component dead (MN_DEAD) and renumbers nothing; new components are
// appended. Every operation checks its arguments and answers with its failure
// value rather than leave the mesh inconsistent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "index_list.h"
#include "maxtypes.h"
#include "point3.h"

class Mesh;

// Component flag bits the host itself defines.
#define MN_SEL 0x1
#define MN_DEAD 0x2
#define MN_HIDDEN 0x10

// Selection levels.
#define MNM_SL_OBJECT 0
#define MNM_SL_VERTEX 1
#define MNM_SL_EDGE 2
#define MNM_SL_FACE 3

// Display flags.
#define MNDISP_VERTTICKS 0x1
#define MNDISP_SELVERTS 0x2
#define MNDISP_SELFACES 0x4
#define MNDISP_SELEDGES 0x8

class MNVert {
public:
    DWORD flags = 0;
    Point3 p;

    bool GetFlag(DWORD f) const { return (flags & f) != 0; }
    void SetFlag(DWORD f, bool on = true) { flags = on ? (flags | f) : (flags & ~f); }
    void ClearFlag(DWORD f) { flags &= ~f; }
};

// An edge runs from v1 to v2 as face f1 walks it; f2 is the face on the other
// side, or -1 on a border.
class MNEdge {
public:
    DWORD flags = 0;
    int v1 = -1;
    int v2 = -1;
    int f1 = -1;
    int f2 = -1;

    bool GetFlag(DWORD f) const { return (flags & f) != 0; }
    void SetFlag(DWORD f, bool on = true) { flags = on ? (flags | f) : (flags & ~f); }
    void ClearFlag(DWORD f) { flags &= ~f; }
    // The vertex at the other end from v, or -1 if v is not an end.
    int OtherVert(int v) const { return v == v1 ? v2 : (v == v2 ? v1 : -1); }
    int OtherFace(int f) const { return f == f1 ? f2 : (f == f2 ? f1 : -1); }
};

// A polygon: corners vtx[0..deg-1]; edge edg[j] joins corner j and corner j + 1.
class MNFace {
public:
    DWORD flags = 0;
    int deg = 0;
    IndexList<4> vtx;
    IndexList<4> edg;
    DWORD smGroup = 0;
    MtlID material = 0;

    bool GetFlag(DWORD f) const { return (flags & f) != 0; }
    void SetFlag(DWORD f, bool on = true) { flags = on ? (flags | f) : (flags & ~f); }
    void ClearFlag(DWORD f) { flags &= ~f; }
    // The corner number of vertex v, or -1.
    int VertIndex(int v) const;
    // The corner number at which edge e starts, or -1.
    int EdgeIndex(int e) const;
};

// Faces removed by DeleteFlaggedFaces in this process so far, over all meshes; a
// host shows evaluation progress from it (a cut removes each face it replaces).
long long HostDeletedFaceCount();

class MNMesh {
public:
    int numv = 0;
    int nume = 0;
    int numf = 0;
    MNVert* v = nullptr;
    MNEdge* e = nullptr;
    MNFace* f = nullptr;
    int selLevel = MNM_SL_OBJECT;

    MNMesh() = default;
    MNMesh(const MNMesh& from);
    MNMesh& operator=(const MNMesh& from);
    // Take from's components without copying them; from is left empty.
    MNMesh(MNMesh&& from) noexcept;
    MNMesh& operator=(MNMesh&& from) noexcept;
    ~MNMesh() = default;

    int VNum() const { return numv; }
    int ENum() const { return nume; }
    int FNum() const { return numf; }
    MNVert* V(int i) { return &v[i]; }
    MNEdge* E(int i) { return &e[i]; }
    MNFace* F(int i) { return &f[i]; }
    const MNVert* V(int i) const { return &v[i]; }
    const MNEdge* E(int i) const { return &e[i]; }
    const MNFace* F(int i) const { return &f[i]; }
    Point3& P(int i) { return v[i].p; }
    const Point3& P(int i) const { return v[i].p; }

    // Empties the mesh.
    void Clear();

    DWORD GetDispFlags() const { return dispFlags; }
    bool GetDispFlag(DWORD fl) const { return (dispFlags & fl) != 0; }
    void SetDispFlag(DWORD fl) { dispFlags |= fl; }
    void ClearDispFlag(DWORD fl) { dispFlags &= ~fl; }

    // Make room for num vertices, edges or faces in all, so that appending up to that
    // many moves nothing; the counts stay as they are.
    void VAlloc(int num);
    void EAlloc(int num);
    void FAlloc(int num);

    // Appends a vertex at p; returns its index.
    int NewVert(const Point3& p);
    // Appends a face with the given corners, sharing an existing edge that one face
    // walks the other way. Returns its index, or -1 (nothing changed) when degree <
    // 3, a vertex is out of range, dead or repeated, or an edge already has faces on
    // both sides or runs the same way.
    int CreateFace(int degree, const int* vv);

    // Newell's normal of face fc (the triangle's cross product for degree 3): twice
    // the area when not normalised. Zero for a dead or unknown face.
    Point3 GetFaceNormal(int fc, bool nrmlz = false) const;
    // Reverses the corner order of face fc, corner 0 staying first.
    void FlipNormal(int fc);

    // Joins the faces on both sides of edge ed into one polygon (kept at the index
    // of f1) and kills the edge; strips the spurs this leaves and kills vertices left
    // without edges. False, nothing changed, for a border, dead or self-adjacent
    // edge, or when the joined polygon would not be simple.
    bool RemoveEdge(int ed);
    // Takes vertex vv out of the mesh: a vertex with two edges between the same faces
    // is dropped from them; one with more edges merges its faces (a border vertex
    // also joins its two border neighbours). False, nothing changed, where a face
    // would drop below three corners or the result would not be manifold.
    bool RemoveVertex(int vv);
    // Puts a new vertex on edge ed at prop (0 at v1, 1 at v2): the edge ends there,
    // a new edge with the same flags runs on to v2, and the faces on both sides gain
    // the corner. Returns the new vertex, or -1 for a dead or unknown edge or prop
    // not strictly between 0 and 1.
    int SplitEdge(int ed, float prop);
    // Kills the faces carrying any of deathFlags, and the edges and vertices that
    // only they used. copyFlags is accepted for the host's signature and unused.
    void DeleteFlaggedFaces(DWORD deathFlags, DWORD copyFlags = 0);
    // Kills face ff, and the edges and vertices that only it used, as
    // DeleteFlaggedFaces kills a flagged face, without looking at any other face.
    // Nothing happens for a dead or unknown face.
    void DeleteFace(int ff);
    // Welds border vertices carrying flag that lie closer than thresh, nearest pairs
    // first, to their midpoint; then joins opposite one-sided edges that now meet.
    // Returns whether anything was welded.
    bool WeldBorderVerts(float thresh, DWORD flag);
    // Welds border vertex v2 into border vertex v1, which moves to destination (their
    // midpoint when null); joins opposite one-sided edges that now meet. False,
    // nothing changed, when either is not a live border vertex, they are corners of
    // one face or joined by an edge, or a neighbour of both would end with an edge
    // that is not one two-sided edge.
    bool WeldBorderVerts(int v1, int v2, const Point3* destination);
    // Sets (or clears) toFlag on every live component of level slTo that touches
    // live components of level slFrom carrying fromFlag: any of them, or with
    // ampersand all of them (vacuously true when it touches none). Levels: 1
    // vertex, 2 edge, 3 face. Returns the number of from-components carrying
    // fromFlag.
    int PropegateComponentFlags(int slTo, DWORD toFlag, int slFrom, DWORD fromFlag,
                                bool ampersand = false, bool set = true);
    // Drops cached geometry (the bounding box) after vertices moved.
    void InvalidateGeomCache();
    // Bounding box of the live vertices; false when there are none.
    bool GetBoundingBox(Point3& lo, Point3& hi) const;

    // Drops dead components and renumbers the rest.
    void CollapseDeadStructs();
    // The triangle-mesh form: live faces in ascending order, each polygon split into
    // triangles (ear clipping); live vertices renumbered in ascending order.
    void OutToTri(Mesh& out) const;
    // Checks every cross-reference; on failure says what is wrong in why.
    bool CheckAllData(std::string* why = nullptr) const;

    // Live edges at vertex vv (for callers that walk the topology).
    const IndexList<6>& VertEdges(int vv) const { return vedg[vv]; }
    // The live edge joining a and b, or -1.
    int FindEdge(int a, int b) const;

private:
    void Sync();
    int NewEdge(int a, int b, int face);
    void KillEdge(int ed);
    void KillVertIfBare(int vv);
    void KillFace(int fi, std::vector<int>& touched);
    bool CanWeld(int a, int b) const;
    void Weld(int a, int b);
    // Gives face keep the corners and edges, removing the killed faces and edges;
    // edges[renameFrom, renameTo) are the only ones that may name a killed face.
    void ReplaceFace(int keep, const std::vector<int>& corners, const std::vector<int>& edges,
                     const std::vector<int>& killedFaces, const std::vector<int>& killedEdges,
                     int renameFrom, int renameTo);
    bool StripSpurs(std::vector<int>& corners, std::vector<int>& edges, std::vector<int>& stripped);
    bool AllDistinct(const std::vector<int>& ids);
    void JoinInPlace(int ed, int fa, int i, int fb, int j);

    std::vector<MNVert> vstore;
    std::vector<MNEdge> estore;
    std::vector<MNFace> fstore;
    std::vector<IndexList<6>> vedg;
    DWORD dispFlags = 0;
    mutable bool bboxValid = false;
    mutable Point3 bboxLo, bboxHi;
    // Scratch of AllDistinct: the check that last saw each id, so that joining a
    // polygon costs time in its corners, not in sorting them.
    std::vector<std::uint32_t> idSeen;
    std::uint32_t idCheck = 0;
};
