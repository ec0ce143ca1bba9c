#include "mnmesh.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <utility>

#include "evaluation_cancel.h"

namespace {
std::atomic<long long> deletedFaces{0};
}  // namespace

long long HostDeletedFaceCount() {
    return deletedFaces.load(std::memory_order_relaxed);
}

int MNFace::VertIndex(int vv) const {
    for (int i = 0; i < deg; ++i)
        if (vtx[i] == vv)
            return i;
    return -1;
}

int MNFace::EdgeIndex(int ed) const {
    for (int i = 0; i < deg; ++i)
        if (edg[i] == ed)
            return i;
    return -1;
}

// numv/v, nume/e and numf/f mirror the storage so that callers read the records
// directly, as they do with the host's own mesh.
void MNMesh::Sync() {
    numv = static_cast<int>(vstore.size());
    nume = static_cast<int>(estore.size());
    numf = static_cast<int>(fstore.size());
    v = vstore.empty() ? nullptr : vstore.data();
    e = estore.empty() ? nullptr : estore.data();
    f = fstore.empty() ? nullptr : fstore.data();
}

namespace {

// Copies a store whose elements own memory of their own: copying a large mesh takes
// a while, so a cancelled evaluation stops it every few thousand elements.
template <class T>
std::vector<T> CopyStore(const std::vector<T>& from) {
    constexpr size_t kElementsPerCancelCheck = 4096;
    std::vector<T> to;
    to.reserve(from.size());
    for (size_t i = 0; i < from.size(); ++i) {
        if (i % kElementsPerCancelCheck == 0)
            ThrowIfEvaluationCancelled();
        to.push_back(from[i]);
    }
    return to;
}

}  // namespace

MNMesh::MNMesh(const MNMesh& from)
    : selLevel(from.selLevel),
      vstore(from.vstore),
      estore(from.estore),
      fstore(CopyStore(from.fstore)),
      vedg(CopyStore(from.vedg)),
      dispFlags(from.dispFlags) {
    Sync();
}

void MNMesh::VAlloc(int num) {
    if (num > 0) {
        vstore.reserve(static_cast<size_t>(num));
        vedg.reserve(static_cast<size_t>(num));
    }
    Sync();
}

void MNMesh::EAlloc(int num) {
    if (num > 0)
        estore.reserve(static_cast<size_t>(num));
    Sync();
}

void MNMesh::FAlloc(int num) {
    if (num > 0)
        fstore.reserve(static_cast<size_t>(num));
    Sync();
}

MNMesh::MNMesh(MNMesh&& from) noexcept {
    *this = std::move(from);
}

MNMesh& MNMesh::operator=(MNMesh&& from) noexcept {
    if (this != &from) {
        selLevel = from.selLevel;
        vstore = std::move(from.vstore);
        estore = std::move(from.estore);
        fstore = std::move(from.fstore);
        vedg = std::move(from.vedg);
        dispFlags = from.dispFlags;
        bboxValid = false;
        from.vstore.clear();
        from.estore.clear();
        from.fstore.clear();
        from.vedg.clear();
        from.bboxValid = false;
        from.Sync();
        Sync();
    }
    return *this;
}

MNMesh& MNMesh::operator=(const MNMesh& from) {
    if (this != &from) {
        // Copied aside first: a cancelled copy leaves this mesh as it was.
        MNMesh copy(from);
        selLevel = copy.selLevel;
        vstore.swap(copy.vstore);
        estore.swap(copy.estore);
        fstore.swap(copy.fstore);
        vedg.swap(copy.vedg);
        dispFlags = copy.dispFlags;
        bboxValid = false;
        Sync();
    }
    return *this;
}

void MNMesh::Clear() {
    vstore.clear();
    estore.clear();
    fstore.clear();
    vedg.clear();
    dispFlags = 0;
    selLevel = MNM_SL_OBJECT;
    bboxValid = false;
    Sync();
}

