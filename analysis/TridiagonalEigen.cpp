#include "analysis/TridiagonalEigen.h"

#include <cmath>
#include <limits>

int32_t TridiagonalQL(int32_t n, double* d, double* e, double* z, int32_t stride, int32_t& iterations) {
  const int32_t limit = iterations;
  int32_t done = 0;
  constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
  if (n > 0) e[n - 1] = 0.0;
  for (int32_t l = 0; l < n; ++l) {
    for (;;) {
      // The first negligible subdiagonal entry at or below l splits the matrix.
      int32_t m = l;
      while (m < n - 1 && std::fabs(e[m]) > kEpsilon * (std::fabs(d[m]) + std::fabs(d[m + 1]))) ++m;
      if (m == l) break;
      if (done >= limit) {
        iterations = done;
        return 1;
      }
      ++done;
      // Wilkinson shift from the leading 2 × 2 block, then the QL sweep
      // chasing the bulge from m up to l.
      double g = (d[l + 1] - d[l]) / (2.0 * e[l]);
      double r = std::hypot(g, 1.0);
      g = d[m] - d[l] + e[l] / (g + std::copysign(r, g));
      double s = 1.0, c = 1.0, p = 0.0;
      int32_t i = m - 1;
      bool deflated = false;
      for (; i >= l; --i) {
        const double f = s * e[i];
        const double b = c * e[i];
        r = std::hypot(f, g);
        e[i + 1] = r;
        if (r == 0.0) {
          // Underflow: the rotation is the identity; deflate and repeat.
          d[i + 1] -= p;
          e[m] = 0.0;
          deflated = true;
          break;
        }
        s = f / r;
        c = g / r;
        g = d[i + 1] - p;
        r = (d[i] - g) * s + 2.0 * c * b;
        p = s * r;
        d[i + 1] = g + p;
        g = c * r - b;
        for (int32_t k = 0; k < n; ++k) {
          double& zi = z[k * stride + i];
          double& zi1 = z[k * stride + i + 1];
          const double t = zi1;
          zi1 = s * zi + c * t;
          zi = c * zi - s * t;
        }
      }
      if (deflated) continue;
      d[l] -= p;
      e[l] = g;
      e[m] = 0.0;
    }
  }
  iterations = done;
  return 0;
}
