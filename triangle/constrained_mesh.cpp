#include "constrained_mesh.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Constrained_triangulation_plus_2.h>
#include <CGAL/Delaunay_mesh_criteria_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/property_map.h>
#include <CGAL/spatial_sort.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <memory>
#include <numeric>
#include <unordered_map>
#include <utility>
#include <vector>

#include "interpolate_attributes.h"
#include "quality_mesher.h"
#include "triangle.h"

namespace tri {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = Kernel::Point_2;

constexpr double kPi = 3.14159265358979323846;
constexpr int kMadeByTriangulation = -1;  // vertex info of a point not numbered yet
constexpr int kFramePoint = -2;
// Faces with an edge shorter than this fraction of the kept region's extent are not
// refined: the cut keeps its points in single precision (about 7 digits), and points
// refined closer than this would collapse or fall onto one line there, leaving faces
// without area.
constexpr double kShortestRefinedEdgeFraction = 1e-6;
// A constraint longer than this many typical point spacings counts as long.
constexpr double kLongPieceSpacings = 8.0;

struct VertexInfo {
    int point = kMadeByTriangulation;  // graph point number
};

using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<VertexInfo, Kernel>;
using FaceBase =
    CGAL::Delaunay_mesh_face_base_2<Kernel, CGAL::Constrained_triangulation_face_base_2<Kernel>>;
using DataStructure = CGAL::Triangulation_data_structure_2<VertexBase, FaceBase>;
using Delaunay =
    CGAL::Constrained_Delaunay_triangulation_2<Kernel, DataStructure, CGAL::Exact_predicates_tag>;
// The "plus" layer keeps track of which inserted constraint every constrained edge lies
// on, also after the mesher has split it.
using Triangulation = CGAL::Constrained_triangulation_plus_2<Delaunay>;
using VertexHandle = Delaunay::Vertex_handle;
using FaceHandle = Delaunay::Face_handle;
using Edge = Delaunay::Edge;
using SortTraits =
    CGAL::Spatial_sort_traits_adapter_2<Kernel, CGAL::Pointer_property_map<Point>::type>;

// What an inserted constraint stands for.
struct ConstraintSource {
    int segment;  // input segment, or -1 for an edge that only closes the domain
    int first;    // graph points at its two ends
    int last;
};

// A constrained edge of a finished triangulation and the constraint it lies on.
struct ConstrainedEdge {
    VertexHandle u;
    VertexHandle w;
    int source;  // index into Mesh::sources
};

// A triangulation is plain when every constraint became one edge, as it does unless a
// rounded crossing point makes two pieces cross again; it is tracked (with the "plus"
// layer's constraint hierarchy) when CGAL had to split constraints, and always for
// refinement, which splits them too.
struct Mesh {
    std::unique_ptr<Delaunay> plain;
    std::unique_ptr<Triangulation> tracked;
    std::vector<ConstraintSource> sources;                     // one per constraint
    std::vector<Triangulation::Constraint_id> constraint_ids;  // tracked: in insertion order
    std::unordered_map<const void*, int> source_of_id;         // tracked: by constraint identity
    std::vector<ConstrainedEdge> edges;  // constraints in insertion order, edges along each
    double shortest_refined_edge = 0.0;  // faces with a shorter edge are left as they are
    // The constraints through each vertex asked about during refinement: points it
    // adds split constraints but never change which ones pass through a vertex.
    mutable std::unordered_map<const void*, std::vector<const ConstraintSource*>> sources_at;

