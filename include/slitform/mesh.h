// A polygon mesh as plain values: what a cut takes and gives.
#pragma once

#include <array>
#include <vector>

namespace slitform {

using Point = std::array<double, 3>;

struct Mesh {
    std::vector<Point> positions;
    // Each face's corners as indices into positions, counter-clockwise seen from
    // outside; at least 3, none repeated.
    std::vector<std::vector<int>> faces;
    // One material ID per face, from 0; empty means 0 for every face.
    std::vector<int> materials;
};

}  // namespace slitform
