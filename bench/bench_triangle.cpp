// Speed of triangulate on face-cut-like input (an outline crossed by a closed polyline)
// and on random planar graphs, without refinement and at 27 degrees.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "triangle.h"
#include "write_output.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Graph {
    std::vector<double> points;
    std::vector<double> attributes;
    std::vector<int> segments;
    std::vector<int> markers;

    int add_point(double x, double y) {
        points.push_back(x);
        points.push_back(y);
        attributes.push_back(0.0);
        attributes.push_back(static_cast<double>(points.size() / 2));
        return static_cast<int>(points.size() / 2) - 1;
    }
    void add_segment(int a, int b, int marker) {
        segments.push_back(a);
        segments.push_back(b);
        markers.push_back(marker);
    }
};

void add_unit_square(Graph& graph) {
    const int first = graph.add_point(0, 0);
    graph.add_point(1, 0);
    graph.add_point(1, 1);
    graph.add_point(0, 1);
    for (int i = 0; i < 4; ++i) graph.add_segment(first + i, first + (i + 1) % 4, 2);
}

// The unit square and a closed wavy loop of the remaining points that crosses its right edge.
Graph outline_and_polyline(int points) {
    Graph graph;
    add_unit_square(graph);
    const int count = points - 4;
    const int first = static_cast<int>(graph.points.size() / 2);
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * kPi * i / count;
        const double r = 0.35 + 0.05 * std::sin(7.0 * a);
        graph.add_point(0.75 + r * std::cos(a), 0.5 + r * std::sin(a));
    }
    for (int i = 0; i < count; ++i) graph.add_segment(first + i, first + (i + 1) % count, 3);
    return graph;
}

// The unit square around jittered grid points, about a third of the neighbour pairs joined.
Graph random_graph(int points) {
    Graph graph;
    add_unit_square(graph);
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    std::uniform_int_distribution<int> coin(0, 2);
    const int count = points - 4;
    const int side = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(count))));
    const double step = 1.0 / (side + 1);
    const int first = static_cast<int>(graph.points.size() / 2);
    for (int i = 0; i < count; ++i) {
        const int row = i / side, column = i % side;
        graph.add_point(step * (column + 1 + jitter(random)), step * (row + 1 + jitter(random)));
    }
    for (int i = 0; i < count; ++i) {
        const int column = i % side;
        if (column + 1 < side && i + 1 < count && coin(random) == 0)
            graph.add_segment(first + i, first + i + 1, 3);
        if (i + side < count && coin(random) == 0)
            graph.add_segment(first + i, first + i + side, 3);
    }
    return graph;
}

void run(benchmark::State& state, const Graph& source, const char* switch_text) {
    Graph graph = source;
    triangulateio in{};
    in.pointlist = graph.points.data();
    in.pointattributelist = graph.attributes.data();
    in.numberofpoints = static_cast<int>(graph.points.size() / 2);
    in.numberofpointattributes = 2;
    in.segmentlist = graph.segments.data();
    in.segmentmarkerlist = graph.markers.data();
    in.numberofsegments = static_cast<int>(graph.markers.size());
    std::vector<char> switches(switch_text, switch_text + std::strlen(switch_text) + 1);
    long long output_points = 0;
    for (auto _ : state) {
        triangulateio out{};
        triangulate(switches.data(), &in, &out, nullptr);
        output_points += out.numberofpoints;
        benchmark::DoNotOptimize(out.trianglelist);
        tri::release_output(out);
    }
    if (triangulate_last_error() != TRIANGULATE_OK)
        state.SkipWithError("triangulate failed");
    state.SetItemsProcessed(state.iterations() * in.numberofpoints);
    state.counters["out_points_per_s"] =
        benchmark::Counter(static_cast<double>(output_points), benchmark::Counter::kIsRate);
    state.counters["added_points"] =
        static_cast<double>(output_points) / state.iterations() - in.numberofpoints;
}

void BM_OutlineAndPolyline(benchmark::State& state) {
    run(state, outline_and_polyline(static_cast<int>(state.range(0))),
        state.range(1) ? "zpq27Q" : "zpQ");
}

void BM_RandomGraph(benchmark::State& state) {
    run(state, random_graph(static_cast<int>(state.range(0))), state.range(1) ? "zpq27Q" : "zpQ");
}

BENCHMARK(BM_OutlineAndPolyline)
    ->ArgsProduct({{10, 100, 1000, 10000}, {0, 1}})
    ->ArgNames({"points", "q27"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomGraph)
    ->ArgsProduct({{10, 100, 1000, 10000}, {0, 1}})
    ->ArgNames({"points", "q27"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
