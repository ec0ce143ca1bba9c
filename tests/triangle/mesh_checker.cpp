#include "mesh_checker.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <utility>

namespace tri_test {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Vec {
    double x;
    double y;
};

Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
double cross(Vec a, Vec b) {
    return a.x * b.y - a.y * b.x;
}
double dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y;
}
double length(Vec a) {
    return std::sqrt(dot(a, a));
}

double distance_to_segment(Vec p, Vec a, Vec b) {
    const Vec d = b - a;
    const double l2 = dot(d, d);
    double t = l2 > 0.0 ? dot(p - a, d) / l2 : 0.0;
    t = std::min(1.0, std::max(0.0, t));
    return length(p - Vec{a.x + t * d.x, a.y + t * d.y});
}

// Twice the signed area of a-b-c and a bound on its rounding error.
double orientation(Vec a, Vec b, Vec c, double& error) {
    const double left = (b.x - a.x) * (c.y - a.y);
    const double right = (b.y - a.y) * (c.x - a.x);
    error = 4e-16 * (std::fabs(left) + std::fabs(right));
    return left - right;
}

double corner_angle(Vec at, Vec p, Vec q) {
    return std::atan2(std::fabs(cross(p - at, q - at)), dot(p - at, q - at)) * 180.0 / kPi;
}

class Checker {
public:
    Checker(const Pslg& input, const triangulateio& out, const CheckOptions& options)
        : in_(input), out_(out), options_(options) {}

    std::vector<std::string> run() {
        set_scale();
        if (!check_counts())
            return problems_;
        check_input_points();
        if (!check_triangles())
            return problems_;
        check_edges_and_border();
        check_overlap();
        check_segments();
        check_segment_coverage();
        check_added_points();
        check_angles();
        if (options_.expected_area >= 0.0) {
            const double area = mesh_area(out_, options_.base);
            if (std::fabs(area - options_.expected_area) >
                1e-9 * std::max(1.0, options_.expected_area)) {
                fail("area " + text(area) + " instead of " + text(options_.expected_area));
            }
        }
        return problems_;
    }

private:
    const Pslg& in_;
    const triangulateio& out_;
    CheckOptions options_;
    std::vector<std::string> problems_;
    double tolerance_ = 0.0;
    // Added points lie on their segment up to rounding, or up to the triangulator's merge
    // distance (1e-12 of the extent) where a segment bends to a point it touches; a
    // looser test would take a crossing for lying on a third segment that passes by.
    double on_segment_tolerance_ = 0.0;
    std::vector<int> triangles_;  // zero-based
    std::vector<std::pair<int, int>> segments_;
    std::set<std::pair<int, int>> segment_set_;    // both directions
    std::map<std::pair<int, int>, int> directed_;  // triangle edges, counted

    static std::string text(double value) {
        std::ostringstream s;
        s.precision(17);
        s << value;
        return s.str();
    }

    void fail(const std::string& problem) {
        if (problems_.size() < 20)
            problems_.push_back(problem);
    }

    Vec in_point(int i) const { return {in_.points[2 * i], in_.points[2 * i + 1]}; }
    Vec out_point(int i) const { return {out_.pointlist[2 * i], out_.pointlist[2 * i + 1]}; }

    void set_scale() {
        double min_x = INFINITY, max_x = -INFINITY, min_y = INFINITY, max_y = -INFINITY;
        for (int i = 0; i < in_.point_count(); ++i) {
            min_x = std::min(min_x, in_.points[2 * i]);
            max_x = std::max(max_x, in_.points[2 * i]);
            min_y = std::min(min_y, in_.points[2 * i + 1]);
            max_y = std::max(max_y, in_.points[2 * i + 1]);
        }
        tolerance_ = 1e-9 * std::max(max_x - min_x, max_y - min_y);
        on_segment_tolerance_ = 1e-11 * std::max(max_x - min_x, max_y - min_y);
    }

    bool meshed_segment(int s) const {
        const Vec a = in_point(in_.segments[2 * s]), b = in_point(in_.segments[2 * s + 1]);
        return a.x != b.x || a.y != b.y;
    }

