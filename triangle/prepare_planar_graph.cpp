#include "prepare_planar_graph.h"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Exact_rational.h>
#include <CGAL/Interval_nt.h>
#include <CGAL/box_intersection_d.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <numeric>
#include <unordered_map>
#include <utility>
#include <vector>

#include "interpolate_attributes.h"

namespace tri {

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = Kernel::Point_2;
using Rational = CGAL::Exact_rational;
// Boxes identify their object through a pointer into a vector of numbers.
using Box = CGAL::Box_intersection_d::Box_with_handle_d<double, 2, const int*>;

// Points closer than this fraction of the input's extent are merged; nearer than that a
// point and a segment also count as touching. Closer points make CGAL's constrained
// triangulation loop or fail.
constexpr double kMergeFraction = 1e-12;
// Box sets smaller than this are intersected by a plain sweep rather than split further
// by CGAL's segment tree; CGAL's default of 10 spent a third of the time of a 10,000-point
// triangulation there.
constexpr std::ptrdiff_t kBoxCutoff = 1000;
// Crossing points may be off the exact crossing by this fraction of the merge distance.
constexpr double kCrossingTolerance = 1e-3;

struct Crossing {
    double x;
    double y;
    int low;  // the lower-numbered of the two segments
    int high;
};

Point point_of(const PlanarGraph& graph, int point) {
    return Point(graph.xy[2 * point], graph.xy[2 * point + 1]);
}

double distance_squared(const PlanarGraph& graph, int a, int b) {
    const double dx = graph.xy[2 * a] - graph.xy[2 * b];
    const double dy = graph.xy[2 * a + 1] - graph.xy[2 * b + 1];
    return dx * dx + dy * dy;
}

Box box_around(double x0, double y0, double x1, double y1, double pad, const int* handle) {
    double low[2] = {std::min(x0, x1) - pad, std::min(y0, y1) - pad};
    double high[2] = {std::max(x0, x1) + pad, std::max(y0, y1) + pad};
    return Box(low, high, handle);
}

Box point_box(const PlanarGraph& graph, const int* point, double pad) {
    const double x = graph.xy[2 * *point];
    const double y = graph.xy[2 * *point + 1];
    return box_around(x, y, x, y, pad, point);
}

int first_end(const PlanarGraph& graph, int segment) {
    return graph.representative[graph.segment_ends[2 * segment]];
}

int second_end(const PlanarGraph& graph, int segment) {
    return graph.representative[graph.segment_ends[2 * segment + 1]];
}

// Union-find whose roots are the lowest numbers of their groups.
int find_root(std::vector<int>& parent, int i) {
    while (parent[i] != i) {
        parent[i] = parent[parent[i]];
        i = parent[i];
    }
    return i;
}

void unite(std::vector<int>& parent, int a, int b) {
    a = find_root(parent, a);
    b = find_root(parent, b);
    if (a < b)
        parent[b] = a;
    if (b < a)
        parent[a] = b;
}

double input_extent(const PlanarGraph& graph) {
    if (graph.input_points == 0)
        return 0.0;
    double min_x = graph.xy[0], max_x = graph.xy[0], min_y = graph.xy[1], max_y = graph.xy[1];
    for (int i = 1; i < graph.input_points; ++i) {
        min_x = std::min(min_x, graph.xy[2 * i]);
        max_x = std::max(max_x, graph.xy[2 * i]);
        min_y = std::min(min_y, graph.xy[2 * i + 1]);
        max_y = std::max(max_y, graph.xy[2 * i + 1]);
    }
    return std::max(max_x - min_x, max_y - min_y);
}

// Unites points closer than the merge distance. The points are distinct and sorted by x,
// then y: runs of equal x are walked in y order, and each point is compared with the
// points of the few following runs whose x is within the merge distance.
void unite_close_points(const PlanarGraph& graph, const std::vector<int>& sorted,
                        std::vector<int>& parent) {
    const double merge = graph.merge_distance;
    auto x_of = [&graph](int p) { return graph.xy[2 * p]; };
    auto y_of = [&graph](int p) { return graph.xy[2 * p + 1]; };
    std::vector<std::size_t> runs;  // start of each run of equal x, then the end
    for (std::size_t k = 0; k < sorted.size(); ++k) {
        if (k == 0 || x_of(sorted[k]) != x_of(sorted[k - 1]))
            runs.push_back(k);
    }
    runs.push_back(sorted.size());
    for (std::size_t r = 0; r + 1 < runs.size(); ++r) {
        for (std::size_t k = runs[r]; k < runs[r + 1]; ++k) {
            const int p = sorted[k];
            if (k + 1 < runs[r + 1] && y_of(sorted[k + 1]) - y_of(p) < merge)
                unite(parent, p, sorted[k + 1]);
            for (std::size_t later = r + 1; later + 1 < runs.size(); ++later) {
                if (!(x_of(sorted[runs[later]]) - x_of(p) < merge))
                    break;
                auto first =
                    std::lower_bound(sorted.begin() + runs[later], sorted.begin() + runs[later + 1],
                                     y_of(p) - merge, [&](int q, double y) { return y_of(q) < y; });
                for (; first != sorted.begin() + runs[later + 1] && y_of(*first) < y_of(p) + merge;
                     ++first) {
                    if (distance_squared(graph, p, *first) < merge * merge)
                        unite(parent, p, *first);
                }
            }
        }
    }
}

// Gives every input point the lowest-numbered point of its group of close points.
void merge_input_points(PlanarGraph& graph) {
    const int count = graph.input_points;
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&graph](int a, int b) {
        const double* p = &graph.xy[2 * a];
        const double* q = &graph.xy[2 * b];
        if (p[0] != q[0])
            return p[0] < q[0];
        if (p[1] != q[1])
            return p[1] < q[1];
        return a < b;
    });
    std::vector<int> parent(count);
    std::iota(parent.begin(), parent.end(), 0);
    std::vector<int> distinct;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && distance_squared(graph, order[k - 1], order[k]) == 0.0) {
            unite(parent, order[k - 1], order[k]);
        } else {
            distinct.push_back(order[k]);
        }
    }
    unite_close_points(graph, distinct, parent);
    for (int i = 0; i < count; ++i) graph.representative[i] = find_root(parent, i);
}

