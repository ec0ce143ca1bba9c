#include "constrained_mesh.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Constrained_triangulation_plus_2.h>
#include <CGAL/Delaunay_mesh_criteria_2.h>
#include <CGAL/Delaunay_mesh_face_base_2.h>
#include <CGAL/Delaunay_mesher_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/property_map.h>
#include <CGAL/spatial_sort.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

#include "interpolate_attributes.h"
#include "triangle.h"

namespace tri {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = Kernel::Point_2;

constexpr int kMadeByTriangulation = -1;  // vertex info of a point not numbered yet
constexpr int kFramePoint = -2;

struct VertexInfo {
    int point = kMadeByTriangulation;  // graph point number
};

using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<VertexInfo, Kernel>;
using FaceBase = CGAL::Delaunay_mesh_face_base_2<Kernel, CGAL::Constrained_triangulation_face_base_2<Kernel>>;
using DataStructure = CGAL::Triangulation_data_structure_2<VertexBase, FaceBase>;
using Delaunay = CGAL::Constrained_Delaunay_triangulation_2<Kernel, DataStructure, CGAL::Exact_predicates_tag>;
// The "plus" layer keeps track of which inserted constraint every constrained edge lies
// on, also after the mesher has split it.
using Triangulation = CGAL::Constrained_triangulation_plus_2<Delaunay>;
using VertexHandle = Triangulation::Vertex_handle;
using FaceHandle = Triangulation::Face_handle;
using Edge = Triangulation::Edge;
using SortTraits = CGAL::Spatial_sort_traits_adapter_2<Kernel, CGAL::Pointer_property_map<Point>::type>;

// What an inserted constraint stands for.
struct ConstraintSource {
    int segment;  // input segment, or -1 for an edge that only closes the domain
    int first;    // graph points at its two ends
    int last;
};

struct Mesh {
    Triangulation triangulation;
    std::unordered_map<const void*, ConstraintSource> sources;  // by constraint identity
};

// Squared sine of the smallest angle that the mesher's criteria take.
double angle_bound(double degrees) {
    const double s = std::sin(degrees * M_PI / 180.0);
    return s * s;
}

int rank_of(const ConstraintSource& source) {
    return source.segment >= 0 ? source.segment : INT_MAX;
}

// The source of lowest rank among the constraints through the constrained edge u-w.
const ConstraintSource* edge_source(const Mesh& mesh, VertexHandle u, VertexHandle w) {
    const ConstraintSource* best = nullptr;
    for (auto& context : mesh.triangulation.contexts(u, w)) {
        const auto found = mesh.sources.find(context.id().vl_ptr());
        if (found == mesh.sources.end()) continue;
        if (best == nullptr || rank_of(found->second) < rank_of(*best)) best = &found->second;
    }
    return best;
}

VertexHandle other_end(const Edge& edge, VertexHandle v) {
    const VertexHandle a = edge.first->vertex(Triangulation::cw(edge.second));
    return a != v ? a : edge.first->vertex(Triangulation::ccw(edge.second));
}

// The sources of all constraints through vertex v.
std::vector<const ConstraintSource*> vertex_sources(const Mesh& mesh, VertexHandle v) {
    std::vector<const ConstraintSource*> sources;
    const Triangulation& triangulation = mesh.triangulation;
    Triangulation::Edge_circulator edge = triangulation.incident_edges(v), end = edge;
    do {
        if (!triangulation.is_infinite(*edge) && triangulation.is_constrained(*edge)) {
            for (auto& context : triangulation.contexts(v, other_end(*edge, v))) {
                const auto found = mesh.sources.find(context.id().vl_ptr());
                if (found != mesh.sources.end()) sources.push_back(&found->second);
            }
        }
    } while (++edge != end);
    return sources;
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
    const std::vector<const ConstraintSource*> around_u = vertex_sources(mesh, u);
    if (around_u.empty()) return false;
    const std::vector<const ConstraintSource*> around_w = vertex_sources(mesh, w);
    for (const ConstraintSource* a : around_u) {
        for (const ConstraintSource* b : around_w) {
            for (const int apex : {a->first, a->last}) {
                if (apex != b->first && apex != b->last) continue;
                if (apex == u->info().point || apex == w->info().point) continue;
                const Point p = graph_point(graph, apex);
                const double ux = u->point().x() - p.x(), uy = u->point().y() - p.y();
                const double wx = w->point().x() - p.x(), wy = w->point().y() - p.y();
                const double du = ux * ux + uy * uy;
                const double dw = wx * wx + wy * wy;
                const double dot = ux * wx + uy * wy;
                const bool equal_distance = std::fabs(du - dw) <= 1e-6 * std::max(du, dw);
                const bool narrow = dot > 0.0 && 4.0 * dot * dot > du * dw;  // angle below 60
                if (equal_distance && narrow) return true;
            }
        }
    }
    return false;
}

// CGAL's minimum-angle criteria, except for faces in narrow wedges between constraints.
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
            if (badness == CGAL::Mesh_2::BAD && is_in_narrow_wedge(*mesh_, *graph_, face)) {
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

using Mesher = CGAL::Delaunay_mesher_2<Triangulation, QualityCriteria>;

// Inserts the given graph points in spatial order; gives the vertex of every graph point
// (null for points not inserted).
std::vector<VertexHandle> insert_points(Triangulation& triangulation, const PlanarGraph& graph,
                                        const std::vector<int>& points) {
    std::vector<Point> coordinates(graph.point_count());
    for (const int p : points) coordinates[p] = graph_point(graph, p);
    std::vector<std::size_t> order(points.begin(), points.end());
    CGAL::spatial_sort(order.begin(), order.end(), SortTraits(CGAL::make_property_map(coordinates)));
    std::vector<VertexHandle> handles(graph.point_count());
    FaceHandle hint;
    for (const std::size_t p : order) {
        const VertexHandle v = triangulation.insert(coordinates[p], hint);
        if (v->info().point == kMadeByTriangulation) v->info().point = static_cast<int>(p);
        handles[p] = v;
        hint = v->face();
    }
    return handles;
}

void insert_constraint(Mesh& mesh, VertexHandle a, VertexHandle b, const ConstraintSource& source) {
    if (a == b) return;
    const Triangulation::Constraint_id id = mesh.triangulation.insert_constraint(a, b);
    if (id.vl_ptr() != nullptr) mesh.sources.emplace(id.vl_ptr(), source);
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
void mark_domain(Triangulation& triangulation, const std::vector<double>& holes, bool carve) {
    for (const FaceHandle face : triangulation.all_face_handles()) {
        face->set_in_domain(carve || !triangulation.is_infinite(face));
    }
    if (!carve) return;
    std::vector<FaceHandle> stack;
    eat_from(triangulation.infinite_face(), stack);
    for (std::size_t h = 0; h + 1 < holes.size(); h += 2) {
        const FaceHandle face = triangulation.locate(Point(holes[h], holes[h + 1]));
        if (face->is_in_domain()) eat_from(face, stack);
    }
}

bool in_domain(const Triangulation& triangulation, FaceHandle face) {
    return !triangulation.is_infinite(face) && face->is_in_domain();
}

// A point made where nothing better applies takes the attributes of a numbered neighbour.
void copy_neighbour_attributes(const Mesh& mesh, const PlanarGraph& graph, VertexHandle v,
                               double* attributes) {
    std::fill(attributes, attributes + graph.attribute_count, 0.0);
    Triangulation::Vertex_circulator neighbour = mesh.triangulation.incident_vertices(v), end = neighbour;
    do {
        const int point = neighbour->info().point;
        if (!mesh.triangulation.is_infinite(neighbour) && point >= 0) {
            interpolate_on_line(graph, point, point, v->point().x(), v->point().y(), attributes);
            return;
        }
    } while (++neighbour != end);
}

// Attributes for a point the triangulation made: along the constraint it lies on, else
// barycentric in the face of the unrefined triangulation that holds it.
void made_point_attributes(const Mesh& mesh, const PlanarGraph& graph, const Mesh* unrefined,
                           VertexHandle v, FaceHandle& hint, double* attributes, int& marker) {
    const double x = v->point().x(), y = v->point().y();
    marker = 0;
    const ConstraintSource* best = nullptr;
    for (const ConstraintSource* source : vertex_sources(mesh, v)) {
        if (best == nullptr || rank_of(*source) < rank_of(*best)) best = source;
    }
    if (best != nullptr && best->segment >= 0) {
        const int segment = best->segment;
        interpolate_on_line(graph, graph.segment_ends[2 * segment], graph.segment_ends[2 * segment + 1],
                            x, y, attributes);
        marker = graph.segment_markers[segment];
        return;
    }
    if (best != nullptr) {
        interpolate_on_line(graph, best->first, best->last, x, y, attributes);
        return;
    }
    if (unrefined == nullptr) {
        copy_neighbour_attributes(mesh, graph, v, attributes);
        return;
    }
    const Triangulation& original = unrefined->triangulation;
    const FaceHandle face = original.locate(v->point(), hint);
    hint = face;
    if (original.is_infinite(face)) {
        const int infinite = face->index(original.infinite_vertex());
        interpolate_on_line(graph, face->vertex(Triangulation::cw(infinite))->info().point,
                            face->vertex(Triangulation::ccw(infinite))->info().point, x, y, attributes);
        return;
    }
    const int corners[3] = {face->vertex(0)->info().point, face->vertex(1)->info().point,
                            face->vertex(2)->info().point};
    interpolate_in_triangle(graph, corners, x, y, attributes);
}

// Gives the points that the triangulation made a graph number, in vertex order.
void number_made_points(Mesh& mesh, PlanarGraph& graph, const Mesh* unrefined) {
    std::vector<double> attributes(graph.attribute_count);
    FaceHandle hint;
    for (const VertexHandle v : mesh.triangulation.finite_vertex_handles()) {
        if (v->info().point != kMadeByTriangulation) continue;
        int marker = 0;
        made_point_attributes(mesh, graph, unrefined, v, hint, attributes.data(), marker);
        v->info().point = add_point(graph, v->point().x(), v->point().y(), attributes.data(), marker);
    }
}

std::unique_ptr<Mesh> triangulate_graph(const PlanarGraph& graph) {
    auto mesh = std::make_unique<Mesh>();
    std::vector<int> points;
    for (int p = 0; p < graph.point_count(); ++p) {
        if (graph.representative[p] == p) points.push_back(p);
    }
    const std::vector<VertexHandle> handles = insert_points(mesh->triangulation, graph, points);
    if (mesh->triangulation.dimension() < 2) return nullptr;
    for (const Piece& piece : graph.pieces) {
        insert_constraint(*mesh, handles[piece.first], handles[piece.last],
                          ConstraintSource{piece.segment, piece.first, piece.last});
    }
    return mesh;
}

// The kept region of the first triangulation on its own, inside a far frame of four
// points: the mesher then has no constraints outside the region to split and no faces
// outside it to refine.
std::unique_ptr<Mesh> kept_region_mesh(const Mesh& first, const PlanarGraph& graph,
                                       const std::vector<double>& holes) {
    const Triangulation& original = first.triangulation;
    std::vector<char> kept(graph.point_count(), 0);
    for (const FaceHandle face : original.finite_face_handles()) {
        if (!face->is_in_domain()) continue;
        for (int i = 0; i < 3; ++i) kept[face->vertex(i)->info().point] = 1;
    }
    std::vector<int> points;
    double min_x = INFINITY, max_x = -INFINITY, min_y = INFINITY, max_y = -INFINITY;
    for (int p = 0; p < graph.point_count(); ++p) {
        if (!kept[p]) continue;
        points.push_back(p);
        min_x = std::min(min_x, graph.xy[2 * p]);
        max_x = std::max(max_x, graph.xy[2 * p]);
        min_y = std::min(min_y, graph.xy[2 * p + 1]);
        max_y = std::max(max_y, graph.xy[2 * p + 1]);
    }
    auto mesh = std::make_unique<Mesh>();
    Triangulation& triangulation = mesh->triangulation;
    const std::vector<VertexHandle> handles = insert_points(triangulation, graph, points);
    const double reach = 8.0 * std::max(max_x - min_x, max_y - min_y);
    const double center_x = 0.5 * (min_x + max_x), center_y = 0.5 * (min_y + max_y);
    for (const double sx : {-1.0, 1.0}) {
        for (const double sy : {-1.0, 1.0}) {
            triangulation.insert(Point(center_x + sx * reach, center_y + sy * reach))->info().point =
                kFramePoint;
        }
    }
    for (const Edge& edge : original.finite_edges()) {
        const bool inside = in_domain(original, edge.first);
        const bool outside_inside = in_domain(original, edge.first->neighbor(edge.second));
        if (!inside && !outside_inside) continue;
        const VertexHandle u = edge.first->vertex(Triangulation::cw(edge.second));
        const VertexHandle w = edge.first->vertex(Triangulation::ccw(edge.second));
        const int a = u->info().point, b = w->info().point;
        if (edge.first->is_constrained(edge.second)) {
            const ConstraintSource* source = edge_source(first, u, w);
            const int segment = source != nullptr ? source->segment : -1;
            insert_constraint(*mesh, handles[a], handles[b], ConstraintSource{segment, a, b});
        } else if (inside != outside_inside) {
            insert_constraint(*mesh, handles[a], handles[b], ConstraintSource{-1, a, b});
        }
    }
    mark_domain(triangulation, holes, true);
    return mesh;
}

// Refines until done, until point_limit points were added or until max_steps mesher
// steps; counts the steps that completed. Gives whether the refinement is done.
bool refine(Mesh& mesh, const PlanarGraph& graph, double bound, long long point_limit,
            long long max_steps, long long& steps) {
    Mesher mesher(mesh.triangulation, QualityCriteria(bound, mesh, graph));
    mesher.init(true);
    const long long start = static_cast<long long>(mesh.triangulation.number_of_vertices());
    while (steps < max_steps) {
        const long long added = static_cast<long long>(mesh.triangulation.number_of_vertices()) - start;
        if (added >= point_limit) break;
        const bool more = mesher.try_one_step_refine_mesh();
        ++steps;
        if (!more) return true;
    }
    return mesher.is_refinement_done();
}

// The refined kept region. CGAL 5.5's mesher can fail an assertion on near-degenerate
// input; the triangulation is then unusable, so it is rebuilt and refined again, up to
// the last step that completed (the mesher is deterministic), or left unrefined.
std::unique_ptr<Mesh> refined_mesh(const Mesh& first, const PlanarGraph& graph,
                                   const std::vector<double>& holes, double bound,
                                   long long point_limit, bool& limited) {
    long long steps = 0;
    try {
        std::unique_ptr<Mesh> mesh = kept_region_mesh(first, graph, holes);
        limited = !refine(*mesh, graph, bound, point_limit, LLONG_MAX, steps);
        return mesh;
    } catch (const CGAL::Failure_exception&) {
        limited = true;
    }
    try {
        std::unique_ptr<Mesh> mesh = kept_region_mesh(first, graph, holes);
        long long replayed = 0;
        refine(*mesh, graph, bound, point_limit, steps, replayed);
        return mesh;
    } catch (const CGAL::Failure_exception&) {
        return kept_region_mesh(first, graph, holes);
    }
}

void export_mesh(const Mesh& mesh, const PlanarGraph& graph, MeshResult& result) {
    const Triangulation& triangulation = mesh.triangulation;
    for (const FaceHandle face : triangulation.finite_face_handles()) {
        if (!face->is_in_domain()) continue;
        for (int i = 0; i < 3; ++i) result.triangles.push_back(face->vertex(i)->info().point);
    }
    for (const Edge& edge : triangulation.finite_edges()) {
        if (!edge.first->is_constrained(edge.second)) continue;
        if (!in_domain(triangulation, edge.first) &&
            !in_domain(triangulation, edge.first->neighbor(edge.second))) {
            continue;
        }
        const VertexHandle u = edge.first->vertex(Triangulation::cw(edge.second));
        const VertexHandle w = edge.first->vertex(Triangulation::ccw(edge.second));
        const ConstraintSource* source = edge_source(mesh, u, w);
        if (source == nullptr || source->segment < 0) continue;
        result.segments.push_back(u->info().point);
        result.segments.push_back(w->info().point);
        result.segment_markers.push_back(graph.segment_markers[source->segment]);
    }
}

bool has_domain(const Triangulation& triangulation) {
    for (const FaceHandle face : triangulation.finite_face_handles()) {
        if (face->is_in_domain()) return true;
    }
    return false;
}

}  // namespace

int mesh_planar_graph(PlanarGraph& graph, const Switches& switches, long long point_limit,
                      MeshResult& result) {
    const std::unique_ptr<Mesh> first = triangulate_graph(graph);
    if (first == nullptr) return TRIANGULATE_COLLINEAR;
    number_made_points(*first, graph, nullptr);
    const std::vector<double> holes = switches.planar_graph ? graph.holes : std::vector<double>();
    mark_domain(first->triangulation, holes, switches.planar_graph);

    result = MeshResult();
    if (!switches.quality || !(switches.min_angle > 0.0) || !has_domain(first->triangulation)) {
        export_mesh(*first, graph, result);
        return TRIANGULATE_OK;
    }
    try {
        const std::unique_ptr<Mesh> refined =
            refined_mesh(*first, graph, holes, angle_bound(switches.min_angle), point_limit,
                         result.refinement_limited);
        number_made_points(*refined, graph, first.get());
        export_mesh(*refined, graph, result);
    } catch (const CGAL::Failure_exception&) {
        result = MeshResult();
        result.refinement_limited = true;
        export_mesh(*first, graph, result);
    }
    return TRIANGULATE_OK;
}

}  // namespace tri
