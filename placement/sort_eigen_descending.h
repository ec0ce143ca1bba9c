// Orders eigenvalues largest first, their eigenvectors with them.
#pragma once

// Takes d: n eigenvalues, and v: n rows of n floats whose column k belongs to d[k].
// Reorders d and the columns of v in place by a selection sort; among equal values
// the later index moves forward.
void SortEigenDescending(float* d, float* const* v, int n);
