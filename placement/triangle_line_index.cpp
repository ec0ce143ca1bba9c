#include "placement/triangle_line_index.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "placement/intersect_ray_triangle.h"
#include "placement/nearest_surface_hit.h"

namespace {

// The hit test runs in float: a hit it accepts may lie off the exact line and off
// the exact triangle by rounding. The boxes and the query square are padded by
// generous multiples of bounds on that rounding (a few float epsilons of the
// coordinates' size; for the barycentric test, of the triangle's size over the
// squared sine of its angle at corner 0).
constexpr double kCoordinateMargin = 256.0 * FLT_EPSILON;
constexpr double kShapeMargin = 4096.0 * FLT_EPSILON;
// Below this squared sine the barycentric test's rounding is not bounded well
// enough; such triangles are tested for every line.
constexpr double kMinSquaredSine = 1.0e-3;
constexpr int kLeafSize = 4;
constexpr int kMaxDepth = 64;

double Dot(const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

double Norm(const Point3& p) {
    const double x = p.x;
    const double y = p.y;
    const double z = p.z;
    return std::sqrt(x * x + y * y + z * z);
}

bool IsFinite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The largest float not above x, and the smallest not below it.
float FloatBelow(double x) {
    float f = static_cast<float>(x);
    if (static_cast<double>(f) > x) f = std::nextafter(f, -INFINITY);
    return f;
}
float FloatAbove(double x) {
    float f = static_cast<float>(x);
    if (static_cast<double>(f) < x) f = std::nextafter(f, INFINITY);
    return f;
}

}  // namespace

TriangleLineIndex::TriangleLineIndex(const Mesh& mesh, const Point3& direction) {
    const double d[3] = {direction.x, direction.y, direction.z};
    const double length = std::sqrt(Dot(d, d));
    if (!IsFinite(direction) || !(length > 0.0) || !std::isfinite(length)) return;
    const double unit[3] = {d[0] / length, d[1] / length, d[2] / length};

    // Two axes across the direction, built from the coordinate axis it is least
    // aligned with.
    int helper = 0;
    for (int k = 1; k < 3; ++k)
        if (std::fabs(unit[k]) < std::fabs(unit[helper])) helper = k;
    double h[3] = {0.0, 0.0, 0.0};
    h[helper] = 1.0;
    double u[3] = {unit[1] * h[2] - unit[2] * h[1], unit[2] * h[0] - unit[0] * h[2],
                   unit[0] * h[1] - unit[1] * h[0]};
    const double uLength = std::sqrt(Dot(u, u));
    for (double& c : u) c /= uLength;
    const double w[3] = {unit[1] * u[2] - unit[2] * u[1], unit[2] * u[0] - unit[0] * u[2],
                         unit[0] * u[1] - unit[1] * u[0]};
    std::copy(u, u + 3, axisU);
    std::copy(w, w + 3, axisW);
    usable = true;

    items.reserve(static_cast<size_t>(std::max(mesh.numFaces, 0)));
    for (int face = 0; face < mesh.numFaces; ++face) AddFace(mesh, face, direction);
    if (!items.empty()) {
        nodes.reserve(2 * items.size() / kLeafSize + 1);
        BuildNode(0, static_cast<int>(items.size()));
    }
}

bool TriangleLineIndex::Project(const Point3& p, double& x, double& y) const {
    const double q[3] = {p.x, p.y, p.z};
    x = Dot(q, axisU);
    y = Dot(q, axisW);
    return std::isfinite(x) && std::isfinite(y);
}

void TriangleLineIndex::AddFace(const Mesh& mesh, int face, const Point3& direction) {
    Point3 t0;
    Point3 t1;
    Point3 t2;
    if (!FaceCorners(mesh, face, t0, t1, t2)) return;

    // The hit test's first two checks do not depend on the origin: a triangle they
    // reject is never hit. Same expressions, so the same float results.
    const Point3 e1 = t1 - t0;
    const Point3 e2 = t2 - t0;
    const Point3 n = e1 ^ e2;
    if (!(Length(n) >= kMinTriangleNormalLength)) return;
    if (!(std::fabs(n % direction) >= kMinNormalAlongRay)) return;

    if (!IsFinite(t0) || !IsFinite(t1) || !IsFinite(t2)) {
        alwaysTested.push_back(face);
        return;
    }
    const double a[3] = {e1.x, e1.y, e1.z};
    const double b[3] = {e2.x, e2.y, e2.z};
    const double c[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                         a[0] * b[1] - a[1] * b[0]};
    const double aa = Dot(a, a);
    const double bb = Dot(b, b);
    const double squaredSine = Dot(c, c) / (aa * bb);
    if (!(squaredSine >= kMinSquaredSine)) {
        alwaysTested.push_back(face);
        return;
    }
    const double diameter = std::max(std::sqrt(std::max(aa, bb)), Norm(t2 - t1));
    const double size = std::max(Norm(t0), std::max(Norm(t1), Norm(t2)));
    const double pad =
        kCoordinateMargin * (size + diameter) + kShapeMargin * diameter / squaredSine;

    double minX = INFINITY;
    double minY = INFINITY;
    double maxX = -INFINITY;
    double maxY = -INFINITY;
    for (const Point3* corner : {&t0, &t1, &t2}) {
        double x = 0.0;
        double y = 0.0;
        Project(*corner, x, y);
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    }
    const Box box = {FloatBelow(minX - pad), FloatBelow(minY - pad), FloatAbove(maxX + pad),
                     FloatAbove(maxY + pad)};
    if (!std::isfinite(box.minX) || !std::isfinite(box.minY) || !std::isfinite(box.maxX) ||
        !std::isfinite(box.maxY)) {
        alwaysTested.push_back(face);
        return;
    }
    const float centerX = static_cast<float>((static_cast<double>(box.minX) + box.maxX) * 0.5);
    const float centerY = static_cast<float>((static_cast<double>(box.minY) + box.maxY) * 0.5);
    items.push_back(Item{box, centerX, centerY, face});
}

int TriangleLineIndex::BuildNode(int first, int count) {
    const int index = static_cast<int>(nodes.size());
    nodes.push_back(Node{Box{0.0f, 0.0f, 0.0f, 0.0f}, first, 0, -1});

    Box box = items[first].box;
    float centerMinX = items[first].centerX;
    float centerMinY = items[first].centerY;
    float centerMaxX = centerMinX;
    float centerMaxY = centerMinY;
    for (int i = first + 1; i < first + count; ++i) {
        const Item& item = items[i];
        box.minX = std::min(box.minX, item.box.minX);
        box.minY = std::min(box.minY, item.box.minY);
        box.maxX = std::max(box.maxX, item.box.maxX);
        box.maxY = std::max(box.maxY, item.box.maxY);
        centerMinX = std::min(centerMinX, item.centerX);
        centerMinY = std::min(centerMinY, item.centerY);
        centerMaxX = std::max(centerMaxX, item.centerX);
        centerMaxY = std::max(centerMaxY, item.centerY);
    }
    nodes[index].box = box;
    if (count <= kLeafSize) {
        nodes[index].count = count;
        return index;
    }

    // Median split along the wider spread of the box centres keeps the tree balanced.
    const bool alongX = (centerMaxX - centerMinX) >= (centerMaxY - centerMinY);
    const int half = count / 2;
    std::nth_element(items.begin() + first, items.begin() + first + half,
                     items.begin() + first + count, [alongX](const Item& l, const Item& r) {
                         return alongX ? l.centerX < r.centerX : l.centerY < r.centerY;
                     });
    BuildNode(first, half);
    const int right = BuildNode(first + half, count - half);
    nodes[index].right = right;
    return index;
}

bool TriangleLineIndex::Candidates(const Point3& origin, std::vector<int>& faces) const {
    faces.clear();
    double x = 0.0;
    double y = 0.0;
    if (!usable || !IsFinite(origin) || !Project(origin, x, y)) return false;
    const double reach = kCoordinateMargin * Norm(origin);
    const double minX = x - reach;
    const double minY = y - reach;
    const double maxX = x + reach;
    const double maxY = y + reach;

    if (!nodes.empty()) {
        int stack[kMaxDepth];
        int depth = 0;
        stack[depth++] = 0;
        while (depth > 0) {
            const Node& node = nodes[stack[--depth]];
            if (node.box.maxX < minX || node.box.minX > maxX || node.box.maxY < minY ||
                node.box.minY > maxY)
                continue;
            if (node.count > 0) {
                for (int i = node.first; i < node.first + node.count; ++i) {
                    const Box& box = items[i].box;
                    if (box.maxX < minX || box.minX > maxX || box.maxY < minY || box.minY > maxY)
                        continue;
                    faces.push_back(items[i].face);
                }
                continue;
            }
            const int left = static_cast<int>(&node - nodes.data()) + 1;
            stack[depth++] = node.right;
            stack[depth++] = left;
        }
    }
    faces.insert(faces.end(), alwaysTested.begin(), alwaysTested.end());
    std::sort(faces.begin(), faces.end());
    return true;
}
