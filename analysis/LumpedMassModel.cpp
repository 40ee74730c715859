#include "analysis/LumpedMassModel.h"

#include <algorithm>
#include <cmath>

#include "analysis/AnalysisTexts.h"
#include "analysis/TridiagonalEigen.h"
#include "platform/CheckedFloat.h"
#include "platform/Errors.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kOverG = 0.1020408163265306;  // 1 / 9.8
constexpr int kMax = 20;
// QL needs one to three iterations per eigenvalue; the limit only stops a
// run on values that are not numbers.
constexpr int32_t kIterationLimit = 1000;

[[noreturn]] void ReportEigenFailure(int32_t code) {
  const std::string text = "jacobi error Code = " + std::to_string(code);
  throw ReportedFailure(MessageBox{text, "Eigen Error", MessageIcon::None, MessageButtons::Ok});
}

}  // namespace

LumpedMassModel BuildLumpedMassModel(const SoilProfile& profile) {
  if (profile.layerCount > kMax) throw ReportedFailure(ErrorBox(kTooManyLayers, kUnsupportedCaption));
  // Without a profile the first record is 0/0. Raise that fault whatever the
  // unused records hold, so no garbage is ever computed.
  if (profile.layerCount < 1) checked::Raise(FloatingPointFault::Kind::InvalidOperation);
  LumpedMassModel model;
  const int n = model.n = profile.layerCount;
  const auto& rec = profile.layers;
  // Mass p carries half of each layer touching the top of layer p; the lower
  // half of the deepest layer belongs to the base. Spring p is layer p.
  model.mass[0] = checked::StoreSingle(0.5 * rec[0].density * rec[0].thickness * kOverG);
  for (int p = 1; p < n; ++p) {
    const double below = static_cast<double>(rec[p - 1].density) * rec[p - 1].thickness;
    const double here = static_cast<double>(rec[p].density) * rec[p].thickness;
    model.mass[p] = checked::StoreSingle(0.5 * (below + here) * kOverG);
  }
  for (int p = 0; p < n; ++p) {
    const double shear = static_cast<double>(rec[p].density) * rec[p].vs * rec[p].vs;
    model.spring[p] = checked::StoreSingle(checked::Divide(shear, rec[p].thickness) * kOverG);
  }
  return model;
}

NaturalModes SolveNaturalModes(const SoilProfile& profile) { return SolveNaturalModes(BuildLumpedMassModel(profile)); }

NaturalModes SolveNaturalModes(const LumpedMassModel& model) {
  NaturalModes modes;
  const int n = modes.n = model.n;
  const auto& m = model.mass;
  const auto& k = model.spring;
  if (n == 1) {
    modes.eigenValues[0] = checked::StoreSingle(checked::Divide(k[0], m[0]));
    modes.shape[0][0] = 1.0f;
  } else {
    // The mass-scaled stiffness M^(-1/2)·K·M^(-1/2) is tridiagonal; it is
    // formed from the springs in double, so the rigid-body balance of each
    // row (diagonal = sum of the neighbouring springs) is kept exactly.
    std::array<double, kMax> w{}, d{}, e{};
    for (int p = 0; p < n; ++p) w[p] = checked::Sqrt(checked::Divide(1.0, m[p]));
    for (int p = 0; p < n; ++p) {
      const double above = p == 0 ? 0.0 : k[p - 1];
      d[p] = (above + k[p]) * w[p] * w[p];
      e[p] = p + 1 < n ? -static_cast<double>(k[p]) * w[p] * w[p + 1] : 0.0;
    }
    std::array<double, kMax * kMax> z{};
    for (int p = 0; p < n; ++p) z[p * kMax + p] = 1.0;
    int32_t iterations = kIterationLimit;
    if (const int32_t code = TridiagonalQL(n, d.data(), e.data(), z.data(), kMax, iterations); code != 0) {
      ReportEigenFailure(code);
    }
    std::array<int, kMax> order{};
    for (int s = 0; s < n; ++s) order[s] = s;
    std::stable_sort(order.begin(), order.begin() + n, [&](int a, int b) { return d[a] < d[b]; });
    for (int s = 0; s < n; ++s) {
      const int from = order[s];
      modes.eigenValues[s] = checked::StoreSingle(d[from]);
      // φ = M^(-1/2)·ψ with unit Euclidean length; the surface moves in the
      // positive sense, so the tables never flip sign from run to run.
      double length2 = 0.0;
      for (int p = 0; p < n; ++p) length2 += (z[p * kMax + from] * w[p]) * (z[p * kMax + from] * w[p]);
      const double scale = (z[from] < 0.0 ? -1.0 : 1.0) / std::sqrt(length2);
      for (int p = 0; p < n; ++p) modes.shape[p][s] = checked::StoreSingle(z[p * kMax + from] * w[p] * scale);
    }
  }
  for (int s = 0; s < n; ++s) {
    modes.period[s] = checked::StoreSingle(checked::Divide(kTwoPi, checked::Sqrt(modes.eigenValues[s])));
    modes.frequency[s] = checked::StoreSingle(checked::Divide(1.0, modes.period[s]));
  }
  return modes;
}