int MNMesh::NewVert(const Point3& p) {
    MNVert vert;
    vert.p = p;
    vstore.push_back(vert);
    vedg.emplace_back();
    bboxValid = false;
    Sync();
    return numv - 1;
}

int MNMesh::FindEdge(int a, int b) const {
    if (a < 0 || a >= numv)
        return -1;
    for (int ed : vedg[a])
        if (estore[ed].OtherVert(a) == b)
            return ed;
    return -1;
}

int MNMesh::NewEdge(int a, int b, int face) {
    MNEdge edge;
    edge.v1 = a;
    edge.v2 = b;
    edge.f1 = face;
    estore.push_back(edge);
    int ed = static_cast<int>(estore.size()) - 1;
    vedg[a].push_back(ed);
    vedg[b].push_back(ed);
    Sync();
    return ed;
}

void MNMesh::KillEdge(int ed) {
    MNEdge& edge = estore[ed];
    if (edge.flags & MN_DEAD)
        return;
    edge.flags |= MN_DEAD;
    for (int end : {edge.v1, edge.v2}) {
        IndexList<6>& list = vedg[end];
        list.erase(std::remove(list.begin(), list.end(), ed), list.end());
    }
}

void MNMesh::KillVertIfBare(int vv) {
    if (vedg[vv].empty())
        vstore[vv].flags |= MN_DEAD;
}

int MNMesh::CreateFace(int degree, const int* vv) {
    if (degree < 3 || vv == nullptr)
        return -1;
    for (int i = 0; i < degree; ++i) {
        if (vv[i] < 0 || vv[i] >= numv || (vstore[vv[i]].flags & MN_DEAD))
            return -1;
        for (int j = 0; j < i; ++j)
            if (vv[j] == vv[i])
                return -1;
    }
    std::vector<int> shared(degree, -1);
    for (int j = 0; j < degree; ++j) {
        int a = vv[j], b = vv[(j + 1) % degree];
        int ed = FindEdge(a, b);
        if (ed < 0)
            continue;
        const MNEdge& edge = estore[ed];
        if (edge.f2 >= 0 || edge.v1 == a)
            return -1;
        shared[j] = ed;
    }
    int fi = numf;
    MNFace face;
    face.deg = degree;
    face.vtx.assign(vv, vv + degree);
    face.edg.resize(degree);
    fstore.push_back(face);
    Sync();
    for (int j = 0; j < degree; ++j) {
        if (shared[j] >= 0) {
            estore[shared[j]].f2 = fi;
            fstore[fi].edg[j] = shared[j];
        } else {
            fstore[fi].edg[j] = NewEdge(vv[j], vv[(j + 1) % degree], fi);
        }
    }
    return fi;
}

Point3 MNMesh::GetFaceNormal(int fc, bool nrmlz) const {
    if (fc < 0 || fc >= numf || (fstore[fc].flags & MN_DEAD))
        return Point3(0.0f, 0.0f, 0.0f);
    const MNFace& face = fstore[fc];
    Point3 n;
    if (face.deg == 3) {
        const Point3& p0 = vstore[face.vtx[0]].p;
        n = (vstore[face.vtx[1]].p - p0) ^ (vstore[face.vtx[2]].p - p0);
    } else {
        for (int i = 0; i < face.deg; ++i) {
            const Point3& a = vstore[face.vtx[i]].p;
            const Point3& b = vstore[face.vtx[(i + 1) % face.deg]].p;
            n.x += (a.y - b.y) * (a.z + b.z);
            n.y += (a.z - b.z) * (a.x + b.x);
            n.z += (a.x - b.x) * (a.y + b.y);
        }
    }
    return nrmlz ? Normalize(n) : n;
}

