#pragma once
// Real matrix routines for the lumped-mass model: the generalised symmetric
// eigenproblem K·φ = λ·M·φ (diagonal M), and the classical Jacobi method.
// Matrices are row-major float32 with an explicit row stride.
#include <cstdint>

// Solves K·φ = λ·M·φ. A holds K (upper triangle and diagonal read), m the
// diagonal of M. The mass-scaled matrix is reduced to tridiagonal form and
// solved by the implicit QL method, all in double; the results are rounded
// once into float32. Writes the eigenvalues ascending into eig and
// unit-length eigenvectors, first nonzero entry positive, into the columns
// of V; A is left holding the vectors before normalisation. maxRotations is
// in: the limit of QL iterations, out: the iterations done; eps is not
// needed (convergence is to double precision). Returns 0. When the limit is
// reached it throws a ReportedFailure with "jacobi error Code = 1" under the
// caption "Eigen Error", which ends the analysis.
int32_t EigenSolve(float* a, const float* m, float* eig, float* v, int32_t stride, int32_t n, int32_t& maxRotations,
                   float eps);

// Classical Jacobi method. Returns 0 converged, 1 rotation limit reached, 999
// A not symmetric (maxRotations then untouched); maxRotations is in: the
// limit, out: rotations done. Bad parameters (n < 2, maxRotations < 1, eps not
// above 0) throw a ReportedFailure with "jacobi parameter error" / "Jacobi
// Error" before anything is touched.
int32_t Jacobi(float* a, float* v, int32_t stride, float eps, int32_t& maxRotations, int32_t n);

// Sorts values ascending in place (descending when descending != 0) and
// writes the permutation into index. Returns 0.
int32_t SortWithIndex(int32_t n, float* values, int32_t* index, int32_t descending);