bool is_proper_crossing(const Point& a, const Point& b, const Point& c, const Point& d) {
    const CGAL::Orientation c_side = CGAL::orientation(a, b, c);
    const CGAL::Orientation d_side = CGAL::orientation(a, b, d);
    if (c_side == CGAL::COLLINEAR || d_side == CGAL::COLLINEAR || c_side == d_side)
        return false;
    const CGAL::Orientation a_side = CGAL::orientation(c, d, a);
    const CGAL::Orientation b_side = CGAL::orientation(c, d, b);
    return a_side != CGAL::COLLINEAR && b_side != CGAL::COLLINEAR && a_side != b_side;
}

// The crossing of two properly crossing segments, within tolerance of the exact one:
// from interval arithmetic where its result is that narrow, else computed exactly and
// rounded. The exact computation takes most of the time of a small triangulation.
std::pair<double, double> crossing_point(const Point& a, const Point& b, const Point& c,
                                         const Point& d, double tolerance) {
    {
        CGAL::Protect_FPU_rounding<true> upward;
        using Interval = CGAL::Interval_nt_advanced;
        const Interval ax(a.x()), ay(a.y()), bx(b.x()), by(b.y());
        const Interval cx(c.x()), cy(c.y()), dx(d.x()), dy(d.y());
        const Interval denominator = (bx - ax) * (dy - cy) - (by - ay) * (dx - cx);
        const Interval t = ((cx - ax) * (dy - cy) - (cy - ay) * (dx - cx)) / denominator;
        const Interval x = ax + t * (bx - ax), y = ay + t * (by - ay);
        if (x.sup() - x.inf() <= tolerance && y.sup() - y.inf() <= tolerance) {
            return {0.5 * x.inf() + 0.5 * x.sup(), 0.5 * y.inf() + 0.5 * y.sup()};
        }
    }
    const Rational ax(a.x()), ay(a.y()), bx(b.x()), by(b.y());
    const Rational cx(c.x()), cy(c.y()), dx(d.x()), dy(d.y());
    const Rational denominator = (bx - ax) * (dy - cy) - (by - ay) * (dx - cx);
    const Rational t = ((cx - ax) * (dy - cy) - (cy - ay) * (dx - cx)) / denominator;
    return {CGAL::to_double(ax + t * (bx - ax)), CGAL::to_double(ay + t * (by - ay))};
}

