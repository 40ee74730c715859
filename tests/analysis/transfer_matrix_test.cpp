// The transfer matrix method against closed forms of simple columns, and its
// contract with the windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

#include "analysis/ExpPair.h"
#include "tests/analysis/FakeAnalysisWindows.h"

namespace {

using cd = std::complex<double>;
constexpr double kTwoPi = 6.283185307179586;

// A linear frequency axis from 0 Hz to 10 Hz, method 0.
AnalysisSettings FrequencyAxis(DampingForm dampingForm, std::string ratio = "0.05") {
  AnalysisSettings s = Axis("0", "10", XQuantity::Frequency, ScaleKind::Linear);
  s.dampingForm = dampingForm;
  s.dampingText = std::move(ratio);
  return s;
}

// V* = Vs·√(1 + i·loss): loss 2h (hysteretic) or 2h·ω/ω₁ (viscous).
cd ComplexVelocity(double vs, double h, double omega, DampingForm dampingForm, double lambda0) {
  const double loss = dampingForm == DampingForm::Viscous ? 2.0 * h * omega / std::sqrt(lambda0) : 2.0 * h;
  return vs * std::sqrt(cd(1.0, loss));
}

// |got / expected - 1| over every sample of one layer.
double WorstRelativeError(const AmplificationResult& r, int layer, auto expected) {
  double worst = 0.0;
  for (int j = 0; j < r.pointCount; ++j) {
    worst = std::max(worst, std::abs(r.amplification[layer][j] / expected(j) - 1.0));
  }
  return worst;
}

TEST(TransferMatrix, OneLayerIsTheReciprocalOfTheCosineForBothDampingForms) {
  for (DampingForm form : {DampingForm::Hysteretic, DampingForm::Viscous}) {
    AnalysisRig rig(MakeProfile({{10.0f, 1.8f, 100.0f}}, 2.1f, 600.0f), FrequencyAxis(form));
    rig.driver.BtnAmplitudeClick();
    const auto& r = rig.result;
    ASSERT_TRUE(r.complete);
    auto expected = [&](int j) {
      const double omega = static_cast<float>(kTwoPi * r.frequency[j]);
      return 1.0 /
             std::abs(std::cos(omega * 10.0 / ComplexVelocity(100.0, 0.05f, omega, form, r.eigenValues[0])));
    };
    EXPECT_LT(WorstRelativeError(r, 0, expected), 2e-6) << ChoiceIndex(form);
    // The first resonance, Vs / 4H = 2.5 Hz (sample 50), is the peak.
    const auto& curve = r.amplification[0];
    EXPECT_EQ(std::max_element(curve.begin(), curve.end()) - curve.begin(), 50) << ChoiceIndex(form);
  }
}

TEST(TransferMatrix, TwoIdenticalLayersBehaveAsOneOfTheSummedThickness) {
  AnalysisRig rig(MakeProfile({{4.0f, 1.8f, 100.0f}, {6.0f, 1.8f, 100.0f}}, 2.0f, 400.0f),
                  FrequencyAxis(DampingForm::Hysteretic));
  rig.driver.BtnAmplitudeClick();
  const auto& r = rig.result;
  auto cosine = [&](int j, double depth) {
    const double omega = static_cast<float>(kTwoPi * r.frequency[j]);
    return std::cos(omega * depth / ComplexVelocity(100.0, 0.05f, omega, DampingForm::Hysteretic, 0.0));
  };
  EXPECT_LT(WorstRelativeError(r, 0, [&](int j) { return 1.0 / std::abs(cosine(j, 10.0)); }), 2e-6);
  EXPECT_LT(WorstRelativeError(r, 1, [&](int j) { return std::abs(cosine(j, 4.0) / cosine(j, 10.0)); }),
            2e-6);
}

TEST(TransferMatrix, BaseDensityAndVelocityChangeNoValue) {
  AnalysisRig reference(SiteProfile(), FrequencyAxis(DampingForm::Hysteretic));
  reference.driver.BtnAmplitudeClick();
  for (auto [density, vs] : {std::pair{2.0f, 1500.0f}, std::pair{5.0f, 500.0f}, std::pair{1.9f, 260.0f}}) {
    AnalysisRig rig(SiteProfile(), FrequencyAxis(DampingForm::Hysteretic));
    rig.profile.base().density = density;
    rig.profile.base().vs = vs;
    rig.driver.BtnAmplitudeClick();
    for (int m = 0; m < 4; ++m) {
      for (int j = 0; j < 200; ++j) {
        ASSERT_NEAR(rig.result.amplification[m][j], reference.result.amplification[m][j],
                    2e-6 * reference.result.amplification[m][j])
            << density << " " << vs << " layer " << m << " sample " << j;
      }
    }
  }
}

TEST(TransferMatrix, ZeroFrequencyGivesExactlyOneInEveryLayer) {
  for (DampingForm form : {DampingForm::Hysteretic, DampingForm::Viscous}) {
    AnalysisRig rig(SiteProfile(), FrequencyAxis(form, "0.2"));
    rig.driver.BtnAmplitudeClick();
    for (int m = 0; m < 4; ++m) EXPECT_EQ(rig.result.amplification[m][0], 1.0f) << ChoiceIndex(form) << " " << m;
  }
}

TEST(TransferMatrix, ViscousEqualsHystereticAtTheFirstNaturalFrequency) {
  // One layer H 10 m, Vs 100 m/s: ω₁ = √200, so f = √200 / 2π Hz starts the axis.
  auto run = [](DampingForm form) {
    AnalysisSettings settings = FrequencyAxis(form);
    settings.xLower = std::string("2.2507907903927652");
    settings.xUpper = std::string("5");
    AnalysisRig rig(MakeProfile({{10.0f, 1.8f, 100.0f}}, 2.0f, 400.0f), settings);
    rig.driver.BtnAmplitudeClick();
    EXPECT_EQ(rig.result.eigenValues[0], 200.0f);
    return rig.result.amplification[0];
  };
  const std::vector<float> hysteretic = run(DampingForm::Hysteretic);
  const std::vector<float> viscous = run(DampingForm::Viscous);
  EXPECT_NEAR(viscous[0], hysteretic[0], 1e-6 * hysteretic[0]);
  EXPECT_GT(std::abs(viscous[199] - hysteretic[199]), 1e-3 * hysteretic[199]);  // elsewhere they differ
}

TEST(TransferMatrix, PairedExponentialsAreThoseOfComplexExp) {
  // The inner loop forms e^θ and e^-θ together; they must be bit for bit
  // what ComplexExp gives for θ and -θ.
  std::mt19937 generator(7);
  std::uniform_real_distribution<float> re(-80.0f, 80.0f), im(-3000.0f, 3000.0f), small(-2.0f, 2.0f);
  for (int i = 0; i < 200000; ++i) {
    const Complex theta =
        i % 2 ? MakeComplex(re(generator), im(generator)) : MakeComplex(small(generator), small(generator));
    const ExpPair pair = ComplexExpPair(theta);
    ASSERT_EQ(pair.plus, ComplexExp(theta)) << theta.re << " " << theta.im;
    ASSERT_EQ(pair.minus, ComplexExp(ComplexNeg(theta))) << theta.re << " " << theta.im;
  }
  const ExpPair zero = ComplexExpPair(MakeComplex(0.0f, 0.0f));
  EXPECT_EQ(zero.plus, MakeComplex(1.0f, 0.0f));
  EXPECT_EQ(zero.minus, MakeComplex(1.0f, 0.0f));
  EXPECT_EQ(ErrorText([] { ComplexExpPair(MakeComplex(-100.0f, 1.0f)); }), "浮動小数点数のオーバーフロー");
}

TEST(TransferMatrix, TellsTheWindowsAndEndsWithTheChart) {
  AnalysisRig rig;
  rig.settings.dampingText = std::string("0.050");
  rig.driver.AnalyseTransferMatrix();
  EXPECT_EQ(rig.windows.methodLabel, "伝達ﾏﾄﾘｯｸｽ解析");
  EXPECT_EQ(rig.windows.dampingLabel, "履歴型減衰/減衰比　0.050");
  EXPECT_EQ(rig.windows.naturalModesEnabled, false);
  EXPECT_EQ(rig.windows.calls.back(), "draw");
  EXPECT_TRUE(rig.result.complete);
  for (int m = 0; m < 4; ++m) EXPECT_EQ(rig.result.amplification[m].size(), 200u);

  rig.settings.dampingForm = DampingForm::Viscous;
  rig.result.eigenValues[0] = 100.0f;
  rig.driver.AnalyseTransferMatrix();
  EXPECT_EQ(rig.windows.dampingLabel, "粘性型減衰/減衰比　0.050");
}

TEST(TransferMatrix, FaultsLeaveNoValueAndNoChart) {
  // A base without density: the last impedance ratio divides by (0, 0),
  // whose conjugate product makes the quotient 0/0.
  {
    AnalysisRig rig;
    rig.profile.base().density = 0.0f;
    rig.result.complete = true;
    EXPECT_EQ(ErrorText([&] { rig.driver.AnalyseTransferMatrix(); }), "不正な浮動小数点数演算命令");
    EXPECT_FALSE(rig.result.complete);
    EXPECT_FALSE(rig.windows.Called("draw"));
    for (int m = 0; m < 4; ++m) EXPECT_EQ(rig.result.amplification[m], std::vector<float>(200, 0.0f));
  }
  // No profile: nothing to carry the waves through.
  {
    AnalysisRig rig(SoilProfile{});
    EXPECT_EQ(ErrorText([&] { rig.driver.AnalyseTransferMatrix(); }), "不正な浮動小数点数演算命令");
    EXPECT_FALSE(rig.windows.Called("draw"));
  }
  // Viscous damping on its own finds ω₁ itself; a run on its own is complete.
  {
    AnalysisRig rig;
    rig.settings.dampingForm = DampingForm::Viscous;
    rig.driver.AnalyseTransferMatrix();
    EXPECT_TRUE(rig.result.complete);
    EXPECT_GT(rig.result.eigenValues[0], 0.0f);
  }
}

}  // namespace

