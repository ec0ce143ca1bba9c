// Topology edits that merge faces: RemoveEdge and RemoveVertex.
#include <algorithm>

#include "mnmesh.h"

namespace {

// Edge id standing for an edge that is created only once the edit is accepted.
const int kNewEdge = -2;

// A run of a face's corners, each with the edge that leaves it: corners first,
// first + 1, ... (count of them, round the face).
struct CornerRun {
    const MNFace* face;
    int first, count;

    int Corner(int k) const { return face->vtx[(first + k) % face->deg]; }
    int Edge(int k) const { return face->edg[(first + k) % face->deg]; }
    // Appends the run's corners and edges, in order.
    void AppendTo(std::vector<int>& corners, std::vector<int>& edges) const {
        const int head = std::min(count, face->deg - first);
        corners.insert(corners.end(), face->vtx.begin() + first, face->vtx.begin() + first + head);
        edges.insert(edges.end(), face->edg.begin() + first, face->edg.begin() + first + head);
        corners.insert(corners.end(), face->vtx.begin(), face->vtx.begin() + (count - head));
        edges.insert(edges.end(), face->edg.begin(), face->edg.begin() + (count - head));
    }
    void DropFront() {
        first = (first + 1) % face->deg;
        --count;
    }
};

}  // namespace

// Whether no id occurs twice in ids.
bool MNMesh::AllDistinct(const std::vector<int>& ids) {
    if (++idCheck == 0) {
        std::fill(idSeen.begin(), idSeen.end(), 0u);
        idCheck = 1;
    }
    int negative = 0;
    for (int id : ids) {
        // The only negative id is the one edge that an edit would create.
        if (id < 0) {
            if (++negative > 1)
                return false;
            continue;
        }
        if (static_cast<size_t>(id) >= idSeen.size())
            idSeen.resize(static_cast<size_t>(id) + 1, 0u);
        if (idSeen[static_cast<size_t>(id)] == idCheck)
            return false;
        idSeen[static_cast<size_t>(id)] = idCheck;
    }
    return true;
}

// Removes spurs (a corner whose two edges are the same edge, where the polygon
// runs out to a vertex and back) from a merged polygon, collecting the stripped
// edges. Returns whether what remains is a simple polygon: at least
// three corners, no vertex and no edge twice.
bool MNMesh::StripSpurs(std::vector<int>& corners, std::vector<int>& edges,
                        std::vector<int>& stripped) {
    bool found = true;
    while (found && corners.size() >= 3) {
        found = false;
        int n = static_cast<int>(corners.size());
        for (int k = 0; k < n; ++k) {
            if (edges[k] != edges[(k + 1) % n])
                continue;
            // Rotate the spur to the front so that erasing does not wrap around.
            std::rotate(corners.begin(), corners.begin() + k, corners.end());
            std::rotate(edges.begin(), edges.begin() + k, edges.end());
            stripped.push_back(edges[0]);
            corners.erase(corners.begin() + 1, corners.begin() + 3);
            edges.erase(edges.begin(), edges.begin() + 2);
            found = true;
            break;
        }
    }
    if (corners.size() < 3)
        return false;
    return AllDistinct(corners) && AllDistinct(edges);
}

void MNMesh::ReplaceFace(int keep, const std::vector<int>& corners, const std::vector<int>& edges,
                         const std::vector<int>& killedFaces, const std::vector<int>& killedEdges,
                         int renameFrom, int renameTo) {
    std::vector<int> touched;
    for (int ed : killedEdges) {
        touched.push_back(estore[ed].v1);
        touched.push_back(estore[ed].v2);
        KillEdge(ed);
    }
    for (int fi : killedFaces) fstore[fi].flags |= MN_DEAD;
    MNFace& face = fstore[keep];
    face.vtx = corners;
    face.edg = edges;
    face.deg = static_cast<int>(corners.size());
    for (int k = renameFrom; k < renameTo; ++k) {
        MNEdge& edge = estore[edges[static_cast<size_t>(k)]];
        if (std::find(killedFaces.begin(), killedFaces.end(), edge.f1) != killedFaces.end())
            edge.f1 = keep;
        if (std::find(killedFaces.begin(), killedFaces.end(), edge.f2) != killedFaces.end())
            edge.f2 = keep;
    }
    for (int vv : touched) KillVertIfBare(vv);
    bboxValid = false;
}

