#include "placement/sort_eigen_descending.h"

void SortEigenDescending(float* d, float* const* v, int n) {
    for (int i = 0; i < n - 1; ++i) {
        int k = i;
        float m = d[i];
        for (int j = i + 1; j < n; ++j) {
            if (d[j] >= m) {
                k = j;
                m = d[j];
            }
        }
        if (k != i) {
            d[k] = d[i];
            d[i] = m;
            for (int j = 0; j < n; ++j) {
                const float swap = v[j][i];
                v[j][i] = v[j][k];
                v[j][k] = swap;
            }
        }
    }
}
