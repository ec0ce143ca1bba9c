// Narrowing file numbers to the host's single precision.
#pragma once

#include <cmath>

// Sets out to value rounded to float; false when value is not a number, infinite,
// or rounds beyond the largest float.
inline bool ToFiniteFloat(double value, float& out) {
    // Doubles below 2^128 - 2^103 round to at most the largest float.
    const double limit = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
    if (!(std::fabs(value) < limit))
        return false;
    out = static_cast<float>(value);
    return true;
}