// The join of fa and fb across ed (corner i of fa, j of fb) where no spur arose:
// a's corners from the edge's far end round, then b's between, built in the larger
// face's lists so that growing a polygon one face at a time does not copy it.
void MNMesh::JoinInPlace(int ed, int fa, int i, int fb, int j) {
    MNFace& a = fstore[fa];
    MNFace& b = fstore[fb];
    const int da = a.deg, db = b.deg;
    if (da >= db) {
        // Rotated, a ends with its corner at ed's near end, whose edge is ed: there b
        // goes on.
        std::rotate(a.vtx.begin(), a.vtx.begin() + (i + 1) % da, a.vtx.end());
        std::rotate(a.edg.begin(), a.edg.begin() + (i + 1) % da, a.edg.end());
        a.edg.back() = b.edg[(j + 1) % db];
        for (int k = 2; k < db; ++k) {
            a.vtx.push_back(b.vtx[(j + k) % db]);
            a.edg.push_back(b.edg[(j + k) % db]);
        }
    } else {
        // Rotated, b starts at ed's near end in a and ends with ed's far end and ed:
        // that corner is where a's run starts.
        std::rotate(b.vtx.begin(), b.vtx.begin() + (j + 1) % db, b.vtx.end());
        std::rotate(b.edg.begin(), b.edg.begin() + (j + 1) % db, b.edg.end());
        b.vtx.pop_back();
        b.edg.pop_back();
        std::vector<int> corners, edges;
        for (int k = 1; k < da; ++k) {
            corners.push_back(a.vtx[(i + k) % da]);
            edges.push_back(a.edg[(i + k) % da]);
        }
        b.vtx.insert(b.vtx.begin(), corners.begin(), corners.end());
        b.edg.insert(b.edg.begin(), edges.begin(), edges.end());
        a.vtx.swap(b.vtx);
        a.edg.swap(b.edg);
        b.deg = da;  // b is dead now, holding what a held
    }
    a.deg = static_cast<int>(a.vtx.size());
    // Either way b's edges follow a's da - 1: only they can name b.
    for (int k = da - 1; k < a.deg; ++k) {
        MNEdge& edge = estore[a.edg[k]];
        if (edge.f1 == fb)
            edge.f1 = fa;
        if (edge.f2 == fb)
            edge.f2 = fa;
    }
    int v1 = estore[ed].v1, v2 = estore[ed].v2;
    KillEdge(ed);
    fstore[fb].flags |= MN_DEAD;
    KillVertIfBare(v1);
    KillVertIfBare(v2);
    bboxValid = false;
}

