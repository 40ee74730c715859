// The transfer matrix method: up- and down-going shear waves carried from the
// free surface down through the layer interfaces by 2 × 2 complex matrices.
#include <array>

#include "analysis/AnalysisDriver.h"
#include "analysis/ExpPair.h"
#include "analysis/Mycomplex.h"
#include "platform/CheckedFloat.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;

struct Matrix2 {
  Complex a, b, c, d;  // rows (a, b) and (c, d)
};

}  // namespace

void AnalysisDriver::AnalyseTransferMatrix() {
  RefuseOversizedProfile();
  result_.complete = false;
  BuildFrequencySamples();
  windows_.EnableNaturalModes(false);
  windows_.SetMethodLabel(kTransferMatrixTitle);
  windows_.SetDampingLabel(DampingDescription());

  const int n = AnalysedLayerCount();
  const int points = result_.pointCount;
  EnsureSlots(n, points);
  const auto& rec = profile_.layers;
  const bool viscous = settings_.dampingForm != 0;
  const Complex one = MakeComplex(1.0f, 0.0f);

  std::array<Complex, kMaxLayers + 1> vstar{};    // complex S-wave velocity per record
  std::array<Complex, kMaxLayers> alpha{};        // impedance ratio of a layer to the record below
  std::array<Matrix2, kMaxLayers> product{};      // P_m = T_m·…·T_0
  std::array<Complex, kMaxLayers> surfaceOver{};  // S_m: surface motion / motion at the top of record m+1
  std::array<float, kMaxLayers> values{};

  auto setVelocities = [&](double lossOverH) {
    for (int r = 0; r <= n; ++r) {
      const float loss = checked::StoreSingle(lossOverH * rec[r].dampingRatio);
      vstar[r] = ComplexScale(rec[r].vs, ComplexSqrt(MakeComplex(1.0f, loss)));
    }
  };
  if (!viscous) setVelocities(2.0);
  // Viscous loss grows with ω relative to the first natural circular frequency.
  double omega1 = 0.0;

  for (int j = 0; j < points; ++j) {
    const float omega = checked::StoreSingle(kTwoPi * result_.frequency[j]);
    if (viscous) {
      if (j == 0) omega1 = checked::Sqrt(result_.eigenValues[0]);
      setVelocities(checked::Divide(2.0 * omega, omega1));
    }

    for (int m = 0; m < n; ++m) {
      // With hysteretic damping the ratios do not depend on ω; they are formed
      // at the first sample, where any fault in them would arise anyway.
      if (viscous || j == 0) {
        alpha[m] = ComplexDiv(ComplexScale(rec[m].density, vstar[m]),
                              ComplexScale(rec[m + 1].density, vstar[m + 1]));
      }
      const float omegaH = checked::StoreSingle(static_cast<double>(omega) * rec[m].thickness);
      const Complex theta = ComplexDiv(MakeComplex(0.0f, omegaH), vstar[m]);
      const auto [ePlus, eMinus] = ComplexExpPair(theta);
      const Complex sPlus = ComplexAdd(one, alpha[m]);
      const Complex sMinus = ComplexSub(one, alpha[m]);
      const Matrix2 t{
          ComplexScale(0.5f, ComplexMul(sPlus, ePlus)), ComplexScale(0.5f, ComplexMul(sMinus, eMinus)),
          ComplexScale(0.5f, ComplexMul(sMinus, ePlus)), ComplexScale(0.5f, ComplexMul(sPlus, eMinus))};
      if (m == 0) {
        product[0] = t;
      } else {
        const Matrix2& p = product[m - 1];
        product[m] = {ComplexAdd(ComplexMul(t.a, p.a), ComplexMul(t.b, p.c)),
                      ComplexAdd(ComplexMul(t.a, p.b), ComplexMul(t.b, p.d)),
                      ComplexAdd(ComplexMul(t.c, p.a), ComplexMul(t.d, p.c)),
                      ComplexAdd(ComplexMul(t.c, p.b), ComplexMul(t.d, p.d))};
      }
    }

    // With E_0 = F_0 = 1 the surface moves by 2 and the top of record m+1 by
    // A + B + C + D of P_m.
    for (int m = 0; m < n; ++m) {
      const Matrix2& p = product[m];
      surfaceOver[m] =
          ComplexDiv(MakeComplex(2.0f, 0.0f), ComplexAdd(ComplexAdd(p.a, p.b), ComplexAdd(p.c, p.d)));
    }
    const Complex surfaceOverBase = surfaceOver[n - 1];
    values[0] = checked::StoreSingle(ComplexAbs(surfaceOverBase));
    for (int m = 1; m < n; ++m) {
      values[m] = checked::StoreSingle(ComplexAbs(ComplexDiv(surfaceOverBase, surfaceOver[m - 1])));
    }
    for (int m = 0; m < n; ++m) result_.amplification[m][j] = values[m];
  }

  result_.complete = true;
  windows_.DrawAmplificationChart();
}
