#include "check_input.h"

#include <cmath>

namespace tri {

namespace {

bool all_finite(const double* values, long long count) {
    for (long long i = 0; i < count; ++i) {
        if (!std::isfinite(values[i]))
            return false;
    }
    return true;
}

bool counts_valid(const triangulateio& in, const Switches& switches) {
    if (in.numberofpoints < 0 || in.numberofpointattributes < 0)
        return false;
    if (in.numberofpoints > 0 && in.pointlist == nullptr)
        return false;
    if (in.numberofpoints > 0 && in.numberofpointattributes > 0 &&
        in.pointattributelist == nullptr) {
        return false;
    }
    if (switches.planar_graph) {
        if (in.numberofsegments < 0 || in.numberofholes < 0)
            return false;
        if (in.numberofsegments > 0 && in.segmentlist == nullptr)
            return false;
        if (in.numberofholes > 0 && in.holelist == nullptr)
            return false;
    }
    return true;
}

bool segments_valid(const triangulateio& in, const Switches& switches) {
    const long long first = switches.zero_based ? 0 : 1;
    const long long last = first + in.numberofpoints - 1;
    const long long ends = 2LL * in.numberofsegments;
    for (long long i = 0; i < ends; ++i) {
        const long long point = in.segmentlist[i];
        if (point < first || point > last)
            return false;
    }
    return true;
}

}  // namespace

int check_input(const triangulateio* in, const Switches& switches) {
    if (in == nullptr || !counts_valid(*in, switches))
        return TRIANGULATE_BAD_RECORD;
    if (switches.planar_graph && !segments_valid(*in, switches))
        return TRIANGULATE_BAD_SEGMENT;
    if (!all_finite(in->pointlist, 2LL * in->numberofpoints))
        return TRIANGULATE_NOT_FINITE;
    if (switches.planar_graph && !all_finite(in->holelist, 2LL * in->numberofholes)) {
        return TRIANGULATE_NOT_FINITE;
    }
    if (in->numberofpoints < 3)
        return TRIANGULATE_TOO_FEW_POINTS;
    return TRIANGULATE_OK;
}

}  // namespace tri
