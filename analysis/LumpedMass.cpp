// The equivalent lumped-mass method: the response of the masses to a unit
// harmonic motion of the rigid base.
#include <cmath>
#include <complex>
#include <limits>

#include "analysis/Calculators.h"
#include "analysis/LumpedMassModel.h"
#include "analysis/TridiagonalSolve.h"
#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Without damping, a sample this close (relative) to a natural frequency is
// singular within the precision of the float32 model and its samples.
constexpr double kOnResonance = 0x1p-20;

bool OnUndampedResonance(double omega2, const NaturalModes& modes) {
  for (int s = 0; s < modes.n; ++s) {
    const double lambda = modes.eigenValues[s];
    if (std::fabs(omega2 - lambda) <= kOnResonance * std::fabs(lambda)) return true;
  }
  return false;
}

// |v| as float32, or no value where it cannot be stored.
float StoredRatio(std::complex<double> v) {
  const double ratio = std::abs(v);
  return ratio <= std::numeric_limits<float>::max() ? static_cast<float>(ratio) : kNoValue;
}

}  // namespace

void LumpedMassAmplification(const SoilProfile& profile, const AnalysisSettings& settings,
                             const AmplificationResult& samples, const NaturalModes& modes,
                             LayerAmplifications& table) {
  using C = std::complex<double>;
  const LumpedMassModel model = BuildLumpedMassModel(profile);
  const int n = model.n;
  const int points = samples.pointCount;
  for (int p = 0; p < n; ++p) {
    if (static_cast<int>(table[p].size()) != points) table[p].assign(points, 0.0f);
  }

  // Hysteretic: K·(1 + iη), η = 2h. Viscous: K + iωC with C = β·K, β = 2h/ω₁.
  const double h = StrToSingle(settings.dampingText);
  const bool viscous = settings.dampingForm != DampingForm::Hysteretic;
  const double beta = viscous ? checked::Divide(2.0 * h, checked::Sqrt(modes.eigenValues[0])) : 0.0;
  const auto& m = model.mass;
  const auto& k = model.spring;

  std::array<C, 20> sub, diag, super, v;
  for (int j = 0; j < points; ++j) {
    // ω from the frequency, so that 0 Hz is the rigid motion, exactly 1.
    const float omega = checked::StoreSingle(kTwoPi * samples.frequency[j]);
    if (omega == 0.0f) {
      for (int p = 0; p < n; ++p) table[p][j] = 1.0f;
      continue;
    }
    const double omega2 = static_cast<double>(omega) * omega;
    const double loss = viscous ? omega * beta : 2.0 * h;
    if (loss == 0.0 && OnUndampedResonance(omega2, modes)) {
      for (int p = 0; p < n; ++p) table[p][j] = kNoValue;
      continue;
    }
    // (K·(1 + i·loss) − ω²·M)·v = K·(1 + i·loss)·1 for the total motion v:
    // the base drives the deepest mass through the deepest spring only.
    const C stiff(1.0, loss);
    for (int p = 0; p < n; ++p) {
      const double above = p == 0 ? 0.0 : k[p - 1];
      diag[p] = (above + k[p]) * stiff - omega2 * m[p];
      sub[p] = p == 0 ? C(0.0) : -static_cast<double>(k[p - 1]) * stiff;
      super[p] = p + 1 < n ? -static_cast<double>(k[p]) * stiff : C(0.0);
      v[p] = p + 1 < n ? C(0.0) : static_cast<double>(k[p]) * stiff;
    }
    const bool solved = SolveComplexTridiagonal(n, sub.data(), diag.data(), super.data(), v.data());
    for (int p = 0; p < n; ++p) table[p][j] = solved ? StoredRatio(v[p]) : kNoValue;
  }
}

MethodResult CalculateLumpedMass(const SoilProfile& profile, const AnalysisSettings& settings,
                                 const AmplificationResult& samples) {
  MethodResult result;
  result.modes = SolveNaturalModes(profile);
  LumpedMassAmplification(profile, settings, samples, result.modes, result.amplification);
  return result;
}
