// The equivalent lumped-mass method: natural modes and the response of small
// columns against their closed forms, singular samples, and faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>

#include "platform/Printf.h"
#include "tests/analysis/FakeAnalysisWindows.h"

namespace {

using cd = std::complex<double>;
constexpr double kTwoPi = 6.283185307179586;

// A linear period axis starting at the given period (text as typed).
AnalysisSettings PeriodAxisFrom(double period, DampingForm dampingForm, std::string ratio = "0.05") {
  AnalysisSettings s = Axis(Printf("%.17g", period), "5", XQuantity::Period, ScaleKind::Linear);
  s.method = AnalysisMethod::LumpedMass;
  s.dampingForm = dampingForm;
  s.dampingText = std::move(ratio);
  return s;
}

double Mass(const SoilLayer& l) { return static_cast<float>(0.5 * l.density * l.thickness * 0.1020408163265306); }
double Spring(const SoilLayer& l) {
  return static_cast<float>(static_cast<double>(l.density) * l.vs * l.vs / l.thickness * 0.1020408163265306);
}

TEST(LumpedMass, OneLayerModelAndResponse) {
  const SoilProfile profile = MakeProfile({{10.0f, 1.8f, 100.0f}}, 2.0f, 400.0f);
  AnalysisRig rig(profile, PeriodAxisFrom(kTwoPi / std::sqrt(200.0), DampingForm::Hysteretic));
  rig.driver.BtnAmplitudeClick();
  const auto& r = rig.result;
  ASSERT_TRUE(r.complete);

  EXPECT_FLOAT_EQ(r.eigenValues[0], 200.0f);  // 2·Vs² / H²
  ASSERT_TRUE(rig.windows.modes.has_value());
  const NaturalModes& modes = *rig.windows.modes;
  EXPECT_EQ(modes.n, 1);
  EXPECT_EQ(modes.shape[0][0], 1.0f);
  EXPECT_EQ(Printf("%10.3f", modes.period[0]), "     0.444");
  EXPECT_EQ(Printf("%10.3f", modes.frequency[0]), "     2.251");
  EXPECT_EQ(modes.frequency[0], static_cast<float>(1.0 / modes.period[0]));

  // Sample 0 sits on the natural period: √(1 + 4h²) / (2h).
  const double h = 0.05f;
  EXPECT_NEAR(r.amplification[0][0], std::sqrt(1 + 4 * h * h) / (2 * h), 1e-5 * 10.05);
  // Everywhere: |k(1 + 2ih) / (k(1 + 2ih) − ω²m)|.
  const double k = Spring(profile.layers[0]), m = Mass(profile.layers[0]);
  for (int j = 0; j < r.pointCount; ++j) {
    const double omega = static_cast<float>(kTwoPi / r.period[j]);
    const cd stiffness = k * cd(1.0, 2.0 * h);
    const double expected = std::abs(stiffness / (stiffness - omega * omega * m));
    ASSERT_NEAR(r.amplification[0][j], expected, 2e-6 * expected) << j;
  }
}

TEST(LumpedMass, TwoEqualLayersHaveTheirClosedFormEigenvalues) {
  AnalysisRig rig(MakeProfile({{5.0f, 1.8f, 150.0f}, {5.0f, 1.8f, 150.0f}}, 2.0f, 400.0f));
  rig.settings.method = AnalysisMethod::LumpedMass;
  rig.driver.BtnAmplitudeClick();
  const double scale = 150.0 * 150.0 / 25.0;  // Vs² / H²
  EXPECT_NEAR(rig.result.eigenValues[0], (2 - std::sqrt(2.0)) * scale, 2e-6 * scale);
  EXPECT_NEAR(rig.result.eigenValues[1], (2 + std::sqrt(2.0)) * scale, 2e-6 * scale);
  const NaturalModes& modes = *rig.windows.modes;
  EXPECT_EQ(modes.n, 2);
  // The fundamental moves both masses one way, the second mode against each other.
  EXPECT_GT(modes.shape[0][0] * modes.shape[1][0], 0.0f);
  EXPECT_LT(modes.shape[0][1] * modes.shape[1][1], 0.0f);
  for (int s = 0; s < 2; ++s) {
    EXPECT_EQ(modes.period[s], static_cast<float>(kTwoPi / std::sqrt(static_cast<double>(rig.result.eigenValues[s]))));
  }
}

TEST(LumpedMass, ModeTableOfASiteHasUnitColumnsAndFallingPeriods) {
  AnalysisRig rig;
  rig.settings.method = AnalysisMethod::LumpedMass;
  rig.driver.BtnAmplitudeClick();
  const NaturalModes& modes = *rig.windows.modes;
  ASSERT_EQ(modes.n, 4);
  for (int s = 0; s < 4; ++s) {
    double length = 0.0;
    for (int p = 0; p < 4; ++p) length += static_cast<double>(modes.shape[p][s]) * modes.shape[p][s];
    EXPECT_NEAR(length, 1.0, 1e-6) << s;
    if (s > 0) {
      EXPECT_LT(modes.period[s], modes.period[s - 1]);
    }
    EXPECT_EQ(modes.frequency[s], static_cast<float>(1.0 / modes.period[s]));
  }
  for (int p = 0; p < 20; ++p) EXPECT_EQ(modes.shape[p][4], 0.0f);  // nothing beyond n
}

TEST(LumpedMass, ViscousEqualsHystereticAtTheFirstNaturalFrequency) {
  AnalysisRig probe;
  probe.settings.method = AnalysisMethod::LumpedMass;
  probe.driver.BtnAmplitudeClick();
  const double naturalPeriod = kTwoPi / std::sqrt(static_cast<double>(probe.result.eigenValues[0]));

  AnalysisRig hysteretic(SiteProfile(), PeriodAxisFrom(naturalPeriod, DampingForm::Hysteretic));
  AnalysisRig viscous(SiteProfile(), PeriodAxisFrom(naturalPeriod, DampingForm::Viscous));
  hysteretic.driver.BtnAmplitudeClick();
  viscous.driver.BtnAmplitudeClick();
  for (int p = 0; p < 4; ++p) {
    const auto& h = hysteretic.result.amplification[p];
    const auto& v = viscous.result.amplification[p];
    EXPECT_NEAR(v[0], h[0], 2e-6 * h[0]) << p;
    double apart = 0.0;  // elsewhere the forms differ
    for (int j = 1; j < 200; ++j) apart = std::max(apart, std::abs(v[j] / h[j] - 1.0));
    EXPECT_GT(apart, 0.01) << p;
  }
}

TEST(LumpedMass, BaseLayerIsNotPartOfTheModel) {
  AnalysisRig reference;
  reference.settings.method = AnalysisMethod::LumpedMass;
  reference.driver.BtnAmplitudeClick();
  AnalysisRig rig;
  rig.settings.method = AnalysisMethod::LumpedMass;
  rig.profile.base().density = 3.0f;
  rig.profile.base().vs = 2000.0f;
  rig.driver.BtnAmplitudeClick();
  EXPECT_EQ(rig.result.eigenValues, reference.result.eigenValues);
  EXPECT_EQ(rig.result.amplification, reference.result.amplification);
}

TEST(LumpedMass, TellsTheWindowsDampingFirstThenTitle) {
  AnalysisRig rig;
  rig.settings.dampingForm = DampingForm::Viscous;
  rig.driver.AnalyseLumpedMass();
  const std::vector<std::string> expected = {"CBTest on", "modes", "Label5 粘性型減衰/減衰比　0.05",
                                             "Label4 等価質点系解析", "draw"};
  EXPECT_EQ(rig.windows.calls, expected);
  EXPECT_TRUE(rig.result.complete);
}

TEST(LumpedMass, SingularSamplesHaveNoValue) {
  // Two layers without damping, sampled right at the first natural period:
  // the frequency-response system is singular there.
  const SoilProfile profile = MakeProfile({{5.0f, 1.8f, 150.0f}, {5.0f, 1.8f, 150.0f}}, 2.0f, 400.0f);
  AnalysisRig probe(profile);
  probe.settings.method = AnalysisMethod::LumpedMass;
  probe.driver.BtnAmplitudeClick();
  const double naturalPeriod = kTwoPi / std::sqrt(static_cast<double>(probe.result.eigenValues[0]));

  AnalysisRig rig(profile, PeriodAxisFrom(naturalPeriod, DampingForm::Hysteretic, "0"));
  rig.driver.BtnAmplitudeClick();
  EXPECT_TRUE(IsNoValue(rig.result.amplification[0][0]));
  EXPECT_TRUE(IsNoValue(rig.result.amplification[1][0]));
  for (int p = 0; p < 2; ++p) {
    for (int j = 1; j < 200; ++j) ASSERT_TRUE(std::isfinite(rig.result.amplification[p][j])) << p << " " << j;
  }
  EXPECT_TRUE(rig.result.complete);
}

TEST(LumpedMass, OneLayerExactlyAtResonanceHasNoValue) {
  // Find a period whose sample makes k − ω²m exactly zero in float32.
  const SoilProfile profile = MakeProfile({{10.0f, 1.8f, 100.0f}}, 2.0f, 400.0f);
  const double k = Spring(profile.layers[0]), m = Mass(profile.layers[0]);
  auto hitsResonance = [&](float lower) {
    const float sampled = static_cast<float>(1.0 / static_cast<float>(1.0 / lower));
    const float omega = static_cast<float>(kTwoPi / sampled);
    const float omega2 = static_cast<float>(static_cast<double>(omega) * omega);
    return static_cast<float>(omega2 * m) == static_cast<float>(k);
  };
  float up = static_cast<float>(kTwoPi / std::sqrt(200.0)), down = up, period = 0.0f;
  bool found = false;
  for (int step = 0; step < 10000 && !found; ++step) {
    for (float candidate : {up, down}) {
      if (!found && hitsResonance(candidate)) {
        period = candidate;
        found = true;
      }
    }
    up = std::nextafter(up, 1.0f);
    down = std::nextafter(down, 0.0f);
  }
  ASSERT_TRUE(found);
  AnalysisRig rig(profile, PeriodAxisFrom(period, DampingForm::Hysteretic, "0"));
  rig.driver.BtnAmplitudeClick();
  EXPECT_TRUE(IsNoValue(rig.result.amplification[0][0]));
  EXPECT_TRUE(std::isfinite(rig.result.amplification[0][1]));
  EXPECT_TRUE(rig.result.complete);
}

TEST(LumpedMass, FaultsEndTheRunBeforeTablesLabelsAndChart) {
  {
    AnalysisRig rig(SoilProfile{});
    rig.result.eigenValues.fill(5.0f);
    EXPECT_EQ(ErrorText([&] { rig.driver.AnalyseLumpedMass(); }), "不正な浮動小数点数演算命令");
    EXPECT_EQ(rig.windows.calls, std::vector<std::string>{"CBTest on"});
    EXPECT_EQ(rig.result.eigenValues[0], 5.0f);
    EXPECT_FALSE(rig.result.complete);
  }
  {
    // Records left by an earlier, longer profile must not make a profile of
    // no layers computable.
    AnalysisRig rig;
    rig.profile.layerCount = 0;
    EXPECT_EQ(ErrorText([&] { rig.driver.AnalyseLumpedMass(); }), "不正な浮動小数点数演算命令");
  }
  {
    AnalysisRig rig;
    rig.profile.layers[2].thickness = 0.0f;
    rig.result.complete = true;
    EXPECT_EQ(ErrorText([&] { rig.driver.AnalyseLumpedMass(); }), "0 による浮動小数点数除算");
    EXPECT_EQ(rig.windows.calls, std::vector<std::string>{"CBTest on"});
    EXPECT_FALSE(rig.result.complete);
    for (int m = 0; m < 4; ++m) EXPECT_FALSE(rig.result.HasSlot(m));  // nothing stored
  }
}

}  // namespace
