#pragma once
// Eigenvalues and eigenvectors of a real symmetric tridiagonal matrix by the
// implicit QL method with Wilkinson shifts, in double.
#include <cstdint>

// d: the diagonal (n entries), replaced by the eigenvalues, unsorted.
// e: the subdiagonal, e[i] joining rows i and i+1 (n entries, the last one
// unused); destroyed. z: n × n with row stride `stride`; on entry the
// transformation so far (the identity for the matrix itself), on return its
// columns are the eigenvectors. iterations: in, the limit of QL iterations
// over all eigenvalues; out, the iterations done. Returns 0, or 1 when the
// limit was reached before every eigenvalue converged.
int32_t TridiagonalQL(int32_t n, double* d, double* e, double* z, int32_t stride, int32_t& iterations);
