// The peer benchmark: whole evaluations of the loaded plug-in on a grid of UV spheres
// (2k to 1M faces) cut through by a star, a circle and an open zig-zag, against CGAL's
// corefinement of the same sphere with the shape's wall, in the same run. Each figure
// is taken in a child process of its own, so that its peak memory is its own.
//
// Usage: peer_grid [MAX_FACES] [REPEATS] [PLUGIN]
// (default 1000000, 3 and the plug-in built beside it; the median is shown). Another
// PLUGIN file, an earlier build say, is timed in place of the built one.
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/triangulate_faces.h>
#include <CGAL/Surface_mesh.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "session/cut_session.h"
#include "splshape.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Xyz {
    double x, y, z;
};

// A UV sphere of radius 1 with about `faces` faces: quads, triangles at the poles.
void SphereOf(int faces, std::vector<Xyz>& points, std::vector<std::vector<int>>& polygons) {
    int rings = std::max(4, static_cast<int>(std::sqrt(faces / 2.0)));
    int segments = 2 * rings;
    points.push_back({0, 0, 1});
    for (int r = 1; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            double theta = kPi * r / rings, phi = 2.0 * kPi * s / segments;
            points.push_back({std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                              std::cos(theta)});
        }
    points.push_back({0, 0, -1});
    int bottom = static_cast<int>(points.size()) - 1;
    auto at = [&](int r, int s) { return 1 + (r - 1) * segments + (s % segments); };
    for (int s = 0; s < segments; ++s) polygons.push_back({0, at(1, s), at(1, s + 1)});
    for (int r = 1; r < rings - 1; ++r)
        for (int s = 0; s < segments; ++s)
            polygons.push_back({at(r, s), at(r + 1, s), at(r + 1, s + 1), at(r, s + 1)});
    for (int s = 0; s < segments; ++s)
        polygons.push_back({bottom, at(rings - 1, s + 1), at(rings - 1, s)});
}

// The shapes, 0.7 of the sphere's radius: a 10-point star, a 1,000-point circle
// (closed) and a 50-point zig-zag (open).
std::vector<Xyz> ShapeOf(const std::string& kind, bool& closed) {
    std::vector<Xyz> points;
    closed = kind != "zigzag";
    if (kind == "star")
        for (int i = 0; i < 10; ++i) {
            double r = i % 2 == 0 ? 0.7 : 0.28, a = 2.0 * kPi * i / 10;
            points.push_back({r * std::cos(a), r * std::sin(a), 0});
        }
    else if (kind == "circle")
        for (int i = 0; i < 1000; ++i) {
            double a = 2.0 * kPi * i / 1000;
            points.push_back({0.7 * std::cos(a), 0.7 * std::sin(a), 0});
        }
    else
        for (int i = 0; i < 50; ++i)
            points.push_back({-0.7 + 1.4 * i / 49, i % 2 ? 0.21 : -0.21, 0});
    return points;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The evaluation through the plug-in, through on and every other parameter at its
// default, the shape 3 units above the sphere.
double SlitformSeconds(const std::string& plugin, int faces, const std::string& kind) {
    std::string error;
    std::unique_ptr<CutSession> session = CutSession::Open(plugin, error);
    if (!session) {
        std::fprintf(stderr, "peer_grid: %s\n", error.c_str());
        std::exit(1);
    }
    auto* sphere = new PolyObject();
    {
        // Only the object stays: a host holds no generator's arrays while it evaluates.
        std::vector<Xyz> points;
        std::vector<std::vector<int>> polygons;
        SphereOf(faces, points, polygons);
        for (const Xyz& p : points)
            sphere->mm.NewVert(
                Point3(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z)));
        for (const std::vector<int>& polygon : polygons)
            sphere->mm.CreateFace(static_cast<int>(polygon.size()), polygon.data());
    }
    bool closed = false;
    BezierShape shape;
    Spline3D spline;
    for (const Xyz& p : ShapeOf(kind, closed)) {
        Point3 q(static_cast<float>(p.x), static_cast<float>(p.y), 0.0f);
        spline.AddKnot(SplineKnot(q, q, q));
    }
    spline.closed = closed;
    shape.splines.push_back(spline);
    session->SetObject(sphere, L"sphere");
    session->SetPlacedShape(shape, TransMatrix(Point3(0, 0, 3)));
    session->PickShape();
    if (!session->SetParameter("through", "on", error)) {
        std::fprintf(stderr, "peer_grid: %s\n", error.c_str());
        std::exit(1);
    }
    return session->Evaluate(CutProgress(), false).seconds;
}

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using SurfaceMesh = CGAL::Surface_mesh<Kernel::Point_3>;