    Delaunay& triangulation() { return tracked ? *tracked : *plain; }
    const Delaunay& triangulation() const { return tracked ? *tracked : *plain; }
};

// A constrained edge, its two vertices in address order.
using EdgeKey = std::pair<const void*, const void*>;

struct EdgeKeyHash {
    std::size_t operator()(const EdgeKey& key) const {
        const std::size_t a = std::hash<const void*>()(key.first);
        return a ^
               (std::hash<const void*>()(key.second) + 0x9e3779b97f4a7c15ULL + (a << 6) + (a >> 2));
    }
};

// Source index of lowest rank by edge.
using EdgeSources = std::unordered_map<EdgeKey, int, EdgeKeyHash>;

EdgeKey edge_key(VertexHandle u, VertexHandle w) {
    const void* a = &*u;
    const void* b = &*w;
    return a < b ? EdgeKey(a, b) : EdgeKey(b, a);
}

// Squared sine of the smallest angle that the mesher's criteria take.
double angle_bound(double degrees) {
    const double s = std::sin(degrees * kPi / 180.0);
    return s * s;
}

int rank_of(const ConstraintSource& source) {
    return source.segment >= 0 ? source.segment : INT_MAX;
}

// Keeps in best the source of lower rank.
void keep_lower(const Mesh& mesh, int source, int& best) {
    if (best < 0 || rank_of(mesh.sources[source]) < rank_of(mesh.sources[best]))
        best = source;
}

// Lists the constrained edges of a tracked triangulation: constraints in insertion
// order, edges along each.
void list_tracked_edges(Mesh& mesh) {
    const Triangulation& triangulation = *mesh.tracked;
    mesh.edges.clear();
    for (const Triangulation::Constraint_id& id : mesh.constraint_ids) {
        const int source = mesh.source_of_id.at(id.vl_ptr());
        auto vertex = triangulation.vertices_in_constraint_begin(id);
        const auto end = triangulation.vertices_in_constraint_end(id);
        VertexHandle previous = *vertex;
        for (++vertex; vertex != end; ++vertex) {
            mesh.edges.push_back({previous, *vertex, source});
            previous = *vertex;
        }
    }
}

// The source of lowest rank of every constrained edge.
EdgeSources edge_sources(const Mesh& mesh) {
    EdgeSources sources;
    sources.reserve(mesh.edges.size());
    for (const ConstrainedEdge& edge : mesh.edges) {
        const auto inserted = sources.emplace(edge_key(edge.u, edge.w), edge.source);
        if (!inserted.second)
            keep_lower(mesh, edge.source, inserted.first->second);
    }
    return sources;
}

// The source of lowest rank of every vertex that the triangulation made on a constraint.
std::unordered_map<const void*, int> made_point_sources(const Mesh& mesh) {
    std::unordered_map<const void*, int> sources;
    for (const ConstrainedEdge& edge : mesh.edges) {
        for (const VertexHandle v : {edge.u, edge.w}) {
            if (v->info().point != kMadeByTriangulation)
                continue;
            const auto inserted = sources.emplace(&*v, edge.source);
            if (!inserted.second)
                keep_lower(mesh, edge.source, inserted.first->second);
        }
    }
    return sources;
}

VertexHandle other_end(const Edge& edge, VertexHandle v) {
    const VertexHandle a = edge.first->vertex(Triangulation::cw(edge.second));
    return a != v ? a : edge.first->vertex(Triangulation::ccw(edge.second));
}

// The sources of all constraints through vertex v of a tracked triangulation.
const std::vector<const ConstraintSource*>& vertex_sources(const Mesh& mesh, VertexHandle v) {
    auto cached = mesh.sources_at.emplace(&*v, std::vector<const ConstraintSource*>());
    std::vector<const ConstraintSource*>& sources = cached.first->second;
    if (!cached.second)
        return sources;
    const Triangulation& triangulation = *mesh.tracked;
    Triangulation::Edge_circulator edge = triangulation.incident_edges(v), end = edge;
    do {
        if (!triangulation.is_infinite(*edge) && triangulation.is_constrained(*edge)) {
            for (auto& context : triangulation.contexts(v, other_end(*edge, v))) {
                const auto found = mesh.source_of_id.find(context.id().vl_ptr());
                if (found != mesh.source_of_id.end())
                    sources.push_back(&mesh.sources[found->second]);
            }
        }
    } while (++edge != end);
    return sources;
}

bool on_constraint(const Mesh& mesh, VertexHandle v) {
    Triangulation::Edge_circulator edge = mesh.tracked->incident_edges(v), end = edge;
    do {
        if (edge->first->is_constrained(edge->second))
            return true;
    } while (++edge != end);
    return false;
}

Point graph_point(const PlanarGraph& graph, int point) {
    return Point(graph.xy[2 * point], graph.xy[2 * point + 1]);
}

// Whether the face's shortest edge joins two points on two constraints that leave a
// common end at less than 60 degrees, at equal distances from it. The mesher splits such
// wedges on concentric circles around the common end; splitting these faces further
// would go on without end as the wedge narrows.
bool is_in_narrow_wedge(const Mesh& mesh, const PlanarGraph& graph, FaceHandle face) {
    int shortest = 0;
    double shortest_length = INFINITY;
    for (int i = 0; i < 3; ++i) {
        const double length = CGAL::squared_distance(face->vertex(Triangulation::cw(i))->point(),
                                                     face->vertex(Triangulation::ccw(i))->point());
        if (length < shortest_length) {
            shortest_length = length;
            shortest = i;
        }
    }
    const VertexHandle u = face->vertex(Triangulation::cw(shortest));
    const VertexHandle w = face->vertex(Triangulation::ccw(shortest));
    // Points on two different constraints, not joined by one.
    if (face->is_constrained(shortest) || !on_constraint(mesh, u) || !on_constraint(mesh, w))
        return false;
    const std::vector<const ConstraintSource*>& around_u = vertex_sources(mesh, u);
    const std::vector<const ConstraintSource*>& around_w = vertex_sources(mesh, w);
    for (const ConstraintSource* a : around_u) {
        for (const ConstraintSource* b : around_w) {
            for (const int apex : {a->first, a->last}) {
                if (apex != b->first && apex != b->last)
                    continue;
                if (apex == u->info().point || apex == w->info().point)
                    continue;
                const Point p = graph_point(graph, apex);
                const double ux = u->point().x() - p.x(), uy = u->point().y() - p.y();
                const double wx = w->point().x() - p.x(), wy = w->point().y() - p.y();
                const double du = ux * ux + uy * uy;
                const double dw = wx * wx + wy * wy;
                const double dot = ux * wx + uy * wy;
                const bool equal_distance = std::fabs(du - dw) <= 1e-6 * std::max(du, dw);
                const bool narrow = dot > 0.0 && 4.0 * dot * dot > du * dw;  // angle below 60
                if (equal_distance && narrow)
                    return true;
            }
        }
    }
    return false;
}

bool has_edge_shorter_than(FaceHandle face, double length) {
    for (int i = 0; i < 3; ++i) {
        const double squared = CGAL::squared_distance(face->vertex(Triangulation::cw(i))->point(),
                                                      face->vertex(Triangulation::ccw(i))->point());
        if (squared < length * length)
            return true;
    }
    return false;
}

// CGAL's minimum-angle criteria, except for faces in narrow wedges between constraints
// and faces with an edge so short that refining them would only crowd points into the
// rounding noise (near crossings at 30 degrees and more refinement can otherwise go on
// at ever smaller scales).
class QualityCriteria : public CGAL::Delaunay_mesh_criteria_2<Triangulation> {
    using Base = CGAL::Delaunay_mesh_criteria_2<Triangulation>;

public:
    QualityCriteria(double bound, const Mesh& mesh, const PlanarGraph& graph)
        : Base(bound), mesh_(&mesh), graph_(&graph) {}

