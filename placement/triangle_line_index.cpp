#include "placement/triangle_line_index.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "facecut/parallel_for.h"
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
constexpr int kMaxLevels = 40;

double Dot(const double* a, const double* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// An upper bound of the Euclidean length.
double SizeBound(const Point3& p) {
    return std::fabs(static_cast<double>(p.x)) + std::fabs(static_cast<double>(p.y)) +
           std::fabs(static_cast<double>(p.z));
}

bool IsFinite(const Point3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The largest float not above x, and the smallest not below it.
float FloatBelow(double x) {
    float f = static_cast<float>(x);
    if (static_cast<double>(f) > x)
        f = std::nextafter(f, -INFINITY);
    return f;
}
float FloatAbove(double x) {
    float f = static_cast<float>(x);
    if (static_cast<double>(f) < x)
        f = std::nextafter(f, INFINITY);
    return f;
}

// Spreads the low 16 bits of x to the even bits.
std::uint32_t SpreadBits(std::uint32_t x) {
    x &= 0xFFFFu;
    x = (x | (x << 8)) & 0x00FF00FFu;
    x = (x | (x << 4)) & 0x0F0F0F0Fu;
    x = (x | (x << 2)) & 0x33333333u;
    x = (x | (x << 1)) & 0x55555555u;
    return x;
}

bool Stopped(const std::atomic<bool>* stop) {
    return stop && stop->load(std::memory_order_relaxed);
}

// Faces per block of the parallel pass, between looks at the stop flag: well under a
// millisecond of work.
constexpr int kFacesPerBlock = 1024;
// Items per block of the parallel keying and moving.
constexpr size_t kItemsPerBlock = 16384;

}  // namespace

TriangleLineIndex::TriangleLineIndex(const Mesh& mesh, const Point3& direction,
                                     const std::atomic<bool>* stop, int threads,
                                     const std::vector<Point3>* origins) {
    const double d[3] = {direction.x, direction.y, direction.z};
    const double length = std::sqrt(Dot(d, d));
    if (!IsFinite(direction) || !(length > 0.0) || !std::isfinite(length))
        return;
    const double unit[3] = {d[0] / length, d[1] / length, d[2] / length};

    // Two axes across the direction, built from the coordinate axis it is least
    // aligned with.
    int helper = 0;
    for (int k = 1; k < 3; ++k)
        if (std::fabs(unit[k]) < std::fabs(unit[helper]))
            helper = k;
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

    // Every query square lies inside the region: a box outside it meets none.
    Square region{INFINITY, INFINITY, -INFINITY, -INFINITY};
    if (origins)
        for (const Point3& origin : *origins) {
            Square square;
            if (!QuerySquare(origin, square))
                continue;
            region = {std::min(region.minX, square.minX), std::min(region.minY, square.minY),
                      std::max(region.maxX, square.maxX), std::max(region.maxY, square.maxY)};
        }
    if (!AddFaces(mesh, direction, stop, threads, origins ? &region : nullptr) ||
        !SortAlongCurve(stop, threads))
        return;
    BuildLevels();
    usable = !Stopped(stop);
}

bool TriangleLineIndex::AddFaces(const Mesh& mesh, const Point3& direction,
                                 const std::atomic<bool>* stop, int threads, const Square* region) {
    // Every face fills its own slot, on any thread, and the slots are then packed in
    // face order: the items are those of a single pass, with no second copy of them.
    const int faces = std::max(mesh.numFaces, 0);
    const int blocks = (faces + kFacesPerBlock - 1) / kFacesPerBlock;
    items.resize(static_cast<size_t>(faces));
    std::vector<std::vector<int>> blockAlwaysTested(static_cast<size_t>(blocks));
    ParallelFor(blocks, threads, [&](int block) {
        if (Stopped(stop))
            return;
        const int first = block * kFacesPerBlock;
        const int last = std::min(faces, first + kFacesPerBlock);
        for (int face = first; face < last; ++face) {
            Item& slot = items[static_cast<size_t>(face)];
            slot.face = -1;
            switch (PlaceFace(mesh, face, direction, slot.box)) {
                case Placement::kBoxed:
                    if (!region || Meets(slot.box, *region))
                        slot.face = face;
                    break;
                case Placement::kAlwaysTested:
                    blockAlwaysTested[static_cast<size_t>(block)].push_back(face);
                    break;
                case Placement::kNeverHit:
                    break;
            }
        }
    });
    if (Stopped(stop))
        return false;
    size_t kept = 0;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].face >= 0)
            items[kept++] = items[i];
    items.resize(kept);
    for (const std::vector<int>& block : blockAlwaysTested)
        alwaysTested.insert(alwaysTested.end(), block.begin(), block.end());
    return true;
}

