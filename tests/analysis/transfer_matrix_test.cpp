// The transfer matrix method against closed forms of simple columns, and its
// contract with the windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

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
      return 1.0 / std::abs(std::cos(omega * 10.0 / ComplexVelocity(100.0, 0.05f, omega, form, r.eigenValues[0])));
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
  EXPECT_LT(WorstRelativeError(r, 1, [&](int j) { return std::abs(cosine(j, 4.0) / cosine(j, 10.0)); }), 2e-6);
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