    // The lowest-numbered input segment within the given distance of p, or -1.
    int lowest_segment_at(Vec p, double tolerance) const {
        for (int s = 0; s < in_.segment_count(); ++s) {
            if (!meshed_segment(s))
                continue;
            const Vec a = in_point(in_.segments[2 * s]), b = in_point(in_.segments[2 * s + 1]);
            if (distance_to_segment(p, a, b) <= tolerance)
                return s;
        }
        return -1;
    }

    // The lowest-numbered input segment that the piece p-q lies on: both ends within the
    // tolerance and the directions parallel (which tells apart the segments through a
    // crossing even for pieces shorter than the tolerance), or -1.
    int lowest_segment_along(Vec p, Vec q) const {
        const double piece = length(q - p);
        for (int s = 0; s < in_.segment_count(); ++s) {
            if (!meshed_segment(s))
                continue;
            const Vec a = in_point(in_.segments[2 * s]), b = in_point(in_.segments[2 * s + 1]);
            if (distance_to_segment(p, a, b) > tolerance_ ||
                distance_to_segment(q, a, b) > tolerance_)
                continue;
            const double sine = std::fabs(cross(q - p, b - a)) / (piece * length(b - a));
            if (piece > 0.0 && sine <= 1e-9 + 1e-6 * tolerance_ / piece)
                return s;
        }
        return -1;
    }

    std::vector<int> segments_at(Vec p) const {
        std::vector<int> found;
        for (int s = 0; s < in_.segment_count(); ++s) {
            if (!meshed_segment(s))
                continue;
            const Vec a = in_point(in_.segments[2 * s]), b = in_point(in_.segments[2 * s + 1]);
            if (distance_to_segment(p, a, b) <= tolerance_)
                found.push_back(s);
        }
        return found;
    }

    bool check_counts() {
        if (out_.numberofcorners != 3)
            fail("numberofcorners is not 3");
        if (out_.numberofpoints < in_.point_count()) {
            fail("fewer output points than input points");
            return false;
        }
        if (out_.numberofpointattributes != in_.attribute_count)
            fail("attribute count changed");
        if (out_.numberofpoints > 0 &&
            (out_.pointlist == nullptr || out_.pointmarkerlist == nullptr)) {
            fail("point arrays missing");
            return false;
        }
        if (out_.numberoftriangles > 0 && out_.trianglelist == nullptr) {
            fail("triangle list missing");
            return false;
        }
        if (out_.numberofsegments > 0 &&
            (out_.segmentlist == nullptr || out_.segmentmarkerlist == nullptr)) {
            fail("segment arrays missing");
            return false;
        }
        return problems_.empty();
    }

    void check_input_points() {
        const int a = in_.attribute_count;
        for (int i = 0; i < in_.point_count(); ++i) {
            if (out_.pointlist[2 * i] != in_.points[2 * i] ||
                out_.pointlist[2 * i + 1] != in_.points[2 * i + 1]) {
                fail("input point " + std::to_string(i) + " moved");
            }
            for (int k = 0; k < a; ++k) {
                if (out_.pointattributelist[a * i + k] != in_.attributes[a * i + k]) {
                    fail("attribute of input point " + std::to_string(i) + " changed");
                }
            }
        }
    }

    bool check_triangles() {
        const int n = out_.numberofpoints;
        for (int i = 0; i < 3 * out_.numberoftriangles; ++i) {
            const int p = out_.trianglelist[i] - options_.base;
            if (p < 0 || p >= n) {
                fail("triangle corner out of range");
                return false;
            }
            triangles_.push_back(p);
        }
        for (std::size_t t = 0; t < triangles_.size(); t += 3) {
            double error = 0.0;
            const double o = orientation(out_point(triangles_[t]), out_point(triangles_[t + 1]),
                                         out_point(triangles_[t + 2]), error);
            if (o < -error)
                fail("triangle " + std::to_string(t / 3) + " is clockwise");
            if (triangles_[t] == triangles_[t + 1] || triangles_[t + 1] == triangles_[t + 2] ||
                triangles_[t] == triangles_[t + 2]) {
                fail("triangle " + std::to_string(t / 3) + " repeats a corner");
            }
        }
        return problems_.empty();
    }