std::vector<int> meshed_segments(const PlanarGraph& graph) {
    std::vector<int> segments;
    const int count = static_cast<int>(graph.segment_markers.size());
    for (int s = 0; s < count; ++s) {
        if (first_end(graph, s) != second_end(graph, s))
            segments.push_back(s);
    }
    return segments;
}

std::vector<Box> segment_boxes(const PlanarGraph& graph, const std::vector<int>& segments) {
    std::vector<Box> boxes;
    boxes.reserve(segments.size());
    for (const int& s : segments) {
        const int a = first_end(graph, s);
        const int b = second_end(graph, s);
        boxes.push_back(box_around(graph.xy[2 * a], graph.xy[2 * a + 1], graph.xy[2 * b],
                                   graph.xy[2 * b + 1], graph.merge_distance, &s));
    }
    return boxes;
}

// Thrown from the box search once the crossings pass their limit.
struct TooManyCrossings {};

std::vector<Crossing> find_crossings(const PlanarGraph& graph, std::vector<Box>& boxes,
                                     long long limit) {
    std::vector<Crossing> crossings;
    CGAL::box_self_intersection_d(
        boxes.begin(), boxes.end(),
        [&](const Box& u, const Box& v) {
            const int s = std::min(*u.handle(), *v.handle());
            const int t = std::max(*u.handle(), *v.handle());
            const int a = first_end(graph, s), b = second_end(graph, s);
            const int c = first_end(graph, t), d = second_end(graph, t);
            if (a == c || a == d || b == c || b == d)
                return;
            const Point pa = point_of(graph, a), pb = point_of(graph, b);
            const Point pc = point_of(graph, c), pd = point_of(graph, d);
            if (!is_proper_crossing(pa, pb, pc, pd))
                return;
            const std::pair<double, double> p =
                crossing_point(pa, pb, pc, pd, kCrossingTolerance * graph.merge_distance);
            if (static_cast<long long>(crossings.size()) >= limit)
                throw TooManyCrossings();
            crossings.push_back({p.first, p.second, s, t});
        },
        kBoxCutoff);
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& p, const Crossing& q) {
        return p.low != q.low ? p.low < q.low : p.high < q.high;
    });
    return crossings;
}