    class Is_bad : public Base::Is_bad {
    public:
        Is_bad(const Base::Is_bad& base, const Mesh* mesh, const PlanarGraph* graph)
            : Base::Is_bad(base), mesh_(mesh), graph_(graph) {}

        using Base::Is_bad::operator();

        CGAL::Mesh_2::Face_badness operator()(const FaceHandle& face, Quality& quality) const {
            const CGAL::Mesh_2::Face_badness badness = Base::Is_bad::operator()(face, quality);
            if (badness == CGAL::Mesh_2::BAD &&
                (has_edge_shorter_than(face, mesh_->shortest_refined_edge) ||
                 is_in_narrow_wedge(*mesh_, *graph_, face))) {
                return CGAL::Mesh_2::NOT_BAD;
            }
            return badness;
        }

    private:
        const Mesh* mesh_;
        const PlanarGraph* graph_;
    };

    Is_bad is_bad_object() const { return Is_bad(Base::is_bad_object(), mesh_, graph_); }

private:
    const Mesh* mesh_;
    const PlanarGraph* graph_;
};

using Mesher = QualityMesher<Triangulation, QualityCriteria>;

// Inserts the given graph points in spatial order and records the vertex of each in
// handles (one entry per graph point).
template <class AnyTriangulation>
void insert_points(AnyTriangulation& triangulation, const PlanarGraph& graph,
                   const std::vector<int>& points, std::vector<VertexHandle>& handles) {
    std::vector<Point> coordinates(graph.point_count());
    for (const int p : points) coordinates[p] = graph_point(graph, p);
    std::vector<std::size_t> order(points.begin(), points.end());
    CGAL::spatial_sort(order.begin(), order.end(),
                       SortTraits(CGAL::make_property_map(coordinates)));
    FaceHandle hint;
    for (const std::size_t p : order) {
        const VertexHandle v = triangulation.insert(coordinates[p], hint);
        if (v->info().point == kMadeByTriangulation)
            v->info().point = static_cast<int>(p);
        handles[p] = v;
        hint = v->face();
    }
}

// Inserts the constraint between a and b, standing for mesh.sources[source]. A plain
// triangulation records it as one edge; whether it became one is checked afterwards.
// Most pieces are edges already: marking those skips CGAL's search for points on them.
void insert_constraint(Mesh& mesh, Delaunay& triangulation, VertexHandle a, VertexHandle b,
                       int source) {
    if (a == b)
        return;
    FaceHandle face;
    int index = 0;
    if (triangulation.is_edge(a, b, face, index)) {
        face->set_constraint(index, true);
        face->neighbor(index)->set_constraint(triangulation.mirror_index(face, index), true);
    } else {
        triangulation.insert_constraint(a, b);
    }
    mesh.edges.push_back({a, b, source});
}

void insert_constraint(Mesh& mesh, Triangulation& triangulation, VertexHandle a, VertexHandle b,
                       int source) {
    if (a == b)
        return;
    const Triangulation::Constraint_id id = triangulation.insert_constraint(a, b);
    if (id.vl_ptr() == nullptr)
        return;
    mesh.constraint_ids.push_back(id);
    mesh.source_of_id.emplace(id.vl_ptr(), source);
}

void eat_from(FaceHandle start, std::vector<FaceHandle>& stack) {
    start->set_in_domain(false);
    stack.push_back(start);
    while (!stack.empty()) {
        const FaceHandle face = stack.back();
        stack.pop_back();
        for (int i = 0; i < 3; ++i) {
            const FaceHandle next = face->neighbor(i);
            if (!face->is_constrained(i) && next->is_in_domain()) {
                next->set_in_domain(false);
                stack.push_back(next);
            }
        }
    }
}

// Marks the finite faces as the domain; when carving, takes away those reachable without
// crossing a constraint from the infinite face or from a face that holds a hole point.
void mark_domain(Delaunay& triangulation, const std::vector<double>& holes, bool carve) {
    for (const FaceHandle face : triangulation.all_face_handles()) {
        face->set_in_domain(carve || !triangulation.is_infinite(face));
    }
    if (!carve)
        return;
    std::vector<FaceHandle> stack;
    eat_from(triangulation.infinite_face(), stack);
    for (std::size_t h = 0; h + 1 < holes.size(); h += 2) {
        const FaceHandle face = triangulation.locate(Point(holes[h], holes[h + 1]));
        if (face->is_in_domain())
            eat_from(face, stack);
    }
}

bool in_domain(const Delaunay& triangulation, FaceHandle face) {
    return !triangulation.is_infinite(face) && face->is_in_domain();
}

// A point made where nothing better applies takes the attributes of a numbered neighbour.
void copy_neighbour_attributes(const Mesh& mesh, const PlanarGraph& graph, VertexHandle v,
                               double* attributes) {
    std::fill(attributes, attributes + graph.attribute_count, 0.0);
    const Delaunay& triangulation = mesh.triangulation();
    Delaunay::Vertex_circulator neighbour = triangulation.incident_vertices(v), end = neighbour;
    do {
        const int point = neighbour->info().point;
        if (!triangulation.is_infinite(neighbour) && point >= 0) {
            interpolate_on_line(graph, point, point, v->point().x(), v->point().y(), attributes);
            return;
        }
    } while (++neighbour != end);
}

// Attributes for a point the triangulation made: along the piece it lies on, between the
// piece's two ends, else barycentric in the face of the unrefined triangulation that holds
// it. A piece runs between the points that already lay on its segment (its ends, crossings,
// points on it), so this is what splitting the sub-segment between the point's neighbours
// gives: every split of a piece interpolates linearly between points on the same line.
void made_point_attributes(const Mesh& mesh, const PlanarGraph& graph, const Mesh* unrefined,
                           VertexHandle v, int source, FaceHandle& hint, double* attributes,
                           int& marker) {
    const double x = v->point().x(), y = v->point().y();
    marker = 0;
    const ConstraintSource* best = source >= 0 ? &mesh.sources[source] : nullptr;
    if (best != nullptr) {
        if (best->segment >= 0)
            marker = graph.segment_markers[best->segment];
        interpolate_on_line(graph, best->first, best->last, x, y, attributes);
        return;
    }
    if (unrefined == nullptr) {
        copy_neighbour_attributes(mesh, graph, v, attributes);
        return;
    }
    const Delaunay& original = unrefined->triangulation();
    const FaceHandle face = original.locate(v->point(), hint);
    hint = face;
    if (original.is_infinite(face)) {
        const int infinite = face->index(original.infinite_vertex());
        interpolate_on_line(graph, face->vertex(Delaunay::cw(infinite))->info().point,
                            face->vertex(Delaunay::ccw(infinite))->info().point, x, y, attributes);
        return;
    }
    const int corners[3] = {face->vertex(0)->info().point, face->vertex(1)->info().point,
                            face->vertex(2)->info().point};
    interpolate_in_triangle(graph, corners, x, y, attributes);
}

// Gives the points that the triangulation made a graph number, in vertex order. Their
// attributes are found in spatial order, so that each location in the unrefined
// triangulation starts near the last.
void number_made_points(Mesh& mesh, PlanarGraph& graph, const Mesh* unrefined) {
    const std::unordered_map<const void*, int> sources = made_point_sources(mesh);
    std::vector<VertexHandle> made;
    std::vector<Point> positions;
    for (const VertexHandle v : mesh.triangulation().finite_vertex_handles()) {
        if (v->info().point != kMadeByTriangulation)
            continue;
        made.push_back(v);
        positions.push_back(v->point());
    }
    std::vector<std::size_t> order(made.size());
    std::iota(order.begin(), order.end(), 0);
    CGAL::spatial_sort(order.begin(), order.end(), SortTraits(CGAL::make_property_map(positions)));
    const std::size_t count = static_cast<std::size_t>(graph.attribute_count);
    std::vector<double> attributes(made.size() * count);
    std::vector<int> markers(made.size(), 0);
    FaceHandle hint;
    for (const std::size_t i : order) {
        const auto found = sources.find(&*made[i]);
        const int source = found != sources.end() ? found->second : -1;
        made_point_attributes(mesh, graph, unrefined, made[i], source, hint,
                              attributes.data() + i * count, markers[i]);
    }
    for (std::size_t i = 0; i < made.size(); ++i) {
        made[i]->info().point = add_point(graph, positions[i].x(), positions[i].y(),
                                          attributes.data() + i * count, markers[i]);
    }
}

double distance(const PlanarGraph& graph, int a, int b) {
    return std::sqrt(CGAL::squared_distance(graph_point(graph, a), graph_point(graph, b)));
}

// Inserts the given graph points and mesh.sources as constraints, in order.
// Constraints much longer than the typical point spacing go in first, with only their
// ends present: inserted last, such a constraint cuts through many triangles, and CGAL
// retriangulates the cut in time quadratic in their count. Gives false, with no
// constraint inserted, when the points do not span the plane.
template <class AnyTriangulation>
bool insert_points_and_constraints(Mesh& mesh, AnyTriangulation& triangulation,
                                   const PlanarGraph& graph, const std::vector<int>& points) {
    double min_x = INFINITY, max_x = -INFINITY, min_y = INFINITY, max_y = -INFINITY;
    for (const int p : points) {
        min_x = std::min(min_x, graph.xy[2 * p]);
        max_x = std::max(max_x, graph.xy[2 * p]);
        min_y = std::min(min_y, graph.xy[2 * p + 1]);
        max_y = std::max(max_y, graph.xy[2 * p + 1]);
    }
    const double spacing = std::max(max_x - min_x, max_y - min_y) /
                           std::sqrt(static_cast<double>(std::max<std::size_t>(1, points.size())));
    std::vector<int> long_ones, short_ones;
    std::vector<char> is_end(graph.point_count(), 0);
    for (int c = 0; c < static_cast<int>(mesh.sources.size()); ++c) {
        const ConstraintSource& constraint = mesh.sources[c];
        if (distance(graph, constraint.first, constraint.last) > kLongPieceSpacings * spacing) {
            long_ones.push_back(c);
            is_end[constraint.first] = is_end[constraint.last] = 1;
        } else {
            short_ones.push_back(c);
        }
    }
    std::vector<int> ends, others;
    for (const int p : points) (is_end[p] ? ends : others).push_back(p);

    std::vector<VertexHandle> handles(graph.point_count());
    insert_points(triangulation, graph, ends, handles);
    if (triangulation.dimension() < 2) {
        short_ones.insert(short_ones.begin(), long_ones.begin(), long_ones.end());
        long_ones.clear();
    }
    for (const int c : long_ones) {
        insert_constraint(mesh, triangulation, handles[mesh.sources[c].first],
                          handles[mesh.sources[c].last], c);
    }
    insert_points(triangulation, graph, others, handles);
    if (triangulation.dimension() < 2)
        return false;
    for (const int c : short_ones) {
        insert_constraint(mesh, triangulation, handles[mesh.sources[c].first],
                          handles[mesh.sources[c].last], c);
    }
    return true;
}

// Whether a plain triangulation holds every constraint as the one edge recorded for it:
// CGAL made no vertex where constraints cross, and no point split a constraint.
bool constraints_are_whole(const Mesh& mesh) {
    for (const VertexHandle v : mesh.plain->finite_vertex_handles()) {
        if (v->info().point == kMadeByTriangulation)
            return false;
    }
    for (const ConstrainedEdge& edge : mesh.edges) {
        if (!mesh.plain->is_edge(edge.u, edge.w))
            return false;
    }
    return true;
}

// Triangulates the graph's points and pieces, tracked when asked (for refinement in
// place); null when the points do not span the plane.
std::unique_ptr<Mesh> triangulate_graph(const PlanarGraph& graph, bool tracked) {
    std::vector<int> points;
    for (int p = 0; p < graph.point_count(); ++p) {
        if (graph.representative[p] == p)
            points.push_back(p);
    }
    auto mesh = std::make_unique<Mesh>();
    mesh->sources.reserve(graph.pieces.size());
    for (const Piece& piece : graph.pieces)
        mesh->sources.push_back({piece.segment, piece.first, piece.last});
    if (!tracked) {
        mesh->plain = std::make_unique<Delaunay>();
        if (!insert_points_and_constraints(*mesh, *mesh->plain, graph, points))
            return nullptr;
        if (constraints_are_whole(*mesh))
            return mesh;
        // Rounded crossing points made pieces cross again: start over, tracking constraints.
        mesh->plain.reset();
        mesh->edges.clear();
    }
    mesh->tracked = std::make_unique<Triangulation>();
    if (!insert_points_and_constraints(*mesh, *mesh->tracked, graph, points))
        return nullptr;
    list_tracked_edges(*mesh);
    return mesh;
}

// Whether every edge of the convex hull of the graph's meshed points, collinear points
// included, is a piece. Nothing is then carved from outside, and refinement can work on
// the first triangulation itself.
bool hull_is_made_of_pieces(const PlanarGraph& graph) {
    std::vector<int> sorted;
    for (int p = 0; p < graph.point_count(); ++p) {
        if (graph.representative[p] == p)
            sorted.push_back(p);
    }
    if (sorted.size() < 3)
        return false;
    std::sort(sorted.begin(), sorted.end(), [&graph](int a, int b) {
        const double* p = &graph.xy[2 * a];
        const double* q = &graph.xy[2 * b];
        return p[0] != q[0] ? p[0] < q[0] : p[1] < q[1];
    });
    // Andrew's monotone chain, lower then upper half, popping only at right turns.
    std::vector<int> hull;
    auto extend = [&](int p, std::size_t floor) {
        while (hull.size() >= floor + 2 &&
               CGAL::orientation(graph_point(graph, hull[hull.size() - 2]),
                                 graph_point(graph, hull.back()),
                                 graph_point(graph, p)) == CGAL::RIGHT_TURN) {
            hull.pop_back();
        }
        hull.push_back(p);
    };
    for (const int p : sorted) extend(p, 0);
    const std::size_t lower = hull.size() - 1;
    for (auto p = sorted.rbegin() + 1; p != sorted.rend(); ++p) extend(*p, lower);
    std::unordered_map<long long, char> pieces;
    auto key = [](int a, int b) {
        return static_cast<long long>(std::min(a, b)) << 32 |
               static_cast<long long>(std::max(a, b));
    };
    for (const Piece& piece : graph.pieces) pieces.emplace(key(piece.first, piece.last), 1);
    for (std::size_t i = 0; i + 1 < hull.size(); ++i) {
        if (pieces.count(key(hull[i], hull[i + 1])) == 0)
            return false;
    }
    return true;
}

// Whether every finite face is in the domain and the convex hull is made of
// constraints: refinement can then work on the triangulation itself, as it cannot
// place points outside the hull.
bool domain_is_whole(const Mesh& mesh) {
    const Delaunay& triangulation = mesh.triangulation();
    for (const FaceHandle face : triangulation.finite_face_handles()) {
        if (!face->is_in_domain())
            return false;
    }
    Delaunay::Face_circulator face = triangulation.incident_faces(triangulation.infinite_vertex()),
                              end = face;
    do {
        if (!face->is_constrained(face->index(triangulation.infinite_vertex())))
            return false;
    } while (++face != end);
    return true;
}

// A plain copy of a finished triangulation, its constrained edges moved onto the
// copy's vertices (found by their graph numbers).
std::unique_ptr<Mesh> plain_copy(const Mesh& mesh, const PlanarGraph& graph) {
    auto copy = std::make_unique<Mesh>();
    copy->plain = std::make_unique<Delaunay>(mesh.triangulation());
    copy->sources = mesh.sources;
    std::vector<VertexHandle> by_point(graph.point_count());
    for (const VertexHandle v : copy->plain->finite_vertex_handles()) by_point[v->info().point] = v;
    copy->edges.reserve(mesh.edges.size());
    for (const ConstrainedEdge& edge : mesh.edges) {
        copy->edges.push_back(
            {by_point[edge.u->info().point], by_point[edge.w->info().point], edge.source});
    }
    return copy;
}

// The extent of the triangulation's points.
double extent_of(const Delaunay& triangulation) {
    double min_x = INFINITY, max_x = -INFINITY, min_y = INFINITY, max_y = -INFINITY;
    for (const VertexHandle v : triangulation.finite_vertex_handles()) {
        min_x = std::min(min_x, v->point().x());
        max_x = std::max(max_x, v->point().x());
        min_y = std::min(min_y, v->point().y());
        max_y = std::max(max_y, v->point().y());
    }
    return std::max(max_x - min_x, max_y - min_y);
}

// The kept region of the first triangulation on its own, inside a far frame of four
// points: the mesher then has no constraints outside the region to split and no faces
// outside it to refine.
std::unique_ptr<Mesh> kept_region_mesh(const Mesh& first, const PlanarGraph& graph,
                                       const std::vector<double>& holes) {
    const Delaunay& original = first.triangulation();
    std::vector<char> kept(graph.point_count(), 0);
    for (const FaceHandle face : original.finite_face_handles()) {
        if (!face->is_in_domain())
            continue;
        for (int i = 0; i < 3; ++i) kept[face->vertex(i)->info().point] = 1;
    }
    std::vector<int> points;
    double min_x = INFINITY, max_x = -INFINITY, min_y = INFINITY, max_y = -INFINITY;
    for (int p = 0; p < graph.point_count(); ++p) {
        if (!kept[p])
            continue;
        points.push_back(p);
        min_x = std::min(min_x, graph.xy[2 * p]);
        max_x = std::max(max_x, graph.xy[2 * p]);
        min_y = std::min(min_y, graph.xy[2 * p + 1]);
        max_y = std::max(max_y, graph.xy[2 * p + 1]);
    }
    auto mesh = std::make_unique<Mesh>();
    std::vector<ConstraintSource>& constraints = mesh->sources;
    const EdgeSources sources = edge_sources(first);
    for (const Edge& edge : original.finite_edges()) {
        const bool inside = in_domain(original, edge.first);
        const bool outside_inside = in_domain(original, edge.first->neighbor(edge.second));
        if (!inside && !outside_inside)
            continue;
        const VertexHandle u = edge.first->vertex(Delaunay::cw(edge.second));
        const VertexHandle w = edge.first->vertex(Delaunay::ccw(edge.second));
        const int a = u->info().point, b = w->info().point;
        if (edge.first->is_constrained(edge.second)) {
            const auto found = sources.find(edge_key(u, w));
            constraints.push_back(
                {found != sources.end() ? first.sources[found->second].segment : -1, a, b});
        } else if (inside != outside_inside) {
            constraints.push_back({-1, a, b});
        }
    }

    mesh->tracked = std::make_unique<Triangulation>();
    Triangulation& triangulation = *mesh->tracked;
    const double extent = std::max(max_x - min_x, max_y - min_y);
    mesh->shortest_refined_edge = kShortestRefinedEdgeFraction * extent;
    const double reach = 8.0 * extent;
    const double center_x = 0.5 * (min_x + max_x), center_y = 0.5 * (min_y + max_y);
    for (const double sx : {-1.0, 1.0}) {
        for (const double sy : {-1.0, 1.0}) {
            triangulation.insert(Point(center_x + sx * reach, center_y + sy * reach))
                ->info()
                .point = kFramePoint;
        }
    }
    insert_points_and_constraints(*mesh, triangulation, graph, points);
    mark_domain(triangulation, holes, true);
    return mesh;
}

// Refines until done, until point_limit points were added or until max_steps mesher
// steps; counts the steps that completed. Gives whether the refinement is done.
bool refine(Mesh& mesh, const PlanarGraph& graph, double bound, long long point_limit,
            long long max_steps, long long& steps) {
    Triangulation& triangulation = *mesh.tracked;
    Mesher mesher(triangulation, QualityCriteria(bound, mesh, graph));
    const long long start = static_cast<long long>(triangulation.number_of_vertices());
    while (steps < max_steps) {
        const long long added = static_cast<long long>(triangulation.number_of_vertices()) - start;
        if (added >= point_limit)
            break;
        const bool more = mesher.step();
        ++steps;
        if (!more)
            return true;
    }
    return mesher.is_done();
}

// The refined domain: the given mesh refined in place, or else the kept region of the
// unrefined one. CGAL 5.5's mesher can fail an assertion on near-degenerate input; the
// triangulation is then unusable, so the kept region is built and refined again, up to
// the last step that completed, or left unrefined.
std::unique_ptr<Mesh> refined_mesh(std::unique_ptr<Mesh> in_place, const Mesh& unrefined,
                                   const PlanarGraph& graph, const std::vector<double>& holes,
                                   double bound, long long point_limit, bool& limited) {
    long long steps = 0;
    try {
        std::unique_ptr<Mesh> mesh =
            in_place ? std::move(in_place) : kept_region_mesh(unrefined, graph, holes);
        limited = !refine(*mesh, graph, bound, point_limit, LLONG_MAX, steps);
        return mesh;
    } catch (const CGAL::Failure_exception&) {
        limited = true;
    }
    try {
        std::unique_ptr<Mesh> mesh = kept_region_mesh(unrefined, graph, holes);
        long long replayed = 0;
        refine(*mesh, graph, bound, point_limit, steps, replayed);
        return mesh;
    } catch (const CGAL::Failure_exception&) {
        return kept_region_mesh(unrefined, graph, holes);
    }
}

void export_mesh(const Mesh& mesh, const PlanarGraph& graph, MeshResult& result) {
    const Delaunay& triangulation = mesh.triangulation();
    for (const FaceHandle face : triangulation.finite_face_handles()) {
        if (!face->is_in_domain())
            continue;
        for (int i = 0; i < 3; ++i) result.triangles.push_back(face->vertex(i)->info().point);
    }
    std::unordered_map<EdgeKey, std::size_t, EdgeKeyHash> exported;
    for (const ConstrainedEdge& edge : mesh.edges) {
        const int segment = mesh.sources[edge.source].segment;
        if (segment < 0)
            continue;
        FaceHandle face;
        int index = 0;
        if (!triangulation.is_edge(edge.u, edge.w, face, index))
            continue;
        if (!in_domain(triangulation, face) && !in_domain(triangulation, face->neighbor(index)))
            continue;
        const int marker = graph.segment_markers[segment];
        const auto inserted =
            exported.emplace(edge_key(edge.u, edge.w), result.segment_markers.size());
        if (!inserted.second) {
            // Overlapping segments: the lowest-numbered one's marker.
            std::size_t& known = inserted.first->second;
            if (segment < result.lowest_segment[known]) {
                result.lowest_segment[known] = segment;
                result.segment_markers[known] = marker;
            }
            continue;
        }
        result.segments.push_back(edge.u->info().point);
        result.segments.push_back(edge.w->info().point);
        result.segment_markers.push_back(marker);
        result.lowest_segment.push_back(segment);
    }
}

bool has_domain(const Delaunay& triangulation) {
    for (const FaceHandle face : triangulation.finite_face_handles()) {
        if (face->is_in_domain())
            return true;
    }
    return false;
}

}  // namespace

