#include "analysis/TridiagonalSolve.h"

#include <array>

namespace {
constexpr int kMax = 64;
}

bool SolveComplexTridiagonal(int n, std::complex<double>* sub, std::complex<double>* diag, std::complex<double>* super,
                             std::complex<double>* rhs) {
  using C = std::complex<double>;
  if (n < 1 || n > kMax) return false;
  // A row exchange brings a second superdiagonal into the upper factor.
  std::array<C, kMax> super2{};
  for (int i = 0; i + 1 < n; ++i) {
    C& below = sub[i + 1];
    if (std::abs(diag[i]) >= std::abs(below)) {
      if (diag[i] == C(0.0)) return false;
      const C f = below / diag[i];
      diag[i + 1] -= f * super[i];
      rhs[i + 1] -= f * rhs[i];
    } else {
      // Row i+1 becomes the pivot row.
      const C f = diag[i] / below;
      diag[i] = below;
      const C oldDiag = diag[i + 1];
      diag[i + 1] = super[i] - f * oldDiag;
      if (i + 2 < n) {
        super2[i] = super[i + 1];
        super[i + 1] = -f * super2[i];
      }
      super[i] = oldDiag;
      const C oldRhs = rhs[i];
      rhs[i] = rhs[i + 1];
      rhs[i + 1] = oldRhs - f * rhs[i];
    }
  }
  if (diag[n - 1] == C(0.0)) return false;
  rhs[n - 1] /= diag[n - 1];
  if (n >= 2) rhs[n - 2] = (rhs[n - 2] - super[n - 2] * rhs[n - 1]) / diag[n - 2];
  for (int i = n - 3; i >= 0; --i) {
    rhs[i] = (rhs[i] - super[i] * rhs[i + 1] - super2[i] * rhs[i + 2]) / diag[i];
  }
  return true;
}