bool MNMesh::RemoveEdge(int ed) {
    if (ed < 0 || ed >= nume || (estore[ed].flags & MN_DEAD))
        return false;
    const MNEdge& edge = estore[ed];
    int fa = edge.f1, fb = edge.f2;
    if (fa < 0 || fb < 0 || fa == fb)
        return false;
    const MNFace& a = fstore[fa];
    const MNFace& b = fstore[fb];
    int i = a.EdgeIndex(ed), j = b.EdgeIndex(ed);
    // Faces that walk the edge the same way (one was flipped alone) cannot be joined
    // into one consistently oriented polygon.
    if (i < 0 || j < 0 || b.vtx[j] != a.vtx[(i + 1) % a.deg])
        return false;

    // a's corners from the edge's far end round to its near end, then b's corners
    // between the two, with the edges between them; as two runs of corners, each
    // with the edge that leaves it. Where the faces share more edges beside ed, the
    // polygon runs out along them and back (a spur): the first spur from the start
    // goes, and the polygon then starts at the corner where it was. Within a run no
    // edge repeats, so spurs arise only where the runs meet.
    CornerRun front{&a, (i + 1) % a.deg, a.deg - 1}, back{&b, (j + 1) % b.deg, b.deg - 1};
    std::vector<int> killedEdges{ed};
    while (front.count + back.count >= 3 && front.count > 0 && back.count > 0) {
        if (front.Edge(front.count - 1) == back.Edge(0)) {
            killedEdges.push_back(back.Edge(0));
            --front.count;
            back.DropFront();
            std::swap(front, back);
        } else if (back.Edge(back.count - 1) == front.Edge(0)) {
            killedEdges.push_back(front.Edge(0));
            --back.count;
            front.DropFront();
        } else {
            break;
        }
    }
    if (front.count + back.count < 3)
        return false;
    // Faces never repeat a corner or an edge, so the polygon repeats one only where
    // the other face has it outside its run. The shorter run is looked up in the
    // longer one's face.
    const CornerRun& small = front.count <= back.count ? front : back;
    const CornerRun& large = front.count <= back.count ? back : front;
    const int largeFace = large.face == &a ? fa : fb;
    const int outside = large.face->deg - large.count;
    auto inLargeRun = [&](int id, bool isEdge) {
        const IndexList<4>& ids = isEdge ? large.face->edg : large.face->vtx;
        for (int o = 0; o < outside; ++o)
            if (ids[(large.first + large.count + o) % large.face->deg] == id)
                return false;
        return true;
    };
    auto onLargeFace = [&](int id) {
        return estore[id].f1 == largeFace || estore[id].f2 == largeFace;
    };
    for (int k = 0; k < small.count; ++k) {
        int v = small.Corner(k), e = small.Edge(k);
        if (std::any_of(vedg[v].begin(), vedg[v].end(), onLargeFace) && inLargeRun(v, false))
            return false;
        if (onLargeFace(e) && inLargeRun(e, true))
            return false;
    }

    if (killedEdges.size() == 1) {
        JoinInPlace(ed, fa, i, fb, j);
        return true;
    }
    std::vector<int> corners, edges;
    corners.reserve(static_cast<size_t>(front.count + back.count));
    edges.reserve(static_cast<size_t>(front.count + back.count));
    int bFrom = 0, bTo = 0;
    for (const CornerRun* run : {&front, &back}) {
        if (run->face == &b)
            bFrom = static_cast<int>(edges.size());
        run->AppendTo(corners, edges);
        if (run->face == &b)
            bTo = static_cast<int>(edges.size());
    }
    // Only b's run can name fb: the checks above leave no edge of a's run on b.
    ReplaceFace(fa, corners, edges, {fb}, killedEdges, bFrom, bTo);
    return true;
}