void MNMesh::FlipNormal(int fc) {
    if (fc < 0 || fc >= numf || (fstore[fc].flags & MN_DEAD))
        return;
    MNFace& face = fstore[fc];
    int d = face.deg;
    std::vector<int> vtx(d), edg(d);
    for (int k = 0; k < d; ++k) {
        vtx[k] = face.vtx[(d - k) % d];
        edg[k] = face.edg[d - 1 - k];
    }
    face.vtx = vtx;
    face.edg = edg;
    // Each edge runs v1 to v2 the way f1 walks it. A neighbour that now walks the
    // edge the same way as this face (it is flipped later, or never) becomes f1.
    for (int k = 0; k < d; ++k) {
        MNEdge& edge = estore[edg[k]];
        int a = vtx[k], b = vtx[(k + 1) % d];
        int other = edge.OtherFace(fc);
        edge.v1 = a;
        edge.v2 = b;
        if (other < 0 || other == fc) {
            edge.f1 = fc;
            continue;
        }
        const MNFace& nb = fstore[other];
        int ia = nb.VertIndex(a);
        bool sameWay = ia >= 0 && nb.vtx[(ia + 1) % nb.deg] == b;
        edge.f1 = sameWay ? other : fc;
        edge.f2 = sameWay ? fc : other;
    }
}

void MNMesh::KillFace(int fi, std::vector<int>& touched) {
    MNFace& face = fstore[fi];
    face.flags |= MN_DEAD;
    deletedFaces.fetch_add(1, std::memory_order_relaxed);
    for (int ed : face.edg) {
        MNEdge& edge = estore[ed];
        if (edge.flags & MN_DEAD)
            continue;
        if (edge.f1 == fi) {
            // The face left behind walks the edge the other way: it becomes f1.
            edge.f1 = edge.f2;
            edge.f2 = -1;
            if (edge.f1 >= 0)
                std::swap(edge.v1, edge.v2);
        } else if (edge.f2 == fi) {
            edge.f2 = -1;
        }
        if (edge.f1 < 0) {
            touched.push_back(edge.v1);
            touched.push_back(edge.v2);
            KillEdge(ed);
        }
    }
}

void MNMesh::DeleteFlaggedFaces(DWORD deathFlags, DWORD /*copyFlags*/) {
    ThrowIfEvaluationCancelled();
    std::vector<int> touched;
    for (int fi = 0; fi < numf; ++fi) {
        if ((fstore[fi].flags & MN_DEAD) || !(fstore[fi].flags & deathFlags))
            continue;
        KillFace(fi, touched);
    }
    for (int vv : touched) KillVertIfBare(vv);
}

void MNMesh::DeleteFace(int ff) {
    if (ff < 0 || ff >= numf || (fstore[ff].flags & MN_DEAD))
        return;
    ThrowIfEvaluationCancelled();
    std::vector<int> touched;
    KillFace(ff, touched);
    for (int vv : touched) KillVertIfBare(vv);
}

int MNMesh::PropegateComponentFlags(int slTo, DWORD toFlag, int slFrom, DWORD fromFlag,
                                    bool ampersand, bool set) {
    auto count = [&](int level) {
        return level == MNM_SL_VERTEX ? numv : level == MNM_SL_EDGE ? nume : numf;
    };
    auto flagsOf = [&](int level, int i) -> DWORD& {
        return level == MNM_SL_VERTEX ? vstore[i].flags
               : level == MNM_SL_EDGE ? estore[i].flags
                                      : fstore[i].flags;
    };
    if (slTo < MNM_SL_VERTEX || slTo > MNM_SL_FACE || slFrom < MNM_SL_VERTEX ||
        slFrom > MNM_SL_FACE)
        return 0;

    int nTo = count(slTo), nFrom = count(slFrom);
    std::vector<char> any(nTo, 0), all(nTo, 1);
    auto pair = [&](int from, int to) {
        DWORD ff = flagsOf(slFrom, from);
        if ((ff & MN_DEAD) || (flagsOf(slTo, to) & MN_DEAD))
            return;
        if (ff & fromFlag)
            any[to] = 1;
        else
            all[to] = 0;
    };
    if (slTo == slFrom) {
        for (int i = 0; i < nTo; ++i) pair(i, i);
    } else if (slTo != MNM_SL_FACE && slFrom != MNM_SL_FACE) {
        // Vertices and edges.
        for (int ed = 0; ed < nume; ++ed) {
            const MNEdge& edge = estore[ed];
            if (edge.flags & MN_DEAD)
                continue;
            for (int end : {edge.v1, edge.v2}) {
                if (slTo == MNM_SL_VERTEX)
                    pair(ed, end);
                else
                    pair(end, ed);
            }
        }
    } else {
        // Faces and their corners or edges.
        int other = slTo == MNM_SL_FACE ? slFrom : slTo;
        for (int fi = 0; fi < numf; ++fi) {
            const MNFace& face = fstore[fi];
            if (face.flags & MN_DEAD)
                continue;
            const IndexList<4>& parts = other == MNM_SL_VERTEX ? face.vtx : face.edg;
            for (int part : parts) {
                if (slTo == MNM_SL_FACE)
                    pair(part, fi);
                else
                    pair(fi, part);
            }
        }
    }

    for (int i = 0; i < nTo; ++i) {
        DWORD& fl = flagsOf(slTo, i);
        if (fl & MN_DEAD)
            continue;
        if (ampersand ? all[i] : any[i])
            fl = set ? (fl | toFlag) : (fl & ~toFlag);
    }
    int positive = 0;
    for (int i = 0; i < nFrom; ++i) {
        DWORD ff = flagsOf(slFrom, i);
        if (!(ff & MN_DEAD) && (ff & fromFlag))
            ++positive;
    }
    return positive;
}

