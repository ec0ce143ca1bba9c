// The one error type of the slitform library: every failure (bad input, a
// parameter unknown or out of range, a plug-in that cannot be loaded, a file that
// cannot be read or written, a cancelled cut) is thrown as it, with a one-line
// message saying what and where.
#pragma once

#include <stdexcept>

namespace slitform {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace slitform