// For every crossing, the lowest-numbered earlier crossing closer than merge, or -1.
// Crossings are binned in cells half the merge distance wide, so a cell's first entry
// is close to every later one in it: many crossings at one point cost a few looks
// each instead of a look at every pair.
std::vector<int> earliest_close_crossings(const std::vector<Crossing>& crossings, double merge) {
    const int count = static_cast<int>(crossings.size());
    std::vector<int> earliest(count, -1);
    if (count == 0 || !(merge > 0.0) || !std::isfinite(merge))
        return earliest;
    double low_x = crossings[0].x, low_y = crossings[0].y;
    for (const Crossing& c : crossings) {
        low_x = std::min(low_x, c.x);
        low_y = std::min(low_y, c.y);
    }
    const double cell = 0.5 * merge;
    struct CellKey {
        long long x, y;
        bool operator==(const CellKey& o) const { return x == o.x && y == o.y; }
    };
    struct CellHash {
        std::size_t operator()(const CellKey& k) const {
            return std::hash<long long>()(k.x * 1000003LL ^ k.y);
        }
    };
    // Crossings lie within the input's extent, which is 1e12 merge distances at most,
    // so the cell numbers fit.
    auto key_of = [&](const Crossing& c) {
        return CellKey{static_cast<long long>(std::floor((c.x - low_x) / cell)),
                       static_cast<long long>(std::floor((c.y - low_y) / cell))};
    };
    std::unordered_map<CellKey, std::vector<int>, CellHash> cells;
    for (int c = 0; c < count; ++c) {
        const Crossing& crossing = crossings[c];
        const CellKey at = key_of(crossing);
        int best = -1;
        for (long long dy = -2; dy <= 2; ++dy) {
            for (long long dx = -2; dx <= 2; ++dx) {
                const auto found = cells.find(CellKey{at.x + dx, at.y + dy});
                if (found == cells.end())
                    continue;
                // Entries are in crossing order: the first close one is the cell's lowest.
                for (const int e : found->second) {
                    if (best >= 0 && e > best)
                        break;
                    const double ex = crossings[e].x - crossing.x, ey = crossings[e].y - crossing.y;
                    if (ex * ex + ey * ey < merge * merge) {
                        best = e;
                        break;
                    }
                }
            }
        }
        earliest[c] = best;
        cells[at].push_back(c);
    }
    return earliest;
}

// Gives, for every crossing, the point that stands for it: the nearest meshed point
// within the merge distance, else the point of the earliest crossing within it, else a
// new point.
std::vector<int> place_crossings(PlanarGraph& graph, const std::vector<Crossing>& crossings) {
    const int count = static_cast<int>(crossings.size());
    const double merge = graph.merge_distance;
    std::vector<int> numbers(count);
    std::iota(numbers.begin(), numbers.end(), 0);
    std::vector<Box> crossing_boxes;
    crossing_boxes.reserve(count);
    for (const int& c : numbers) {
        crossing_boxes.push_back(
            box_around(crossings[c].x, crossings[c].y, crossings[c].x, crossings[c].y, merge, &c));
    }
    std::vector<int> meshed;
    for (int i = 0; i < graph.input_points; ++i) {
        if (graph.representative[i] == i)
            meshed.push_back(i);
    }
    std::vector<Box> point_boxes;
    point_boxes.reserve(meshed.size());
    for (const int& point : meshed) point_boxes.push_back(point_box(graph, &point, merge));

    auto distance_to = [](const Crossing& c, double x, double y) {
        return (c.x - x) * (c.x - x) + (c.y - y) * (c.y - y);
    };
    std::vector<int> nearest(count, -1);
    std::vector<double> nearest_distance(count, merge * merge);
    CGAL::box_intersection_d(
        crossing_boxes.begin(), crossing_boxes.end(), point_boxes.begin(), point_boxes.end(),
        [&](const Box& u, const Box& v) {
            const int c = *u.handle();
            const int p = *v.handle();
            const double d = distance_to(crossings[c], graph.xy[2 * p], graph.xy[2 * p + 1]);
            if (d < nearest_distance[c] ||
                (d == nearest_distance[c] && nearest[c] >= 0 && p < nearest[c])) {
                nearest[c] = p;
                nearest_distance[c] = d;
            }
        },
        kBoxCutoff);
    const std::vector<int> earliest = earliest_close_crossings(crossings, merge);
    std::vector<int> target(count, -1);
    std::vector<double> attributes(graph.attribute_count);
    for (int c = 0; c < count; ++c) {
        if (nearest[c] >= 0) {
            target[c] = nearest[c];
            continue;
        }
        if (earliest[c] >= 0) {
            target[c] = target[earliest[c]];
            continue;
        }
        const Crossing& crossing = crossings[c];
        interpolate_on_line(graph, graph.segment_ends[2 * crossing.low],
                            graph.segment_ends[2 * crossing.low + 1], crossing.x, crossing.y,
                            attributes.data());
        target[c] = add_point(graph, crossing.x, crossing.y, attributes.data(),
                              graph.segment_markers[crossing.low]);
    }
    return target;
}