void MNMesh::InvalidateGeomCache() {
    bboxValid = false;
}

bool MNMesh::GetBoundingBox(Point3& lo, Point3& hi) const {
    if (!bboxValid) {
        bool any = false;
        for (const MNVert& vert : vstore) {
            if (vert.flags & MN_DEAD)
                continue;
            if (!any) {
                bboxLo = bboxHi = vert.p;
                any = true;
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                bboxLo[k] = std::min(bboxLo[k], vert.p[k]);
                bboxHi[k] = std::max(bboxHi[k], vert.p[k]);
            }
        }
        if (!any)
            return false;
        bboxValid = true;
    }
    lo = bboxLo;
    hi = bboxHi;
    return true;
}

void MNMesh::CollapseDeadStructs() {
    std::vector<int> vmap(numv, -1), emap(nume, -1), fmap(numf, -1);
    std::vector<MNVert> nv;
    std::vector<MNEdge> ne;
    std::vector<MNFace> nf;
    for (int i = 0; i < numv; ++i)
        if (!(vstore[i].flags & MN_DEAD)) {
            vmap[i] = static_cast<int>(nv.size());
            nv.push_back(vstore[i]);
        }
    for (int i = 0; i < nume; ++i)
        if (!(estore[i].flags & MN_DEAD)) {
            emap[i] = static_cast<int>(ne.size());
            ne.push_back(estore[i]);
        }
    for (int i = 0; i < numf; ++i)
        if (!(fstore[i].flags & MN_DEAD)) {
            fmap[i] = static_cast<int>(nf.size());
            nf.push_back(fstore[i]);
        }
    auto remap = [](const std::vector<int>& map, int i) { return i < 0 ? -1 : map[i]; };
    for (MNEdge& edge : ne) {
        edge.v1 = vmap[edge.v1];
        edge.v2 = vmap[edge.v2];
        edge.f1 = remap(fmap, edge.f1);
        edge.f2 = remap(fmap, edge.f2);
    }
    for (MNFace& face : nf) {
        for (int& x : face.vtx) x = vmap[x];
        for (int& x : face.edg) x = emap[x];
    }
    vstore.swap(nv);
    estore.swap(ne);
    fstore.swap(nf);
    vedg.assign(vstore.size(), {});
    for (int ed = 0; ed < static_cast<int>(estore.size()); ++ed) {
        vedg[estore[ed].v1].push_back(ed);
        vedg[estore[ed].v2].push_back(ed);
    }
    Sync();
}

