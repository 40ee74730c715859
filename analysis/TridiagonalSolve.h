#pragma once
// A complex tridiagonal linear system solved in double by Gaussian
// elimination with partial pivoting (row exchanges), as for a general band.
#include <complex>

// Row i reads sub[i]·x[i-1] + diag[i]·x[i] + super[i]·x[i+1] = rhs[i]
// (sub[0] and super[n-1] unused). All four arrays are overwritten; rhs holds
// the solution. Returns false, rhs then meaningless, when a pivot is zero.
bool SolveComplexTridiagonal(int n, std::complex<double>* sub, std::complex<double>* diag, std::complex<double>* super,
                             std::complex<double>* rhs);
