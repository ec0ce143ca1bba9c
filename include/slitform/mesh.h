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
    // Optional per face corner: one value per corner of every face, in the order of
    // faces, or empty for none. A texture coordinate is (u, v, w). A cut gives every
    // new corner the value interpolated at its place in the face it came from.
    std::vector<std::vector<Point>> uvs;
    std::vector<std::vector<Point>> normals;
};

}  // namespace slitform
