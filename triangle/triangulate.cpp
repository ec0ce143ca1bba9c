// The C entry points: triangulate and the queries about the calling thread's last call.

#include "check_input.h"
#include "constrained_mesh.h"
#include "planar_graph.h"
#include "prepare_planar_graph.h"
#include "read_planar_graph.h"
#include "switches.h"
#include "triangle.h"
#include "write_output.h"

namespace {

// Per thread, so that faces can be triangulated in parallel.
thread_local int last_error = TRIANGULATE_OK;
thread_local int last_refinement_limited = 0;

// Refinement may add this many points per input point, plus a fixed allowance; beyond
// that it is assumed not to end (tiny input angles, slivers).
constexpr long long kPointsPerInputPoint = 100;
constexpr long long kPointAllowance = 10000;
// Segments crossing each other more often than this are refused: every crossing adds
// points, triangles and time, and a scribble of a few thousand points crosses itself
// millions of times.
constexpr long long kMostCrossings = 100000;

int run(const char* switch_text, const triangulateio* in, triangulateio* out, bool& limited) {
    tri::Switches switches;
    if (!tri::parse_switches(switch_text, switches))
        return TRIANGULATE_BAD_SWITCHES;
    const int checked = tri::check_input(in, switches);
    if (checked != TRIANGULATE_OK)
        return checked;
    tri::PlanarGraph graph = tri::read_planar_graph(*in, switches);
    if (!tri::prepare_planar_graph(graph, kMostCrossings))
        return TRIANGULATE_TOO_MANY_CROSSINGS;
    tri::MeshResult mesh;
    const long long point_limit = kPointsPerInputPoint * in->numberofpoints + kPointAllowance;
    const int meshed = tri::mesh_planar_graph(graph, switches, point_limit, mesh);
    if (meshed != TRIANGULATE_OK)
        return meshed;
    if (!tri::write_output(*in, graph, mesh, switches.zero_based ? 0 : 1, out)) {
        return TRIANGULATE_INTERNAL;
    }
    limited = mesh.refinement_limited;
    return TRIANGULATE_OK;
}

}  // namespace

extern "C" {

void triangulate(char* switches, triangulateio* in, triangulateio* out, triangulateio*) {
    last_refinement_limited = 0;
    if (out == nullptr) {
        last_error = TRIANGULATE_BAD_RECORD;
        return;
    }
    bool limited = false;
    int code = TRIANGULATE_INTERNAL;
    try {
        code = run(switches, in, out, limited);
    } catch (...) {
        code = TRIANGULATE_INTERNAL;
    }
    if (code != TRIANGULATE_OK)
        tri::write_empty_output(in, out);
    last_error = code;
    last_refinement_limited = limited ? 1 : 0;
}

int triangulate_last_error(void) {
    return last_error;
}

const char* triangulate_last_error_message(void) {
    switch (last_error) {
        case TRIANGULATE_OK:
            return "no error";
        case TRIANGULATE_BAD_SWITCHES:
            return "unknown switch or malformed angle";
        case TRIANGULATE_BAD_RECORD:
            return "missing record, array or negative count";
        case TRIANGULATE_BAD_SEGMENT:
            return "a segment names a point that does not exist";
        case TRIANGULATE_NOT_FINITE:
            return "a coordinate is not a finite number";
        case TRIANGULATE_TOO_FEW_POINTS:
            return "fewer than three points";
        case TRIANGULATE_COLLINEAR:
            return "all points lie on one line";
        case TRIANGULATE_TOO_MANY_CROSSINGS:
            return "the segments cross each other more than 100000 times";
        default:
            return "internal failure";
    }
}

int triangulate_refinement_limited(void) {
    return last_refinement_limited;
}

}  // extern "C"