bool MNMesh::CheckAllData(std::string* why) const {
    auto fail = [&](const std::string& what) {
        if (why)
            *why = what;
        return false;
    };
    if (numv != static_cast<int>(vstore.size()) || nume != static_cast<int>(estore.size()) ||
        numf != static_cast<int>(fstore.size()) || vedg.size() != vstore.size())
        return fail("counts disagree with the tables");

    auto liveVert = [&](int i) { return i >= 0 && i < numv && !(vstore[i].flags & MN_DEAD); };
    auto liveEdge = [&](int i) { return i >= 0 && i < nume && !(estore[i].flags & MN_DEAD); };
    auto liveFace = [&](int i) { return i >= 0 && i < numf && !(fstore[i].flags & MN_DEAD); };

    for (int fi = 0; fi < numf; ++fi) {
        const MNFace& face = fstore[fi];
        if (face.flags & MN_DEAD)
            continue;
        std::string at = "face " + std::to_string(fi) + ": ";
        if (face.deg < 3 || static_cast<int>(face.vtx.size()) != face.deg ||
            static_cast<int>(face.edg.size()) != face.deg)
            return fail(at + "degree and corner/edge counts disagree");
        for (int j = 0; j < face.deg; ++j) {
            int a = face.vtx[j], b = face.vtx[(j + 1) % face.deg], ed = face.edg[j];
            if (!liveVert(a))
                return fail(at + "corner is not a live vertex");
            if (!liveEdge(ed))
                return fail(at + "edge is not a live edge");
            for (int k = 0; k < j; ++k)
                if (face.vtx[k] == a)
                    return fail(at + "vertex repeats");
            const MNEdge& edge = estore[ed];
            if (!((edge.v1 == a && edge.v2 == b) || (edge.v1 == b && edge.v2 == a)))
                return fail(at + "edge " + std::to_string(ed) + " does not join its corners");
            if (edge.f1 != fi && edge.f2 != fi)
                return fail(at + "edge " + std::to_string(ed) + " does not name the face");
            if (edge.f1 == fi && edge.v1 != a)
                return fail(at + "edge " + std::to_string(ed) + " runs against f1");
        }
    }
    size_t incidences = 0;
    for (int ed = 0; ed < nume; ++ed) {
        const MNEdge& edge = estore[ed];
        if (edge.flags & MN_DEAD)
            continue;
        std::string at = "edge " + std::to_string(ed) + ": ";
        if (!liveVert(edge.v1) || !liveVert(edge.v2) || edge.v1 == edge.v2)
            return fail(at + "ends are not two live vertices");
        if (!liveFace(edge.f1))
            return fail(at + "f1 is not a live face");
        if (edge.f2 != -1 && (!liveFace(edge.f2) || edge.f2 == edge.f1))
            return fail(at + "f2 is neither -1 nor another live face");
        if (fstore[edge.f1].EdgeIndex(ed) < 0)
            return fail(at + "f1 does not use the edge");
        if (edge.f2 >= 0 && fstore[edge.f2].EdgeIndex(ed) < 0)
            return fail(at + "f2 does not use the edge");
        for (int end : {edge.v1, edge.v2})
            if (std::count(vedg[end].begin(), vedg[end].end(), ed) != 1)
                return fail(at + "missing from its vertex's edge list");
        for (int other : vedg[edge.v1])
            if (other != ed && estore[other].OtherVert(edge.v1) == edge.v2)
                return fail(at + "another edge joins the same vertices");
        incidences += 2;
    }
    size_t listed = 0;
    for (int vi = 0; vi < numv; ++vi) {
        for (int ed : vedg[vi])
            if (!liveEdge(ed) || estore[ed].OtherVert(vi) < 0)
                return fail("vertex " + std::to_string(vi) + ": lists a wrong edge");
        if ((vstore[vi].flags & MN_DEAD) && !vedg[vi].empty())
            return fail("vertex " + std::to_string(vi) + ": dead but has edges");
        listed += vedg[vi].size();
    }
    if (listed != incidences)
        return fail("vertex edge lists disagree with the edges");
    return true;
}