bool MNMesh::RemoveVertex(int vv) {
    if (vv < 0 || vv >= numv || (vstore[vv].flags & MN_DEAD))
        return false;
    const std::vector<int> around(vedg[vv].begin(), vedg[vv].end());
    if (around.empty()) {
        vstore[vv].flags |= MN_DEAD;
        return true;
    }

    std::vector<int> faces;
    for (int ed : around)
        for (int fc : {estore[ed].f1, estore[ed].f2})
            if (fc >= 0 && std::find(faces.begin(), faces.end(), fc) == faces.end())
                faces.push_back(fc);

    if (around.size() == 2) {
        const MNEdge& e1 = estore[around[0]];
        const MNEdge& e2 = estore[around[1]];
        bool sameFaces = (e1.f1 == e2.f1 && e1.f2 == e2.f2) || (e1.f1 == e2.f2 && e1.f2 == e2.f1);
        if (sameFaces) {
            // A vertex in the middle of a run: drop it from its faces and let the edge
            // towards a reach on to b.
            int keepEdge = around[0], dropEdge = around[1];
            int b = e2.OtherVert(vv);
            if (FindEdge(e1.OtherVert(vv), b) >= 0)
                return false;
            for (int fc : faces)
                if (fstore[fc].deg <= 3)
                    return false;
            for (int fc : faces) {
                MNFace& face = fstore[fc];
                int k = face.VertIndex(vv);
                int d = face.deg;
                face.vtx.erase(face.vtx.begin() + k);
                face.edg.erase(face.edg.begin() + k);
                face.deg = d - 1;
                face.edg[k == 0 ? d - 2 : k - 1] = keepEdge;
            }
            MNEdge& kept = estore[keepEdge];
            kept.flags |= estore[dropEdge].flags & ~static_cast<DWORD>(MN_DEAD);
            KillEdge(dropEdge);
            IndexList<6>& list = vedg[vv];
            list.erase(std::remove(list.begin(), list.end(), keepEdge), list.end());
            if (kept.v1 == vv)
                kept.v1 = b;
            else
                kept.v2 = b;
            vedg[b].push_back(keepEdge);
            vstore[vv].flags |= MN_DEAD;
            bboxValid = false;
            return true;
        }
    }

    // Walk the fan of faces round the vertex: from a face to the face across the
    // edge by which it enters the vertex. A border vertex starts at the face whose
    // leaving edge is a border edge.
    auto enterEdge = [&](int fc) {
        const MNFace& face = fstore[fc];
        int k = face.VertIndex(vv);
        return face.edg[(k + face.deg - 1) % face.deg];
    };
    auto leaveEdge = [&](int fc) {
        const MNFace& face = fstore[fc];
        return face.edg[face.VertIndex(vv)];
    };
    int start = *std::min_element(faces.begin(), faces.end());
    bool border = false;
    for (int fc : faces)
        if (estore[leaveEdge(fc)].f2 < 0) {
            start = fc;
            border = true;
            break;
        }
    std::vector<int> fan{start};
    for (;;) {
        int in = enterEdge(fan.back());
        int next = estore[in].OtherFace(fan.back());
        if (next < 0 || next == start) {
            if ((next < 0) != border)
                return false;
            break;
        }
        if (std::find(fan.begin(), fan.end(), next) != fan.end() || leaveEdge(next) != in)
            return false;
        fan.push_back(next);
    }
    if (fan.size() != faces.size())
        return false;

    // Each face adds its corners from after the vertex to before it; neighbours share
    // the corner at their common edge.
    std::vector<int> corners, edges;
    for (size_t n = 0; n < fan.size(); ++n) {
        const MNFace& face = fstore[fan[n]];
        int k = face.VertIndex(vv);
        for (int s = (n == 0 ? 1 : 2); s < face.deg; ++s)
            corners.push_back(face.vtx[(k + s) % face.deg]);
        for (int s = 1; s < face.deg - 1; ++s) edges.push_back(face.edg[(k + s) % face.deg]);
    }
    int first = corners.front(), last = corners.back();
    if (border) {
        if (FindEdge(last, first) >= 0)
            return false;
        edges.push_back(kNewEdge);
    } else {
        corners.pop_back();
    }
    std::vector<int> killedEdges = around;
    if (!StripSpurs(corners, edges, killedEdges))
        return false;
    // The merged polygon keeps the lowest face index.
    int keep = *std::min_element(fan.begin(), fan.end());
    for (int& ed : edges)
        if (ed == kNewEdge)
            ed = NewEdge(last, first, keep);
    std::vector<int> killedFaces;
    for (int fc : fan)
        if (fc != keep)
            killedFaces.push_back(fc);
    ReplaceFace(keep, corners, edges, killedFaces, killedEdges, 0, static_cast<int>(edges.size()));
    vstore[vv].flags |= MN_DEAD;
    return true;
}

int MNMesh::SplitEdge(int ed, float prop) {
    if (ed < 0 || ed >= nume || (estore[ed].flags & MN_DEAD) || !(prop > 0.0f && prop < 1.0f))
        return -1;
    int a = estore[ed].v1, b = estore[ed].v2;
    int nv = NewVert(vstore[a].p + (vstore[b].p - vstore[a].p) * prop);
    MNEdge& edge = estore[ed];
    DWORD flags = edge.flags;
    int f1 = edge.f1, f2 = edge.f2;
    // The edge keeps a -> nv; the new edge runs nv -> b the same way for f1.
    edge.v2 = nv;
    IndexList<6>& atB = vedg[b];
    atB.erase(std::remove(atB.begin(), atB.end(), ed), atB.end());
    vedg[nv].push_back(ed);
    int ne = NewEdge(nv, b, f1);
    estore[ne].f2 = f2;
    estore[ne].flags = flags;
    for (int fc : {f1, f2}) {
        if (fc < 0)
            continue;
        MNFace& face = fstore[fc];
        int k = face.EdgeIndex(ed);
        bool forward = face.vtx[k] == a;  // f1 walks a -> b, f2 walks b -> a
        face.vtx.insert(face.vtx.begin() + k + 1, nv);
        // Corner k, nv, corner k + 1: the edges are (k -> nv) and (nv -> k + 1).
        face.edg.insert(face.edg.begin() + k + 1, forward ? ne : ed);
        face.edg[k] = forward ? ed : ne;
        face.deg = static_cast<int>(face.vtx.size());
    }
    return nv;
}
