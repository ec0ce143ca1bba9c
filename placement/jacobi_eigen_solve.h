// Eigen-decomposition of a symmetric matrix by the cyclic Jacobi method.
#pragma once

// Takes a: n rows of n floats, of which only the strictly upper triangle is read;
// that triangle is left destroyed, the diagonal and lower triangle untouched.
// Gives d: the n eigenvalues, and v: n rows of n floats whose column k is the unit
// eigenvector of d[k]. Stops when the upper triangle sums to zero (or not a
// number), otherwise after 49 sweeps with whatever state they reached.
void JacobiEigenSolve(float* const* a, int n, float* d, float* const* v);