TriangleLineIndex::Placement TriangleLineIndex::PlaceFace(const Mesh& mesh, int face,
                                                          const Point3& direction, Box& box) const {
    Point3 t0;
    Point3 t1;
    Point3 t2;
    if (!FaceCorners(mesh, face, t0, t1, t2))
        return Placement::kNeverHit;

    // The hit test's first two checks do not depend on the origin: a triangle they
    // reject is never hit. Same expressions, so the same float results.
    const Point3 e1 = t1 - t0;
    const Point3 e2 = t2 - t0;
    const Point3 n = e1 ^ e2;
    if (IsDegenerateTriangle(e1, e2, n) || RunsAlongPlane(n, direction))
        return Placement::kNeverHit;

    if (!IsFinite(t0) || !IsFinite(t1) || !IsFinite(t2))
        return Placement::kAlwaysTested;
    const double a[3] = {e1.x, e1.y, e1.z};
    const double b[3] = {e2.x, e2.y, e2.z};
    const double c[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                         a[0] * b[1] - a[1] * b[0]};
    const double aa = Dot(a, a);
    const double bb = Dot(b, b);
    const double squaredSine = Dot(c, c) / (aa * bb);
    if (!(squaredSine >= kMinSquaredSine))
        return Placement::kAlwaysTested;
    const double diameter = SizeBound(e1) + SizeBound(e2);
    const double size = std::max(SizeBound(t0), std::max(SizeBound(t1), SizeBound(t2)));
    const double pad =
        kCoordinateMargin * (size + diameter) + kShapeMargin * diameter / squaredSine;

    double x[3];
    double y[3];
    Project(t0, x[0], y[0]);
    Project(t1, x[1], y[1]);
    Project(t2, x[2], y[2]);
    box = {FloatBelow(std::min(x[0], std::min(x[1], x[2])) - pad),
           FloatBelow(std::min(y[0], std::min(y[1], y[2])) - pad),
           FloatAbove(std::max(x[0], std::max(x[1], x[2])) + pad),
           FloatAbove(std::max(y[0], std::max(y[1], y[2])) + pad)};
    if (!std::isfinite(box.minX) || !std::isfinite(box.minY) || !std::isfinite(box.maxX) ||
        !std::isfinite(box.maxY))
        return Placement::kAlwaysTested;
    return Placement::kBoxed;
}

bool TriangleLineIndex::SortAlongCurve(const std::atomic<bool>* stop, int threads) {
    if (items.size() < 2)
        return true;
    double minX = INFINITY;
    double minY = INFINITY;
    double maxX = -INFINITY;
    double maxY = -INFINITY;
    for (const Item& item : items) {
        const double cx = 0.5 * (static_cast<double>(item.box.minX) + item.box.maxX);
        const double cy = 0.5 * (static_cast<double>(item.box.minY) + item.box.maxY);
        minX = std::min(minX, cx);
        minY = std::min(minY, cy);
        maxX = std::max(maxX, cx);
        maxY = std::max(maxY, cy);
    }
    const double scaleX = maxX > minX ? 65535.0 / (maxX - minX) : 0.0;
    const double scaleY = maxY > minY ? 65535.0 / (maxY - minY) : 0.0;

    // Morton keys of the quantised box centres, then a stable radix sort by key.
    const size_t count = items.size();
    const int blocks = static_cast<int>((count + kItemsPerBlock - 1) / kItemsPerBlock);
    std::vector<std::uint64_t> keyed(count);
    ParallelFor(blocks, threads, [&](int block) {
        const size_t first = static_cast<size_t>(block) * kItemsPerBlock;
        const size_t last = std::min(count, first + kItemsPerBlock);
        for (size_t i = first; i < last; ++i) {
            const Box& box = items[i].box;
            const double cx = 0.5 * (static_cast<double>(box.minX) + box.maxX);
            const double cy = 0.5 * (static_cast<double>(box.minY) + box.maxY);
            const std::uint32_t qx = static_cast<std::uint32_t>((cx - minX) * scaleX);
            const std::uint32_t qy = static_cast<std::uint32_t>((cy - minY) * scaleY);
            const std::uint64_t key = SpreadBits(qx) | (SpreadBits(qy) << 1);
            keyed[i] = (key << 32) | static_cast<std::uint64_t>(i);
        }
    });
    std::vector<std::uint64_t> scratch(count);
    constexpr int kDigitBits = 11;
    constexpr std::uint64_t kDigitMask = (1u << kDigitBits) - 1;
    std::vector<size_t> start((1u << kDigitBits) + 1);
    for (int shift = 32; shift < 64; shift += kDigitBits) {
        std::fill(start.begin(), start.end(), 0);
        for (std::uint64_t k : keyed) ++start[((k >> shift) & kDigitMask) + 1];
        for (size_t digit = 1; digit < start.size(); ++digit) start[digit] += start[digit - 1];
        for (std::uint64_t k : keyed) scratch[start[(k >> shift) & kDigitMask]++] = k;
        keyed.swap(scratch);
        if (Stopped(stop))
            return false;
    }
    std::vector<Item> sorted(count);
    ParallelFor(blocks, threads, [&](int block) {
        const size_t first = static_cast<size_t>(block) * kItemsPerBlock;
        const size_t last = std::min(count, first + kItemsPerBlock);
        for (size_t i = first; i < last; ++i) sorted[i] = items[keyed[i] & 0xFFFFFFFFu];
    });
    items.swap(sorted);
    return true;
}