    void check_edges_and_border() {
        std::map<std::pair<int, int>, int>& directed = directed_;
        for (std::size_t t = 0; t < triangles_.size(); t += 3) {
            for (int j = 0; j < 3; ++j) {
                const std::pair<int, int> edge(triangles_[t + j], triangles_[t + (j + 1) % 3]);
                if (++directed[edge] > 1)
                    fail("edge used twice in one direction");
            }
        }
        for (int s = 0; s < out_.numberofsegments; ++s) {
            const int a = out_.segmentlist[2 * s] - options_.base;
            const int b = out_.segmentlist[2 * s + 1] - options_.base;
            segments_.emplace_back(a, b);
            segment_set_.emplace(a, b);
            segment_set_.emplace(b, a);
        }
        std::map<int, std::vector<int>> outgoing;  // border edges, interior on their left
        std::vector<std::pair<int, int>> border;
        for (const auto& entry : directed) {
            const int a = entry.first.first, b = entry.first.second;
            if (directed.count({b, a}) != 0)
                continue;
            if (segment_set_.count({a, b}) == 0)
                fail("border edge not an output segment");
            outgoing[a].push_back(static_cast<int>(border.size()));
            border.emplace_back(a, b);
        }
        check_border_loops(border, outgoing);
    }

    // Each loop of border edges keeps the mesh on its left; a loop that turns clockwise
    // encloses a region without triangles.
    void check_border_loops(const std::vector<std::pair<int, int>>& border,
                            std::map<int, std::vector<int>>& outgoing) {
        if (!in_.holes.empty())
            return;
        std::vector<char> used(border.size(), 0);
        for (std::size_t start = 0; start < border.size(); ++start) {
            if (used[start])
                continue;
            double twice_area = 0.0;
            std::size_t edge = start;
            for (std::size_t steps = 0; steps <= border.size(); ++steps) {
                used[edge] = 1;
                const Vec a = out_point(border[edge].first), b = out_point(border[edge].second);
                twice_area += cross(a, b);
                const double back = std::atan2(a.y - b.y, a.x - b.x);
                double best_turn = INFINITY;
                std::size_t next = start;
                for (const int candidate : outgoing[border[edge].second]) {
                    const Vec c = out_point(border[candidate].second);
                    double turn = std::atan2(c.y - b.y, c.x - b.x) - back;
                    while (turn <= 0.0) turn += 2.0 * kPi;
                    if (turn < best_turn) {
                        best_turn = turn;
                        next = static_cast<std::size_t>(candidate);
                    }
                }
                edge = next;
                if (edge == start || used[edge])
                    break;
            }
            if (twice_area < -tolerance_ * tolerance_)
                fail("an enclosed region has no triangles");
        }
    }

    // Triangles registered in a grid of cells over the output, for point queries.
    struct Grid {
        double min_x = 0, min_y = 0, cell = 1;
        int columns = 1, rows = 1;
        std::vector<std::vector<int>> cells;
    };

