#pragma once
// Reference solutions of both models, written independently of the program's
// numerics and in long double: the transfer matrix method as displacement and
// stress carried up from the free surface by complex cosines and sines; the
// lumped-mass model by Sturm-sequence bisection for the eigenvalues and dense
// complex Gaussian elimination for the response.
#include <cmath>
#include <complex>
#include <vector>

#include "profile/SoilProfile.h"

namespace reference {

using Real = long double;
using C = std::complex<Real>;

// The model as the program defines it: float32 masses and springs.
struct Chain {
  int n = 0;
  std::vector<Real> mass, spring;
};

inline Chain ChainOf(const SoilProfile& p) {
  Chain c;
  c.n = p.layerCount;
  const double g = 0.1020408163265306;
  for (int i = 0; i < c.n; ++i) {
    const auto& l = p.layers[i];
    const double above = i == 0 ? 0.0 : static_cast<double>(p.layers[i - 1].density) * p.layers[i - 1].thickness;
    c.mass.push_back(static_cast<float>(0.5 * (above + static_cast<double>(l.density) * l.thickness) * g));
    c.spring.push_back(static_cast<float>(static_cast<double>(l.density) * l.vs * l.vs / l.thickness * g));
  }
  return c;
}

// Eigenvalues of K − λM below x: the negative pivots of its LDLᵀ.
inline int CountBelow(const Chain& c, Real x) {
  int count = 0;
  Real pivot = 1;
  for (int p = 0; p < c.n; ++p) {
    const Real above = p == 0 ? 0 : c.spring[p - 1];
    Real d = above + c.spring[p] - x * c.mass[p];
    if (p > 0) d -= above * above / pivot;
    if (d == 0) d = -1e-4000L;
    if (d < 0) ++count;
    pivot = d;
  }
  return count;
}

// λ_0 ≤ … ≤ λ_{n−1} by bisection.
inline std::vector<Real> Eigenvalues(const Chain& c) {
  Real hi = 0;
  for (int p = 0; p < c.n; ++p) {
    const Real above = p == 0 ? 0 : c.spring[p - 1];
    const Real below = p + 1 < c.n ? c.spring[p] : 0;
    hi = std::max(hi, (2 * above + 2 * c.spring[p] + 2 * below) / c.mass[p]);
  }
  std::vector<Real> result;
  for (int s = 0; s < c.n; ++s) {
    Real lo = 0, up = hi;
    for (int it = 0; it < 200 && up - lo > 0; ++it) {
      const Real mid = (lo + up) / 2;
      if (mid == lo || mid == up) break;
      (CountBelow(c, mid) > s ? up : lo) = mid;
    }
    result.push_back((lo + up) / 2);
  }
  return result;
}

// The mode of λ, unit length, surface component positive, by the recurrence
// of the rows of (K − λM)·φ = 0 from the surface down.
inline std::vector<Real> Mode(const Chain& c, Real lambda) {
  std::vector<Real> phi(c.n);
  phi[0] = 1;
  for (int p = 0; p + 1 < c.n; ++p) {
    const Real above = p == 0 ? 0 : c.spring[p - 1];
    Real force = (above + c.spring[p] - lambda * c.mass[p]) * phi[p];
    if (p > 0) force -= above * phi[p - 1];
    phi[p + 1] = force / c.spring[p];
  }
  Real length = 0;
  for (Real x : phi) length += x * x;
  for (Real& x : phi) x /= std::sqrt(length);
  return phi;
}

// |1 + u| of every mass: (K(1 + i·loss) − ω²M)·u = ω²M·1 by Gaussian
// elimination with partial pivoting on the dense matrix.
inline std::vector<Real> LumpedResponse(const Chain& c, Real omega, Real loss) {
  const int n = c.n;
  std::vector<std::vector<C>> a(n, std::vector<C>(n + 1));
  const C factor(1, loss);
  for (int p = 0; p < n; ++p) {
    const Real above = p == 0 ? 0 : c.spring[p - 1];
    a[p][p] = (above + c.spring[p]) * factor - omega * omega * c.mass[p];
    if (p > 0) a[p][p - 1] = -above * factor;
    if (p + 1 < n) a[p][p + 1] = -c.spring[p] * factor;
    a[p][n] = omega * omega * c.mass[p];
  }
  for (int col = 0; col < n; ++col) {
    int best = col;
    for (int r = col + 1; r < n; ++r) {
      if (std::abs(a[r][col]) > std::abs(a[best][col])) best = r;
    }
    std::swap(a[col], a[best]);
    for (int r = col + 1; r < n; ++r) {
      const C f = a[r][col] / a[col][col];
      for (int k = col; k <= n; ++k) a[r][k] -= f * a[col][k];
    }
  }
  std::vector<C> u(n);
  for (int r = n - 1; r >= 0; --r) {
    C sum = a[r][n];
    for (int k = r + 1; k < n; ++k) sum -= a[r][k] * u[k];
    u[r] = sum / a[r][r];
  }
  std::vector<Real> result;
  for (const C& x : u) result.push_back(std::abs(C(1) + x));
  return result;
}

// |u(top of layer m) / u(top of the base)| for every layer: from the free
// surface (u = 1, τ = 0) down, u(z) = u·cos kz + τ/(G k)·sin kz and
// τ(z) = −u·G k·sin kz + τ·cos kz with k = ω/V*, G = ρV*².
inline std::vector<Real> TransferResponse(const SoilProfile& p, Real omega, Real loss) {
  const int n = p.layerCount;
  std::vector<C> u(n + 1);
  C disp = 1, stress = 0;
  u[0] = disp;
  for (int m = 0; m < n; ++m) {
    const auto& l = p.layers[m];
    const C vstar = static_cast<Real>(l.vs) * std::sqrt(C(1, loss));
    const C k = omega / vstar;
    const C g = static_cast<Real>(l.density) * vstar * vstar;
    const C kz = k * static_cast<Real>(l.thickness);
    const C cs = std::cos(kz), sn = std::sin(kz);
    const C nextDisp = disp * cs + stress / (g * k) * sn;
    stress = -disp * g * k * sn + stress * cs;
    disp = omega == 0 ? C(1) : nextDisp;
    if (omega == 0) stress = 0;
    u[m + 1] = disp;
  }
  std::vector<Real> result;
  for (int m = 0; m < n; ++m) result.push_back(std::abs(u[m] / u[n]));
  return result;
}

}  // namespace reference
