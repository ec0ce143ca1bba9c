#include "write_output.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tri {

namespace {

// malloc for count values; null for none. Sets ok to false when malloc fails.
template <class T>
T* allocate(std::size_t count, bool& ok) {
    if (count == 0)
        return nullptr;
    T* values = static_cast<T*>(std::malloc(count * sizeof(T)));
    if (values == nullptr)
        ok = false;
    return values;
}

template <class T>
void copy_values(T* target, const T* source, std::size_t count) {
    if (count > 0)
        std::memcpy(target, source, count * sizeof(T));
}

}  // namespace

void release_output(triangulateio& out) {
    std::free(out.pointlist);
    std::free(out.pointattributelist);
    std::free(out.pointmarkerlist);
    std::free(out.trianglelist);
    std::free(out.segmentlist);
    std::free(out.segmentmarkerlist);
}

void write_empty_output(const triangulateio* in, triangulateio* out) {
    *out = triangulateio{};
    out->numberofcorners = 3;
    if (in == nullptr)
        return;
    out->numberofpointattributes =
        in->numberofpointattributes > 0 ? in->numberofpointattributes : 0;
    out->holelist = in->holelist;
    out->numberofholes = in->numberofholes;
    out->regionlist = in->regionlist;
    out->numberofregions = in->numberofregions;
}

bool write_output(const triangulateio& in, const PlanarGraph& graph, const MeshResult& mesh,
                  int base, triangulateio* out) {
    const int inputs = graph.input_points;
    std::vector<int> number(graph.point_count(), -1);
    for (int p = 0; p < inputs; ++p) number[p] = p;
    std::vector<char> used(graph.point_count(), 0);
    for (const int p : mesh.triangles) used[p] = 1;
    int count = inputs;
    for (int p = inputs; p < graph.point_count(); ++p) {
        if (used[p])
            number[p] = count++;
    }

    const std::size_t points = static_cast<std::size_t>(count);
    const std::size_t attributes = static_cast<std::size_t>(graph.attribute_count);
    const std::size_t triangles = mesh.triangles.size() / 3;
    const std::size_t segments = mesh.segment_markers.size();
    write_empty_output(&in, out);
    bool ok = true;
    out->pointlist = allocate<double>(2 * points, ok);
    out->pointattributelist = allocate<double>(attributes * points, ok);
    out->pointmarkerlist = allocate<int>(points, ok);
    out->trianglelist = allocate<int>(3 * triangles, ok);
    out->segmentlist = allocate<int>(2 * segments, ok);
    out->segmentmarkerlist = allocate<int>(segments, ok);
    if (!ok) {
        release_output(*out);
        write_empty_output(&in, out);
        return false;
    }

    const std::size_t kept_inputs = static_cast<std::size_t>(inputs);
    copy_values(out->pointlist, in.pointlist, 2 * kept_inputs);
    copy_values(out->pointattributelist, in.pointattributelist, attributes * kept_inputs);
    for (std::size_t p = 0; p < kept_inputs; ++p) {
        out->pointmarkerlist[p] = in.pointmarkerlist != nullptr ? in.pointmarkerlist[p] : 0;
    }
    for (int p = inputs; p < graph.point_count(); ++p) {
        if (number[p] < 0)
            continue;
        const std::size_t q = static_cast<std::size_t>(number[p]);
        out->pointlist[2 * q] = std::ldexp(graph.xy[2 * p], graph.exponent);
        out->pointlist[2 * q + 1] = std::ldexp(graph.xy[2 * p + 1], graph.exponent);
        if (attributes > 0) {
            copy_values(out->pointattributelist + attributes * q,
                        graph.attributes.data() + attributes * static_cast<std::size_t>(p),
                        attributes);
        }
        out->pointmarkerlist[q] = graph.markers[p];
    }
    for (std::size_t i = 0; i < 3 * triangles; ++i)
        out->trianglelist[i] = number[mesh.triangles[i]] + base;
    for (std::size_t i = 0; i < 2 * segments; ++i)
        out->segmentlist[i] = number[mesh.segments[i]] + base;
    copy_values(out->segmentmarkerlist, mesh.segment_markers.data(), segments);

    out->numberofpoints = count;
    out->numberofpointattributes = graph.attribute_count;
    out->numberoftriangles = static_cast<int>(triangles);
    out->numberofsegments = static_cast<int>(segments);
    return true;
}

}  // namespace tri