// CGAL's corefinement of the triangulated sphere with the shape's wall, a band of
// triangles from z = 2 down to z = -2 along every segment of the shape.
double CgalSeconds(int faces, const std::string& kind) {
    SurfaceMesh sphere;
    {
        // As for the plug-in, only the mesh stays while it is corefined.
        std::vector<Xyz> points;
        std::vector<std::vector<int>> polygons;
        SphereOf(faces, points, polygons);
        std::vector<SurfaceMesh::Vertex_index> vertex;
        for (const Xyz& p : points)
            vertex.push_back(sphere.add_vertex(Kernel::Point_3(p.x, p.y, p.z)));
        for (const std::vector<int>& polygon : polygons) {
            std::vector<SurfaceMesh::Vertex_index> corners;
            for (int i : polygon) corners.push_back(vertex[i]);
            sphere.add_face(corners);
        }
    }
    CGAL::Polygon_mesh_processing::triangulate_faces(sphere);
    bool closed = false;
    std::vector<Xyz> outline = ShapeOf(kind, closed);
    SurfaceMesh wall;
    std::vector<SurfaceMesh::Vertex_index> top, low;
    for (const Xyz& p : outline) {
        top.push_back(wall.add_vertex(Kernel::Point_3(p.x, p.y, 2.0)));
        low.push_back(wall.add_vertex(Kernel::Point_3(p.x, p.y, -2.0)));
    }
    size_t n = outline.size(), segments = closed ? n : n - 1;
    for (size_t i = 0; i < segments; ++i) {
        size_t j = (i + 1) % n;
        wall.add_face(top[i], low[i], low[j]);
        wall.add_face(top[i], low[j], top[j]);
    }
    auto start = std::chrono::steady_clock::now();
    CGAL::Polygon_mesh_processing::corefine(sphere, wall);
    return Seconds(start);
}

struct Figure {
    double seconds = 0.0;
    double megabytes = 0.0;
};

// Runs one measurement in a child process; its time comes back through a pipe, its
// peak resident memory from the kernel.
template <class Measure>
Figure InChild(const Measure& measure, const char* threads) {
    int channel[2];
    if (pipe(channel) != 0)
        std::exit(1);
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (threads)
            setenv("SLITFORM_THREADS", threads, 1);
        double seconds = measure();
        ssize_t written = write(channel[1], &seconds, sizeof seconds);
        _exit(written == sizeof seconds ? 0 : 1);
    }
    close(channel[1]);
    Figure figure;
    if (read(channel[0], &figure.seconds, sizeof figure.seconds) != sizeof figure.seconds)
        figure.seconds = NAN;
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    figure.megabytes = usage.ru_maxrss / 1024.0;
    return figure;
}

Figure Median(std::vector<Figure> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Figure& a, const Figure& b) { return a.seconds < b.seconds; });
    return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int maxFaces = argc > 1 ? std::atoi(argv[1]) : 1000000;
    int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::string plugin = argc > 3 ? argv[3] : SLITFORM_PLUGIN_FILE;
    std::printf("%-18s %10s %10s %10s %8s %8s %10s %10s\n", "faces x shape", "slitform", "1 thread",
                "corefine", "ratio", "1t/Nt", "MB slit", "MB cgal");
    for (int faces : {2000, 20000, 200000, 1000000}) {
        if (faces > maxFaces)
            break;
        for (const char* kind : {"star", "circle", "zigzag"}) {
            std::vector<Figure> slit, single, cgal;
            // Interleaved, so that a slow spell of the machine hits all three alike.
            for (int r = 0; r < repeats; ++r) {
                slit.push_back(
                    InChild([&] { return SlitformSeconds(plugin, faces, kind); }, nullptr));
                single.push_back(
                    InChild([&] { return SlitformSeconds(plugin, faces, kind); }, "1"));
                cgal.push_back(InChild([&] { return CgalSeconds(faces, kind); }, nullptr));
            }
            Figure s = Median(slit), one = Median(single), c = Median(cgal);
            char label[32];
            std::snprintf(label, sizeof label, "%dk x %s", faces / 1000, kind);
            std::printf("%-18s %9.3fs %9.3fs %9.3fs %8.2f %8.2f %10.1f %10.1f\n", label, s.seconds,
                        one.seconds, c.seconds, s.seconds / c.seconds, one.seconds / s.seconds,
                        s.megabytes, c.megabytes);
            std::fflush(stdout);
        }
    }
    return 0;
}