// Whether point p lies inside segment a-b, exactly or within the merge distance.
bool touches_inside(const PlanarGraph& graph, int p, int a, int b) {
    const Point pp = point_of(graph, p), pa = point_of(graph, a), pb = point_of(graph, b);
    if (CGAL::collinear(pa, pp, pb))
        return CGAL::collinear_are_strictly_ordered_along_line(pa, pp, pb);
    const double dx = pb.x() - pa.x();
    const double dy = pb.y() - pa.y();
    const double ux = pp.x() - pa.x();
    const double uy = pp.y() - pa.y();
    const double along = ux * dx + uy * dy;
    const double length_squared = dx * dx + dy * dy;
    if (!(along > 0.0 && along < length_squared))
        return false;
    const double across = ux * dy - uy * dx;
    return across * across < graph.merge_distance * graph.merge_distance * length_squared;
}

void add_touching_points(const PlanarGraph& graph, std::vector<Box>& boxes,
                         std::vector<std::vector<int>>& cuts) {
    std::vector<int> meshed;
    for (int i = 0; i < graph.point_count(); ++i) {
        if (graph.representative[i] == i)
            meshed.push_back(i);
    }
    std::vector<Box> point_boxes;
    point_boxes.reserve(meshed.size());
    for (const int& point : meshed) point_boxes.push_back(point_box(graph, &point, 0.0));
    CGAL::box_intersection_d(
        point_boxes.begin(), point_boxes.end(), boxes.begin(), boxes.end(),
        [&](const Box& u, const Box& v) {
            const int p = *u.handle();
            const int s = *v.handle();
            const int a = first_end(graph, s), b = second_end(graph, s);
            if (p != a && p != b && touches_inside(graph, p, a, b)) {
                cuts[s].push_back(p);
            }
        },
        kBoxCutoff);
}

void cut_into_pieces(PlanarGraph& graph, const std::vector<int>& segments,
                     std::vector<std::vector<int>>& cuts) {
    for (const int s : segments) {
        const int a = first_end(graph, s), b = second_end(graph, s);
        std::vector<int>& points = cuts[s];
        std::sort(points.begin(), points.end());
        points.erase(std::unique(points.begin(), points.end()), points.end());
        const double dx = graph.xy[2 * b] - graph.xy[2 * a];
        const double dy = graph.xy[2 * b + 1] - graph.xy[2 * a + 1];
        auto along = [&](int p) {
            return (graph.xy[2 * p] - graph.xy[2 * a]) * dx +
                   (graph.xy[2 * p + 1] - graph.xy[2 * a + 1]) * dy;
        };
        std::stable_sort(points.begin(), points.end(),
                         [&along](int p, int q) { return along(p) < along(q); });
        int previous = a;
        for (const int p : points) {
            graph.pieces.push_back({previous, p, s});
            previous = p;
        }
        graph.pieces.push_back({previous, b, s});
    }
}

}  // namespace

bool prepare_planar_graph(PlanarGraph& graph, long long crossing_limit) {
    graph.merge_distance = kMergeFraction * input_extent(graph);
    merge_input_points(graph);
    const std::vector<int> segments = meshed_segments(graph);
    std::vector<Box> boxes = segment_boxes(graph, segments);
    std::vector<Crossing> crossings;
    try {
        crossings = find_crossings(graph, boxes, crossing_limit);
    } catch (const TooManyCrossings&) {
        return false;
    }
    const std::vector<int> crossing_points = place_crossings(graph, crossings);

    std::vector<std::vector<int>> cuts(graph.segment_markers.size());
    for (std::size_t c = 0; c < crossings.size(); ++c) {
        for (const int s : {crossings[c].low, crossings[c].high}) {
            const int p = crossing_points[c];
            if (p != first_end(graph, s) && p != second_end(graph, s))
                cuts[s].push_back(p);
        }
    }
    add_touching_points(graph, boxes, cuts);
    cut_into_pieces(graph, segments, cuts);
    return true;
}

}  // namespace tri
