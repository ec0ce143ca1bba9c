#include "app/cli/cut_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct View {
    Point3 right, up, along;
    float scale = 1.0f, offsetX = 0.0f, offsetY = 0.0f;
    float X(const Point3& p) const { return (p % right) * scale + offsetX; }
    float Y(const Point3& p) const { return -(p % up) * scale + offsetY; }
};

bool Finite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

std::string Colour(float r, float g, float b) {
    char text[16];
    auto c = [](float v) { return static_cast<int>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c(r), c(g), c(b));
    return text;
}

}  // namespace

std::string CutPictureSvg(const MNMesh& mesh, const PolyShape& shape, const Point3& direction) {
    const float width = 800.0f, margin = 20.0f;
    View view;
    view.along = Normalize(direction);
    if (view.along.Length() < 0.5f)
        view.along = Point3(0.0f, 0.0f, -1.0f);
    Point3 helper =
        std::fabs(view.along.y) < 0.9f ? Point3(0.0f, 1.0f, 0.0f) : Point3(1.0f, 0.0f, 0.0f);
    view.right = Normalize(helper ^ (-view.along));
    view.up = Normalize((-view.along) ^ view.right);

    float lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    for (int i = 0; i < mesh.numv; ++i) {
        const Point3& p = mesh.v[i].p;
        if (mesh.v[i].GetFlag(MN_DEAD) || !Finite(p))
            continue;
        lo[0] = std::min(lo[0], p % view.right);
        hi[0] = std::max(hi[0], p % view.right);
        lo[1] = std::min(lo[1], p % view.up);
        hi[1] = std::max(hi[1], p % view.up);
    }
    float spanX = hi[0] - lo[0], spanY = hi[1] - lo[1];
    if (!(spanX > 0.0f) && !(spanY > 0.0f)) {
        // Nothing to frame (no vertex, or a single point): a unit square around it.
        float cx = std::isfinite(lo[0]) ? lo[0] : 0.0f, cy = std::isfinite(lo[1]) ? lo[1] : 0.0f;
        lo[0] = cx - 0.5f;
        lo[1] = cy - 0.5f;
        hi[1] = cy + 0.5f;
        spanX = spanY = 1.0f;
    }
    float span = std::max(spanX, spanY);
    view.scale = (width - 2.0f * margin) / span;
    float height = std::max(spanY, 0.0f) * view.scale + 2.0f * margin;
    view.offsetX = margin - lo[0] * view.scale;
    view.offsetY = margin + hi[1] * view.scale;

    // Farthest faces first.
    std::vector<std::pair<float, int>> order;
    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        if (face.GetFlag(MN_DEAD))
            continue;
        float depth = 0.0f;
        bool finite = true;
        for (int c : face.vtx) {
            finite = finite && Finite(mesh.v[c].p);
            depth += mesh.v[c].p % view.along;
        }
        if (finite)
            order.emplace_back(depth / face.deg, f);
    }
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });

    std::string svg;
    char line[256];
    std::snprintf(
        line, sizeof line,
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
        "viewBox=\"0 0 %.0f %.0f\">\n<rect width=\"100%%\" height=\"100%%\" fill=\"#f4f4f0\"/>\n",
        width, height, width, height);
    svg += line;
    for (const auto& [depth, f] : order) {
        const MNFace& face = mesh.f[f];
        Point3 n = mesh.GetFaceNormal(f, true);
        float facing = -(n % view.along);
        float light = facing > 0.0f ? 0.35f + 0.6f * facing : 0.2f;
        std::string fill = face.GetFlag(MN_SEL)
                               ? Colour(light, 0.55f * light, 0.55f * light)
                               : Colour(0.75f * light, 0.8f * light, 0.85f * light);
        svg += "<polygon points=\"";
        for (int c : face.vtx) {
            std::snprintf(line, sizeof line, "%.2f,%.2f ", view.X(mesh.v[c].p),
                          view.Y(mesh.v[c].p));
            svg += line;
        }
        svg += "\" fill=\"" + fill + "\" stroke=\"" + fill + "\" stroke-width=\"0.6\"/>\n";
    }
    for (int e = 0; e < mesh.nume; ++e) {
        const MNEdge& edge = mesh.e[e];
        if (edge.GetFlag(MN_DEAD) || !edge.GetFlag(MN_SEL))
            continue;
        const Point3& a = mesh.v[edge.v1].p;
        const Point3& b = mesh.v[edge.v2].p;
        if (!Finite(a) || !Finite(b))
            continue;
        std::snprintf(line, sizeof line,
                      "<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\" stroke=\"#ff7a00\" "
                      "stroke-width=\"3\" stroke-linecap=\"round\"/>\n",
                      view.X(a), view.Y(a), view.X(b), view.Y(b));
        svg += line;
    }
    for (int i = 0; i < shape.numLines; ++i) {
        const PolyLine& pl = shape.lines[i];
        if (pl.numPts < 2)
            continue;
        svg += pl.IsClosed() ? "<polygon" : "<polyline";
        svg += " points=\"";
        for (int j = 0; j < pl.numPts; ++j) {
            if (!Finite(pl.pts[j].p))
                continue;
            std::snprintf(line, sizeof line, "%.2f,%.2f ", view.X(pl.pts[j].p),
                          view.Y(pl.pts[j].p));
            svg += line;
        }
        svg +=
            "\" fill=\"none\" stroke=\"#1f5fd0\" stroke-width=\"1\" stroke-dasharray=\"4 3\"/>\n";
    }
    svg += "</svg>\n";
    return svg;
}