    Grid build_grid() const {
        Grid grid;
        const int count = static_cast<int>(triangles_.size() / 3);
        if (count == 0)
            return grid;
        double min_x = INFINITY, max_x = -INFINITY, min_y = INFINITY, max_y = -INFINITY;
        for (const int p : triangles_) {
            min_x = std::min(min_x, out_point(p).x);
            max_x = std::max(max_x, out_point(p).x);
            min_y = std::min(min_y, out_point(p).y);
            max_y = std::max(max_y, out_point(p).y);
        }
        const int side = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(count))));
        grid.min_x = min_x;
        grid.min_y = min_y;
        grid.cell = std::max(max_x - min_x, max_y - min_y) / side;
        if (!(grid.cell > 0.0))
            grid.cell = 1.0;
        grid.columns = side + 1;
        grid.rows = side + 1;
        grid.cells.resize(static_cast<std::size_t>(grid.columns * grid.rows));
        for (int t = 0; t < count; ++t) {
            double lo_x = INFINITY, hi_x = -INFINITY, lo_y = INFINITY, hi_y = -INFINITY;
            for (int j = 0; j < 3; ++j) {
                const Vec p = out_point(triangles_[3 * t + j]);
                lo_x = std::min(lo_x, p.x);
                hi_x = std::max(hi_x, p.x);
                lo_y = std::min(lo_y, p.y);
                hi_y = std::max(hi_y, p.y);
            }
            for (int c = cell_of(grid, lo_x - tolerance_, grid.min_x, grid.columns);
                 c <= cell_of(grid, hi_x + tolerance_, grid.min_x, grid.columns); ++c) {
                for (int r = cell_of(grid, lo_y - tolerance_, grid.min_y, grid.rows);
                     r <= cell_of(grid, hi_y + tolerance_, grid.min_y, grid.rows); ++r) {
                    grid.cells[static_cast<std::size_t>(r * grid.columns + c)].push_back(t);
                }
            }
        }
        return grid;
    }

    static int cell_of(const Grid& grid, double value, double origin, int count) {
        const int cell = static_cast<int>(std::floor((value - origin) / grid.cell));
        return std::min(count - 1, std::max(0, cell));
    }

    const std::vector<int>& candidates(const Grid& grid, Vec p) const {
        const int c = cell_of(grid, p.x, grid.min_x, grid.columns);
        const int r = cell_of(grid, p.y, grid.min_y, grid.rows);
        return grid.cells[static_cast<std::size_t>(r * grid.columns + c)];
    }

    // Whether p lies in triangle t or within the tolerance of it (of the triangle itself,
    // not of its edges' lines, which reach far beyond a sharp corner).
    bool near_triangle(int t, Vec p) const {
        bool inside = true;
        double nearest = INFINITY;
        for (int j = 0; j < 3; ++j) {
            const Vec a = out_point(triangles_[3 * t + j]),
                      b = out_point(triangles_[3 * t + (j + 1) % 3]);
            double error = 0.0;
            if (orientation(a, b, p, error) < -error)
                inside = false;
            nearest = std::min(nearest, distance_to_segment(p, a, b));
        }
        return inside || nearest <= tolerance_;
    }

    bool covered(const Grid& grid, Vec p) const {
        if (grid.cells.empty())
            return false;
        for (const int t : candidates(grid, p)) {
            if (near_triangle(t, p))
                return true;
        }
        return false;
    }

    // With counterclockwise triangles and no edge used twice in one direction, triangles
    // overlap only where the fan around some point turns more than once: the angles
    // around a point sum to at most 360 degrees, and to exactly 360 inside the mesh.
    void check_overlap() {
        std::vector<double> angle_sum(out_.numberofpoints, 0.0);
        for (std::size_t t = 0; t < triangles_.size(); t += 3) {
            for (int j = 0; j < 3; ++j) {
                const int p = triangles_[t + j];
                angle_sum[p] += corner_angle(out_point(p), out_point(triangles_[t + (j + 1) % 3]),
                                             out_point(triangles_[t + (j + 2) % 3]));
            }
        }
        std::vector<char> on_border(out_.numberofpoints, 0);
        for (const auto& edge : directed_) {
            if (directed_.count({edge.first.second, edge.first.first}) == 0)
                on_border[edge.first.first] = 1;
        }
        for (int p = 0; p < out_.numberofpoints; ++p) {
            if (angle_sum[p] == 0.0)
                continue;
            if (angle_sum[p] > 360.0 + 1e-6 || (!on_border[p] && angle_sum[p] < 360.0 - 1e-6)) {
                fail("triangles around point " + std::to_string(p) + " turn " + text(angle_sum[p]) +
                     " degrees");
            }
        }
    }

    bool is_triangle_edge(int a, int b) const {
        return directed_.count({a, b}) != 0 || directed_.count({b, a}) != 0;
    }

    void check_segments() {
        for (int s = 0; s < static_cast<int>(segments_.size()); ++s) {
            const int a = segments_[s].first, b = segments_[s].second;
            if (a < 0 || b < 0 || a >= out_.numberofpoints || b >= out_.numberofpoints) {
                fail("segment out of range");
                continue;
            }
            const Vec pa = out_point(a), pb = out_point(b);
            const int under = lowest_segment_along(pa, pb);
            if (under < 0) {
                fail("output segment " + std::to_string(s) + " off the input segments");
                continue;
            }
            if (out_.segmentmarkerlist[s] != in_.markers[under]) {
                fail("output segment " + std::to_string(s) + " has marker " +
                     std::to_string(out_.segmentmarkerlist[s]) + " instead of " +
                     std::to_string(in_.markers[under]));
            }
            if (!is_triangle_edge(a, b))
                fail("output segment " + std::to_string(s) + " not a triangle edge");
        }
    }

    bool on_output_segment(Vec p, int marker) const {
        for (std::size_t s = 0; s < segments_.size(); ++s) {
            if (distance_to_segment(p, out_point(segments_[s].first),
                                    out_point(segments_[s].second)) <= tolerance_ &&
                out_.segmentmarkerlist[s] == marker) {
                return true;
            }
        }
        return false;
    }

    // At a point the segments through it may end or be eaten; samples there prove nothing.
    bool near_output_point(Vec p) const {
        for (int i = 0; i < out_.numberofpoints; ++i) {
            if (length(out_point(i) - p) <= tolerance_)
                return true;
        }
        return false;
    }

    void check_segment_coverage() {
        const Grid grid = build_grid();
        constexpr int kSamples = 7;
        for (int s = 0; s < in_.segment_count(); ++s) {
            if (!meshed_segment(s))
                continue;
            const Vec a = in_point(in_.segments[2 * s]), b = in_point(in_.segments[2 * s + 1]);
            for (int k = 0; k < kSamples; ++k) {
                const double t = (k + 0.5) / kSamples;
                const Vec p{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
                if (!covered(grid, p) || near_output_point(p))
                    continue;
                const int under = lowest_segment_at(p, tolerance_);
                if (!on_output_segment(p, in_.markers[under])) {
                    fail("input segment " + std::to_string(s) + " not covered at " + text(t));
                }
            }
        }
    }

    void expect_attributes(int point, const std::vector<double>& expected, const char* what) {
        const int a = in_.attribute_count;
        for (int k = 0; k < a; ++k) {
            const double value = out_.pointattributelist[a * point + k];
            if (!(std::fabs(value - expected[k]) <= 1e-9 * (1.0 + std::fabs(expected[k])))) {
                fail(std::string(what) + ": attribute " + std::to_string(k) + " of point " +
                     std::to_string(point) + " is " + text(value) + " instead of " +
                     text(expected[k]));
            }
        }
    }

    // Whether two input segments that are not parallel pass through q.
    bool is_crossing(Vec q) const {
        std::vector<int> through;
        for (int s = 0; s < in_.segment_count(); ++s) {
            if (!meshed_segment(s))
                continue;
            const Vec a = in_point(in_.segments[2 * s]), b = in_point(in_.segments[2 * s + 1]);
            if (distance_to_segment(q, a, b) > on_segment_tolerance_)
                continue;
            for (const int other : through) {
                const Vec c = in_point(in_.segments[2 * other]),
                          d = in_point(in_.segments[2 * other + 1]);
                if (std::fabs(cross(b - a, d - c)) > 1e-9 * length(b - a) * length(d - c))
                    return true;
            }
            through.push_back(s);
        }
        return false;
    }

    // The nearest output points joined to p by output segments along input segment s, one
    // on each side of p: the ends of the sub-segment that p split. Refinement interpolates
    // a point's attributes between them, as a split would at the moment it happens.
    bool sub_segment_ends(int p, int s, const std::vector<std::vector<int>>& incident, int& before,
                          int& after) const {
        const Vec a = in_point(in_.segments[2 * s]), b = in_point(in_.segments[2 * s + 1]);
        const Vec d = b - a;
        const double at = dot(out_point(p) - a, d);
        double nearest_before = -INFINITY, nearest_after = INFINITY;
        for (const int other : incident[p]) {
            const Vec o = out_point(other);
            if (distance_to_segment(o, a, b) > tolerance_)
                continue;
            const double along = dot(o - a, d);
            if (along < at && along > nearest_before) {
                nearest_before = along;
                before = other;
            } else if (along > at && along < nearest_after) {
                nearest_after = along;
                after = other;
            }
        }
        return before >= 0 && after >= 0;
    }

    void check_added_points() {
        const int n = in_.point_count(), a = in_.attribute_count;
        std::vector<char> used(out_.numberofpoints, 0);
        for (const int p : triangles_) used[p] = 1;
        std::vector<double> low(a, INFINITY), high(a, -INFINITY);
        for (int i = 0; i < n; ++i) {
            for (int k = 0; k < a; ++k) {
                low[k] = std::min(low[k], in_.attributes[a * i + k]);
                high[k] = std::max(high[k], in_.attributes[a * i + k]);
            }
        }
        std::vector<std::vector<int>> incident(out_.numberofpoints);
        for (const auto& segment : segments_) {
            incident[segment.first].push_back(segment.second);
            incident[segment.second].push_back(segment.first);
        }
        for (int p = n; p < out_.numberofpoints; ++p) {
            if (!used[p])
                fail("added point " + std::to_string(p) + " unused");
            const Vec q = out_point(p);
            const int s = lowest_segment_at(q, on_segment_tolerance_);
            std::vector<double> expected(a);
            if (s >= 0 && is_crossing(q)) {
                const int i = in_.segments[2 * s], j = in_.segments[2 * s + 1];
                const Vec d = in_point(j) - in_point(i);
                const double t = std::min(1.0, std::max(0.0, dot(q - in_point(i), d) / dot(d, d)));
                for (int k = 0; k < a; ++k) {
                    expected[k] = in_.attributes[a * i + k] +
                                  t * (in_.attributes[a * j + k] - in_.attributes[a * i + k]);
                }
                expect_attributes(p, expected, "at a crossing");
                continue;
            }
            if (s >= 0) {
                int before = -1, after = -1;
                if (!sub_segment_ends(p, s, incident, before, after)) {
                    fail("added point " + std::to_string(p) + " on segment " + std::to_string(s) +
                         " lacks a neighbour along it on each side");
                    continue;
                }
                const Vec d = out_point(after) - out_point(before);
                const double t =
                    std::min(1.0, std::max(0.0, dot(q - out_point(before), d) / dot(d, d)));
                const double* low_end = out_.pointattributelist + a * before;
                const double* high_end = out_.pointattributelist + a * after;
                for (int k = 0; k < a; ++k)
                    expected[k] = low_end[k] + t * (high_end[k] - low_end[k]);
                expect_attributes(p, expected, "on a segment");
                continue;
            }
            for (int k = 0; k < a; ++k) {
                const double value = out_.pointattributelist[a * p + k];
                const double slack = 1e-9 * (1.0 + std::fabs(low[k]) + std::fabs(high[k]));
                if (!(value >= low[k] - slack && value <= high[k] + slack)) {
                    fail("attribute of interior point " + std::to_string(p) +
                         " outside the input range");
                }
            }
            if (options_.affine_attribute && a > 0) {
                const double expected_value = options_.ax * q.x + options_.ay * q.y + options_.a0;
                const double value = out_.pointattributelist[a * p];
                if (!(std::fabs(value - expected_value) <=
                      1e-9 * (1.0 + std::fabs(expected_value)))) {
                    fail("interior point " + std::to_string(p) + " off the affine attribute");
                }
            }
        }
    }

    double segment_distance(int s, int t) const {
        const Vec a = in_point(in_.segments[2 * s]), b = in_point(in_.segments[2 * s + 1]);
        const Vec c = in_point(in_.segments[2 * t]), d = in_point(in_.segments[2 * t + 1]);
        const double abc = cross(b - a, c - a), abd = cross(b - a, d - a);
        const double cda = cross(d - c, a - c), cdb = cross(d - c, b - c);
        if (((abc > 0 && abd < 0) || (abc < 0 && abd > 0)) &&
            ((cda > 0 && cdb < 0) || (cda < 0 && cdb > 0))) {
            return 0.0;
        }
        return std::min(std::min(distance_to_segment(a, c, d), distance_to_segment(b, c, d)),
                        std::min(distance_to_segment(c, a, b), distance_to_segment(d, a, b)));
    }

    // A narrow input angle: two rays from the point where two input segments touch,
    // along each, less than 60 degrees apart; reach is the longer ray's length.
    struct Wedge {
        Vec apex;
        double reach;
    };

    std::vector<Vec> rays_from(Vec apex, int s) const {
        std::vector<Vec> rays;
        for (int e = 0; e < 2; ++e) {
            const Vec ray = in_point(in_.segments[2 * s + e]) - apex;
            if (length(ray) > tolerance_)
                rays.push_back(ray);
        }
        return rays;
    }

    std::vector<Wedge> narrow_wedges() const {
        std::vector<Wedge> wedges;
        for (int s = 0; s < in_.segment_count(); ++s) {
            for (int t = s + 1; t < in_.segment_count(); ++t) {
                if (!meshed_segment(s) || !meshed_segment(t) || segment_distance(s, t) > tolerance_)
                    continue;
                const Vec a = in_point(in_.segments[2 * s]), b = in_point(in_.segments[2 * s + 1]);
                const Vec c = in_point(in_.segments[2 * t]), d = in_point(in_.segments[2 * t + 1]);
                const double denominator = cross(b - a, d - c);
                if (std::fabs(denominator) < 1e-12 * length(b - a) * length(d - c))
                    continue;
                const double along = cross(c - a, d - c) / denominator;
                const Vec apex{a.x + along * (b.x - a.x), a.y + along * (b.y - a.y)};
                for (const Vec u : rays_from(apex, s)) {
                    for (const Vec w : rays_from(apex, t)) {
                        if (dot(u, w) > 0.5 * length(u) * length(w)) {
                            wedges.push_back({apex, std::max(length(u), length(w))});
                        }
                    }
                }
            }
        }
        return wedges;
    }

    // Whether a triangle below the angle lies near a narrow input angle, which forbids
    // better there: a corner within the reach of the wedge's apex.
    bool forced_by_wedge(const std::vector<Wedge>& wedges, Vec a, Vec b, Vec c) const {
        for (const Wedge& wedge : wedges) {
            for (const Vec corner : {a, b, c}) {
                if (length(corner - wedge.apex) <= wedge.reach)
                    return true;
            }
        }
        return false;
    }

    void check_angles() {
        if (!(options_.min_angle > 0.0) || options_.limited)
            return;
        const std::vector<Wedge> wedges = narrow_wedges();
        for (std::size_t t = 0; t < triangles_.size(); t += 3) {
            const Vec a = out_point(triangles_[t]), b = out_point(triangles_[t + 1]),
                      c = out_point(triangles_[t + 2]);
            const double angle =
                std::min({corner_angle(a, b, c), corner_angle(b, c, a), corner_angle(c, a, b)});
            if (angle >= options_.min_angle - 1e-3)
                continue;
            // Features below 1e-8 of the extent are not refined.
            if (std::min({length(b - a), length(c - b), length(a - c)}) < 10.0 * tolerance_)
                continue;
            if (!forced_by_wedge(wedges, a, b, c)) {
                fail("triangle " + std::to_string(t / 3) + " has an angle of " + text(angle) +
                     " degrees");
            }
        }
    }
};

}  // namespace

