#include "pslg.h"

#include <cstdlib>

namespace tri_test {

int Pslg::add_point(double x, double y, std::vector<double> values) {
    points.push_back(x);
    points.push_back(y);
    values.resize(static_cast<std::size_t>(attribute_count), 0.0);
    attributes.insert(attributes.end(), values.begin(), values.end());
    return point_count() - 1;
}

void Pslg::add_segment(int a, int b, int marker) {
    segments.push_back(a);
    segments.push_back(b);
    markers.push_back(marker);
}

void Pslg::add_polyline(const std::vector<int>& corners, bool closed, int marker) {
    for (std::size_t i = 0; i + 1 < corners.size(); ++i)
        add_segment(corners[i], corners[i + 1], marker);
    if (closed && corners.size() > 2)
        add_segment(corners.back(), corners.front(), marker);
}

Triangulated::~Triangulated() {
    std::free(out.pointlist);
    std::free(out.pointattributelist);
    std::free(out.pointmarkerlist);
    std::free(out.trianglelist);
    std::free(out.triangleattributelist);
    std::free(out.neighborlist);
    std::free(out.segmentlist);
    std::free(out.segmentmarkerlist);
    std::free(out.edgelist);
    std::free(out.edgemarkerlist);
}

InputRecord::InputRecord(Pslg& pslg, int base) : segments(pslg.segments) {
    for (int& point : segments) point += base;
    in.pointlist = pslg.points.empty() ? nullptr : pslg.points.data();
    in.numberofpoints = pslg.point_count();
    in.numberofpointattributes = pslg.attribute_count;
    in.pointattributelist = pslg.attributes.empty() ? nullptr : pslg.attributes.data();
    in.segmentlist = segments.empty() ? nullptr : segments.data();
    in.segmentmarkerlist = pslg.markers.empty() ? nullptr : pslg.markers.data();
    in.numberofsegments = pslg.segment_count();
    in.holelist = pslg.holes.empty() ? nullptr : pslg.holes.data();
    in.numberofholes = static_cast<int>(pslg.holes.size() / 2);
    in.numberofcorners = 3;
}

void run_triangulate(Pslg& pslg, const std::string& switches, Triangulated& result) {
    const int base = switches.find('z') != std::string::npos ? 0 : 1;
    InputRecord record(pslg, base);
    std::string text = switches;
    triangulate(&text[0], &record.in, &result.out, nullptr);
    result.error = triangulate_last_error();
    result.limited = triangulate_refinement_limited();
}

}  // namespace tri_test
