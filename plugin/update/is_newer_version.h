// Comparison of dot-separated version numbers.
#pragma once

#include <string>

// Whether candidate is a later version than installed. Empty parts are
// dropped, the shorter list is padded with zeros, and a part that is not a
// number counts as 0: 2.0.10 is newer than 2.0.1.3, 2.0.1.3.1 too, but not
// 2..0.1.3 or 2.0.x.5.
bool IsNewerVersion(const std::string& installed, const std::string& candidate);
