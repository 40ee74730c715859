// The equivalent lumped-mass method: point masses at the layer tops joined by
// shear springs on a rigid base; natural modes and the response to a unit
// harmonic motion of the base.
#include <algorithm>
#include <array>

#include "analysis/AnalysisDriver.h"
#include "analysis/Mycomplex.h"
#include "analysis/Mymath.h"
#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kOverG = 0.1020408163265306;  // 1 / 9.8
constexpr int kStride = 20;
constexpr int kSystemStride = 21;  // coefficients and one right-hand side

}  // namespace

void AnalysisDriver::AnalyseLumpedMass() {
  RefuseOversizedProfile();
  result_.complete = false;
  BuildFrequencySamples();
  windows_.EnableNaturalModes(true);

  const int n = AnalysedLayerCount();
  const int points = result_.pointCount;
  EnsureSlots(n, points);
  const auto& rec = profile_.layers;

  // Mass p carries half of each layer touching the top of layer p; the lower
  // half of the deepest layer belongs to the base. Spring p is layer p.
  std::array<float, kMaxLayers> mass{};
  std::array<float, kMaxLayers> spring{};
  mass[0] = checked::StoreSingle(0.5 * rec[0].density * rec[0].thickness * kOverG);
  for (int p = 1; p < n; ++p) {
    const double below = static_cast<double>(rec[p - 1].density) * rec[p - 1].thickness;
    const double here = static_cast<double>(rec[p].density) * rec[p].thickness;
    mass[p] = checked::StoreSingle(0.5 * (below + here) * kOverG);
  }
  for (int p = 0; p < n; ++p) {
    const double shear = static_cast<double>(rec[p].density) * rec[p].vs * rec[p].vs;
    spring[p] = checked::StoreSingle(checked::Divide(shear, rec[p].thickness) * kOverG);
  }

  std::array<float, kStride * kStride> stiffness{};
  auto k = [&](int p, int q) -> float& { return stiffness[p * kStride + q]; };
  k(0, 0) = spring[0];
  for (int p = 1; p < n; ++p) {
    k(p - 1, p) = -spring[p - 1];
    k(p, p - 1) = -spring[p - 1];
    k(p, p) = checked::StoreSingle(static_cast<double>(spring[p - 1]) + spring[p]);
  }

  NaturalModes modes;
  modes.n = n;
  std::array<float, kStride * kStride> shape{};
  std::array<float, kMaxLayers> eig{};
  if (n >= 2) {
    std::array<float, kStride * kStride> work = stiffness;  // K is needed unchanged below
    int32_t rotations = 1000;
    EigenSolve(work.data(), mass.data(), eig.data(), shape.data(), kStride, n, rotations, 1e-6f);
  } else {
    eig[0] = checked::StoreSingle(checked::Divide(spring[0], mass[0]));
    shape[0] = 1.0f;
  }
  result_.eigenValues = eig;
  for (int p = 0; p < n; ++p) {
    for (int s = 0; s < n; ++s) modes.shape[p][s] = shape[p * kStride + s];
  }
  for (int s = 0; s < n; ++s) {
    modes.period[s] = checked::StoreSingle(checked::Divide(kTwoPi, checked::Sqrt(eig[s])));
    modes.frequency[s] = checked::StoreSingle(checked::Divide(1.0, modes.period[s]));
  }
  windows_.ShowNaturalModes(modes);

  // Hysteretic: K·(1 + iη), η = 2h. Viscous: K + iωC with C = β·K, β = 2h/ω₁.
  const float h = StrToSingle(settings_.dampingText);
  const bool viscous = settings_.dampingForm != 0;
  const float eta = viscous ? 0.0f : checked::StoreSingle(2.0 * h);
  const float beta = viscous ? checked::StoreSingle(checked::Divide(2.0 * h, checked::Sqrt(eig[0]))) : 0.0f;
  windows_.SetDampingLabel(DampingDescription());
  windows_.SetMethodLabel(kLumpedMassTitle);

  // The band of K; everything off it stays (0, 0) whatever the damping.
  auto bandFirst = [](int p) { return std::max(0, p - 1); };
  auto bandLast = [n](int p) { return std::min(n - 1, p + 1); };
  // η·K does not depend on ω: formed at the first sample, kept for the rest.
  std::array<float, kStride * kStride> hystereticLoss{};

  std::array<Complex, kStride * kSystemStride> a;
  auto at = [&](int p, int q) -> Complex& { return a[p * kSystemStride + q]; };
  std::array<float, kMaxLayers> values{};
  const Complex one = MakeComplex(1.0f, 0.0f);
  for (int j = 0; j < points; ++j) {
    const float omega = checked::StoreSingle(checked::Divide(kTwoPi, result_.period[j]));
    const float omega2 = checked::StoreSingle(static_cast<double>(omega) * omega);
    ComplexZeroMatrix(a.data(), kStride, kSystemStride);
    for (int p = 0; p < n; ++p) {
      at(p, p) = MakeComplex(checked::StoreSingle(-(static_cast<double>(omega2) * mass[p])), 0.0f);
    }
    for (int p = 0; p < n; ++p) {
      for (int q = bandFirst(p); q <= bandLast(p); ++q) {
        float& kept = hystereticLoss[p * kStride + q];
        if (!viscous && j == 0) kept = checked::StoreSingle(static_cast<double>(eta) * k(p, q));
        const float loss = viscous ? checked::StoreSingle(static_cast<double>(omega) * beta * k(p, q)) : kept;
        at(p, q) = ComplexAdd(at(p, q), MakeComplex(0.0f, loss));
        at(p, q) = ComplexAdd(at(p, q), MakeComplex(k(p, q), 0.0f));
      }
    }
    for (int p = 0; p < n; ++p) {
      at(p, n) = MakeComplex(checked::StoreSingle(static_cast<double>(omega2) * mass[p]), 0.0f);
    }

    // Column n becomes u, each mass's motion relative to the base. A singular
    // system (no damping, right at a natural frequency) has no response to
    // store: the sample is marked as having none rather than given a number.
    bool solved = true;
    if (n >= 2) {
      solved = ComplexSolve(a.data(), kSystemStride, n, n + 1, 1e-6f) == 0;
    } else if (at(0, 0) == MakeComplex(0.0f, 0.0f)) {
      solved = false;
    } else {
      at(0, 1) = ComplexDiv(at(0, 1), at(0, 0));
    }
    for (int p = 0; p < n; ++p) {
      values[p] = solved ? checked::StoreSingle(ComplexAbs(ComplexAdd(one, at(p, n)))) : kNoValue;
    }
    for (int p = 0; p < n; ++p) result_.amplification[p][j] = values[p];
  }

  result_.complete = true;
  windows_.DrawAmplificationChart();
}
