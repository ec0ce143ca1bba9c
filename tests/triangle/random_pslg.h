// Seeded random planar straight-line graphs for the randomised tests.
#ifndef SLITFORM_TESTS_TRIANGLE_RANDOM_PSLG_H
#define SLITFORM_TESTS_TRIANGLE_RANDOM_PSLG_H

#include <random>

#include "pslg.h"

namespace tri_test {

// Attribute 0 of the random graphs' points: an affine function of the position, which
// any linear interpolation must reproduce.
constexpr double kAffineX = 2.0;
constexpr double kAffineY = -3.0;
constexpr double kAffineConstant = 0.5;

// A graph of up to max_points points in the unit square, some on a coarse grid (so that
// duplicates, collinear points, overlapping and touching segments occur), joined by
// random segments and a closed polygon or two. Attribute 0 is the affine function above,
// attribute 1 random per point. Markers are 2 to 4.
Pslg random_pslg(std::mt19937& random, int max_points);

}  // namespace tri_test

#endif
