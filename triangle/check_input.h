// Validation of a triangulate call's input record.
#ifndef SLITFORM_TRIANGLE_CHECK_INPUT_H
#define SLITFORM_TRIANGLE_CHECK_INPUT_H

#include "switches.h"
#include "triangle.h"

namespace tri {

// Takes the input record and the parsed switches; gives TRIANGULATE_OK when the record
// can be triangulated, otherwise the failure code (missing arrays, negative counts,
// a segment naming a point that does not exist, a coordinate that is not finite, fewer
// than three points). Collinear input is found later, by the triangulation.
int check_input(const triangulateio* in, const Switches& switches);

}  // namespace tri

#endif
