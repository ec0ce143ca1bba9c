#include "placement/jacobi_eigen_solve.h"

#include <cmath>
#include <vector>

namespace {

// One Jacobi rotation of the pair (x, y) with sine s and tau = s / (1 + cos).
void Rotate(float& x, float& y, float s, float tau) {
    const float g = x;
    const float h = y;
    x = g - (tau * g + h) * s;
    y = (g - tau * h) * s + h;
}

}  // namespace

void JacobiEigenSolve(float* const* a, int n, float* d, float* const* v) {
    if (n <= 0)
        return;
    const size_t count = static_cast<size_t>(n);
    std::vector<float> b(count);
    std::vector<float> z(count, 0.0f);
    for (int p = 0; p < n; ++p) {
        for (int q = 0; q < n; ++q) v[p][q] = (p == q) ? 1.0f : 0.0f;
        b[p] = a[p][p];
        d[p] = a[p][p];
    }

    for (int sweep = 1; sweep < 50; ++sweep) {
        float sm = 0.0f;
        for (int p = 0; p < n - 1; ++p)
            for (int q = p + 1; q < n; ++q) sm += std::fabs(a[p][q]);
        if (sm == 0.0f || std::isnan(sm))
            return;

        float tresh = 0.0f;
        if (sweep < 4) {
            tresh = static_cast<float>(static_cast<double>(sm) / static_cast<double>(n * n) * 0.2);
        }

        for (int p = 0; p < n - 1; ++p) {
            for (int q = p + 1; q < n; ++q) {
                const float g = 1.0e12f * std::fabs(a[p][q]);
                if (sweep > 4 && std::fabs(d[p]) > g && std::fabs(d[q]) > g) {
                    a[p][q] = 0.0f;
                    continue;
                }
                if (!(std::fabs(a[p][q]) > tresh))
                    continue;

                const float diff = d[q] - d[p];
                const float theta = 0.5f * diff / a[p][q];
                // No shortcut for a huge theta: theta * theta overflowing gives t = 0.
                const float thetaSquaredPlusOne = theta * theta + 1.0f;
                float t =
                    static_cast<float>(1.0 / (std::sqrt(static_cast<double>(thetaSquaredPlusOne)) +
                                              std::fabs(static_cast<double>(theta))));
                if (!(theta >= 0.0f))
                    t = -t;
                const float tSquaredPlusOne = t * t + 1.0f;
                const float c =
                    static_cast<float>(1.0 / std::sqrt(static_cast<double>(tSquaredPlusOne)));
                const float s = t * c;
                const float tau = s / (1.0f + c);
                const float h = t * a[p][q];
                z[p] -= h;
                z[q] += h;
                d[p] -= h;
                d[q] += h;
                a[p][q] = 0.0f;
                for (int j = 0; j < p; ++j) Rotate(a[j][p], a[j][q], s, tau);
                for (int j = p + 1; j < q; ++j) Rotate(a[p][j], a[j][q], s, tau);
                for (int j = q + 1; j < n; ++j) Rotate(a[p][j], a[q][j], s, tau);
                for (int j = 0; j < n; ++j) Rotate(v[j][p], v[j][q], s, tau);
            }
        }

        for (int k = 0; k < n; ++k) {
            b[k] += z[k];
            d[k] = b[k];
            z[k] = 0.0f;
        }
    }
}