int mesh_planar_graph(PlanarGraph& graph, const Switches& switches, long long point_limit,
                      MeshResult& result) {
    const bool refining = switches.quality && switches.min_angle > 0.0;
    const bool whole = refining && (graph.holes.empty() || !switches.planar_graph) &&
                       hull_is_made_of_pieces(graph);
    std::unique_ptr<Mesh> first = triangulate_graph(graph, whole);
    if (first == nullptr)
        return TRIANGULATE_COLLINEAR;
    number_made_points(*first, graph, nullptr);
    const std::vector<double> holes = switches.planar_graph ? graph.holes : std::vector<double>();
    mark_domain(first->triangulation(), holes, switches.planar_graph);

    result = MeshResult();
    if (!refining || !has_domain(first->triangulation())) {
        export_mesh(*first, graph, result);
        return TRIANGULATE_OK;
    }
    // Where the domain is all of the first triangulation, that is refined itself, and a
    // plain copy keeps the unrefined triangles for the attributes of added points.
    std::unique_ptr<Mesh> in_place;
    std::unique_ptr<Mesh> unrefined;
    if (whole && domain_is_whole(*first)) {
        unrefined = plain_copy(*first, graph);
        first->shortest_refined_edge =
            kShortestRefinedEdgeFraction * extent_of(first->triangulation());
        in_place = std::move(first);
    } else {
        unrefined = std::move(first);
    }
    try {
        const std::unique_ptr<Mesh> refined =
            refined_mesh(std::move(in_place), *unrefined, graph, holes,
                         angle_bound(switches.min_angle), point_limit, result.refinement_limited);
        list_tracked_edges(*refined);
        number_made_points(*refined, graph, unrefined.get());
        export_mesh(*refined, graph, result);
    } catch (const CGAL::Failure_exception&) {
        result = MeshResult();
        result.refinement_limited = true;
        export_mesh(*unrefined, graph, result);
    }
    return TRIANGULATE_OK;
}

}  // namespace tri