void TriangleLineIndex::BuildLevels() {
    if (items.empty())
        return;
    const size_t leaves = (items.size() + kLeafSize - 1) / kLeafSize;
    std::vector<Box> level(leaves);
    for (size_t leaf = 0; leaf < leaves; ++leaf) {
        const size_t first = leaf * kLeafSize;
        const size_t last = std::min(items.size(), first + kLeafSize);
        Box box = items[first].box;
        for (size_t i = first + 1; i < last; ++i) {
            box.minX = std::min(box.minX, items[i].box.minX);
            box.minY = std::min(box.minY, items[i].box.minY);
            box.maxX = std::max(box.maxX, items[i].box.maxX);
            box.maxY = std::max(box.maxY, items[i].box.maxY);
        }
        level[leaf] = box;
    }
    levels.push_back(std::move(level));
    while (levels.back().size() > 1) {
        const std::vector<Box>& below = levels.back();
        std::vector<Box> above((below.size() + 1) / 2);
        for (size_t i = 0; i < above.size(); ++i) {
            Box box = below[2 * i];
            if (2 * i + 1 < below.size()) {
                const Box& other = below[2 * i + 1];
                box.minX = std::min(box.minX, other.minX);
                box.minY = std::min(box.minY, other.minY);
                box.maxX = std::max(box.maxX, other.maxX);
                box.maxY = std::max(box.maxY, other.maxY);
            }
            above[i] = box;
        }
        levels.push_back(std::move(above));
    }
}

bool TriangleLineIndex::QuerySquare(const Point3& origin, Square& square) const {
    double x = 0.0;
    double y = 0.0;
    if (!IsFinite(origin) || !Project(origin, x, y))
        return false;
    const double reach = kCoordinateMargin * SizeBound(origin);
    square = {x - reach, y - reach, x + reach, y + reach};
    return true;
}

bool TriangleLineIndex::Candidates(const Point3& origin, std::vector<int>& faces) const {
    faces.clear();
    Square square;
    if (!usable || !QuerySquare(origin, square))
        return false;
    auto misses = [&](const Box& box) { return !Meets(box, square); };

    if (!levels.empty()) {
        // Depth-first walk; at most one pending sibling per level.
        struct Entry {
            int level;
            size_t index;
        };
        Entry stack[2 * kMaxLevels];
        int depth = 0;
        stack[depth++] = Entry{static_cast<int>(levels.size()) - 1, 0};
        while (depth > 0) {
            const Entry entry = stack[--depth];
            if (misses(levels[static_cast<size_t>(entry.level)][entry.index]))
                continue;
            if (entry.level == 0) {
                const size_t first = entry.index * kLeafSize;
                const size_t last = std::min(items.size(), first + kLeafSize);
                for (size_t i = first; i < last; ++i)
                    if (!misses(items[i].box))
                        faces.push_back(items[i].face);
                continue;
            }
            const std::vector<Box>& below = levels[static_cast<size_t>(entry.level) - 1];
            if (2 * entry.index + 1 < below.size())
                stack[depth++] = Entry{entry.level - 1, 2 * entry.index + 1};
            stack[depth++] = Entry{entry.level - 1, 2 * entry.index};
        }
    }
    // The always-tested faces are in ascending order already and never in a box.
    std::sort(faces.begin(), faces.end());
    const std::ptrdiff_t walked = static_cast<std::ptrdiff_t>(faces.size());
    faces.insert(faces.end(), alwaysTested.begin(), alwaysTested.end());
    std::inplace_merge(faces.begin(), faces.begin() + walked, faces.end());
    return true;
}
