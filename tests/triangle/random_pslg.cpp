#include "random_pslg.h"

#include <algorithm>
#include <vector>

namespace tri_test {

namespace {

double coordinate(std::mt19937& random, bool on_grid) {
    if (on_grid)
        return std::uniform_int_distribution<int>(0, 8)(random) / 8.0;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random);
}

}  // namespace

Pslg random_pslg(std::mt19937& random, int max_points) {
    Pslg pslg;
    const int count = std::uniform_int_distribution<int>(3, max_points)(random);
    const bool grid = std::uniform_int_distribution<int>(0, 2)(random) == 0;
    for (int i = 0; i < count; ++i) {
        const double x = coordinate(random, grid);
        const double y = coordinate(random, grid);
        const double tag = std::uniform_real_distribution<double>(-5.0, 5.0)(random);
        pslg.add_point(x, y, {kAffineX * x + kAffineY * y + kAffineConstant, tag});
    }
    std::uniform_int_distribution<int> any_point(0, count - 1);
    std::uniform_int_distribution<int> any_marker(2, 4);
    const int polygons = std::uniform_int_distribution<int>(0, 2)(random);
    for (int k = 0; k < polygons; ++k) {
        std::vector<int> corners;
        const int size = std::uniform_int_distribution<int>(3, std::max(3, count))(random);
        for (int j = 0; j < size; ++j) corners.push_back(any_point(random));
        pslg.add_polyline(corners, true, any_marker(random));
    }
    const int loose = std::uniform_int_distribution<int>(1, count)(random);
    for (int k = 0; k < loose; ++k)
        pslg.add_segment(any_point(random), any_point(random), any_marker(random));
    return pslg;
}

}  // namespace tri_test