std::vector<std::string> check_triangulation(const Pslg& input, const triangulateio& out,
                                             const CheckOptions& options) {
    return Checker(input, out, options).run();
}

double mesh_area(const triangulateio& out, int base) {
    double area = 0.0;
    for (int t = 0; t < out.numberoftriangles; ++t) {
        const int* corner = out.trianglelist + 3 * t;
        const double* a = out.pointlist + 2 * (corner[0] - base);
        const double* b = out.pointlist + 2 * (corner[1] - base);
        const double* c = out.pointlist + 2 * (corner[2] - base);
        area += 0.5 * ((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]));
    }
    return area;
}

double smallest_angle(const triangulateio& out, int base) {
    double smallest = 180.0;
    for (int t = 0; t < out.numberoftriangles; ++t) {
        const int* corner = out.trianglelist + 3 * t;
        const Vec a{out.pointlist[2 * (corner[0] - base)],
                    out.pointlist[2 * (corner[0] - base) + 1]};
        const Vec b{out.pointlist[2 * (corner[1] - base)],
                    out.pointlist[2 * (corner[1] - base) + 1]};
        const Vec c{out.pointlist[2 * (corner[2] - base)],
                    out.pointlist[2 * (corner[2] - base) + 1]};
        smallest = std::min(
            {smallest, corner_angle(a, b, c), corner_angle(b, c, a), corner_angle(c, a, b)});
    }
    return smallest;
}

std::string describe(const std::vector<std::string>& problems) {
    std::string all;
    for (const std::string& problem : problems) all += problem + "\n";
    return all;
}

}  // namespace tri_test