namespace {

// The method's float32 steps as written for it, one Mycomplex operation at a
// time: the values the program has always stored.
std::vector<std::vector<float>> Float32Steps(const SoilProfile& p, const AmplificationResult& r, float h) {
  const int n = p.layerCount;
  std::vector<Complex> vstar(n + 1);
  for (int k = 0; k <= n; ++k) {
    vstar[k] = ComplexScale(p.layers[k].vs, ComplexSqrt(MakeComplex(1.0f, static_cast<float>(2.0 * h))));
  }
  std::vector<std::vector<float>> out(n, std::vector<float>(r.pointCount));
  const Complex one = MakeComplex(1.0f, 0.0f);
  for (int j = 0; j < r.pointCount; ++j) {
    const float omega = static_cast<float>(kTwoPi * r.frequency[j]);
    Complex A{}, B{}, Cc{}, D{};
    std::vector<Complex> s(n);
    for (int m = 0; m < n; ++m) {
      const Complex alpha = ComplexDiv(ComplexScale(p.layers[m].density, vstar[m]),
                                       ComplexScale(p.layers[m + 1].density, vstar[m + 1]));
      const float omegaH = static_cast<float>(static_cast<double>(omega) * p.layers[m].thickness);
      const Complex theta = ComplexDiv(MakeComplex(0.0f, omegaH), vstar[m]);
      const Complex ep = ComplexExp(theta), em = ComplexExp(ComplexNeg(theta));
      const Complex sp = ComplexAdd(one, alpha), sm = ComplexSub(one, alpha);
      const Complex a = ComplexScale(0.5f, ComplexMul(sp, ep)), b = ComplexScale(0.5f, ComplexMul(sm, em));
      const Complex c = ComplexScale(0.5f, ComplexMul(sm, ep)), d = ComplexScale(0.5f, ComplexMul(sp, em));
      if (m == 0) {
        A = a, B = b, Cc = c, D = d;
      } else {
        const Complex nA = ComplexAdd(ComplexMul(a, A), ComplexMul(b, Cc));
        const Complex nB = ComplexAdd(ComplexMul(a, B), ComplexMul(b, D));
        const Complex nC = ComplexAdd(ComplexMul(c, A), ComplexMul(d, Cc));
        const Complex nD = ComplexAdd(ComplexMul(c, B), ComplexMul(d, D));
        A = nA, B = nB, Cc = nC, D = nD;
      }
      s[m] = ComplexDiv(MakeComplex(2.0f, 0.0f), ComplexAdd(ComplexAdd(A, B), ComplexAdd(Cc, D)));
    }
    out[0][j] = static_cast<float>(ComplexAbs(s[n - 1]));
    for (int m = 1; m < n; ++m) out[m][j] = static_cast<float>(ComplexAbs(ComplexDiv(s[n - 1], s[m - 1])));
  }
  return out;
}

TEST(TransferMatrix, StronglyDampedValuesAreThoseOfTheFloat32Steps) {
  // Away from sharp resonances nothing cancels: every value keeps its bits.
  for (const char* ratio : {"0.2", "0.3"}) {
    for (int quantity : {0, 1}) {
      AnalysisSettings s = quantity ? Axis("0", "20", XQuantity::Frequency, ScaleKind::Linear)
                                    : Axis("0", "5", XQuantity::Period, ScaleKind::Linear);
      s.dampingText = ratio;
      AnalysisRig rig(SiteProfile(), s, 400);
      rig.driver.BtnAmplitudeClick();
      const auto want = Float32Steps(rig.profile, rig.result, std::stof(ratio));
      for (int m = 0; m < 4; ++m) {
        for (int j = 0; j < 400; ++j) {
          ASSERT_EQ(rig.result.amplification[m][j], want[m][j]) << ratio << " layer " << m << " sample " << j;
        }
      }
    }
  }
}

}  // namespace
