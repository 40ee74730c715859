// Every stored number against the reference models over a spread of
// profiles: 1–20 layers, 0.3–60 m, 60–900 m/s, damping 0.001–0.3 of both
// forms, period and frequency axes up to 50 Hz, and the sites that used to
// print wrong numbers or fail.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "analysis/LumpedMassModel.h"
#include "platform/Printf.h"
#include "tests/analysis/FakeAnalysisWindows.h"
#include "tests/analysis/ReferenceModels.h"

namespace {

using reference::Real;
constexpr double kTwoPi = 6.283185307179586;

struct Site {
  SoilProfile profile;
  AnalysisSettings settings;
  int points;
};

std::string Printed(double value) { return Printf("%.3f", value); }

// Checks one analysed site against the references; returns the number of
// values compared.
int CheckSite(const Site& site) {
  AnalysisRig rig(site.profile, site.settings, site.points);
  rig.driver.BtnAmplitudeClick();
  EXPECT_TRUE(rig.result.complete);
  if (!rig.result.complete) return 0;
  const reference::Chain chain = reference::ChainOf(rig.profile);
  const std::vector<Real> lambda = reference::Eigenvalues(chain);
  const NaturalModes& modes = *rig.windows.modes;
  const int n = rig.profile.layerCount;
  for (int s = 0; s < n; ++s) {
    const Real period = kTwoPi / std::sqrt(lambda[s]);
    // A reference on the edge of a printed digit may round either way.
    for (auto [got, want] : {std::pair{static_cast<double>(modes.period[s]), period},
                             std::pair{static_cast<double>(modes.frequency[s]), 1 / period}}) {
      const Real thousandths = want * 1000 - std::floor(want * 1000);
      if (std::fabs(thousandths - 0.5L) < 2e-7L * want * 1000) continue;
      EXPECT_EQ(Printed(got), Printed(static_cast<double>(want))) << "mode " << s;
    }
    // The recurrence of the reference is sound for the lowest modes only.
    if (s >= 3) continue;
    const std::vector<Real> phi = reference::Mode(chain, lambda[s]);
    for (int p = 0; p < n; ++p) EXPECT_NEAR(modes.shape[p][s], phi[p], 2e-6) << "mass " << p << " mode " << s;
  }
  const double h = std::stof(site.settings.dampingText);
  const bool viscous = site.settings.dampingForm == DampingForm::Viscous;
  int compared = 0;
  for (int j = 0; j < site.points; ++j) {
    const Real omega = static_cast<float>(kTwoPi * rig.result.frequency[j]);
    const Real loss = viscous ? 2 * h * omega / std::sqrt(lambda[0]) : 2 * h;
    const std::vector<Real> want = site.settings.method == AnalysisMethod::LumpedMass
                                       ? reference::LumpedResponse(chain, omega, loss)
                                       : reference::TransferResponse(rig.profile, omega, loss);
    for (int m = 0; m < n; ++m) {
      const double got = rig.result.amplification[m][j];
      EXPECT_NEAR(got, static_cast<double>(want[m]), 0.0005 + 2e-6 * static_cast<double>(want[m]))
          << "layer " << m << " sample " << j << " f " << rig.result.frequency[j];
      ++compared;
    }
  }
  return compared;
}

AnalysisSettings Settings(int method, int form, const std::string& h, const std::string& lower,
                          const std::string& upper, int quantity, int scale) {
  AnalysisSettings s = Axis(lower, upper, ChoiceOf<XQuantity>(quantity), ChoiceOf<ScaleKind>(scale));
  s.method = ChoiceOf<AnalysisMethod>(method);
  s.dampingForm = ChoiceOf<DampingForm>(form);
  s.dampingText = h;
  return s;
}

Site RandomSite(std::mt19937& random, int method) {
  std::uniform_int_distribution<int> layers(1, 20), form(0, 1), axis(0, 3), points(0, 2);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  auto logUniform = [&](double lo, double hi) { return lo * std::pow(hi / lo, unit(random)); };
  std::vector<LayerValues> values;
  const int n = layers(random);
  for (int i = 0; i < n; ++i) {
    values.push_back({static_cast<float>(logUniform(0.3, 60.0)), static_cast<float>(1.4 + 0.8 * unit(random)),
                      static_cast<float>(logUniform(60.0, 900.0))});
  }
  const std::string ratio = Printf("%.3f", logUniform(0.001, 0.3));
  static const char* const kAxes[4][2] = {{"0", "50"}, {"0.1", "50"}, {"0", "5"}, {"0.02", "10"}};
  const int a = axis(random);
  const int quantity = a < 2 ? 1 : 0;
  const int scale = a % 2;
  return {MakeProfile(values, 2.1f, 1000.0f),
          Settings(method, form(random), ratio, kAxes[a][0], kAxes[a][1], quantity, scale), 100 << points(random)};
}

TEST(Accuracy, SpreadOfProfilesAgreesWithTheReferencesToThePrintedDigit) {
  std::mt19937 random(20261209);
  int compared = 0;
  for (int i = 0; i < 60; ++i) {
    for (int method : {0, 1}) {
      const Site site = RandomSite(random, method);
      SCOPED_TRACE("site " + std::to_string(i) + " method " + std::to_string(method) + " layers " +
                   std::to_string(site.profile.layerCount) + " h " + site.settings.dampingText + " form " +
                   std::to_string(ChoiceIndex(site.settings.dampingForm)));
      compared += CheckSite(site);
      if (HasFailure()) return;
    }
  }
  EXPECT_GT(compared, 100000);
}

TEST(Accuracy, SitesThatUsedToFailOrPrintWrongNumbers) {
  const std::vector<LayerValues> twentySoft(20, {60.0f, 1.7f, 80.0f});
  const SoilProfile crust = MakeProfile({{0.4f, 2.0f, 850.0f}, {35.0f, 1.5f, 65.0f}}, 2.0f, 500.0f);
  const SoilProfile deep = MakeProfile({{60.0f, 1.6f, 60.0f}}, 2.0f, 500.0f);
  const Site sites[] = {
      // One deep soft layer, strong damping, up to 50 Hz: overflowed float32.
      {deep, Settings(0, 0, "0.3", "0", "50", 1, 0), 400},
      {deep, Settings(1, 0, "0.3", "0", "50", 1, 0), 400},
      {MakeProfile(twentySoft, 2.0f, 600.0f), Settings(0, 0, "0.05", "0", "50", 1, 0), 400},
      {MakeProfile(twentySoft, 2.0f, 600.0f), Settings(1, 1, "0.05", "0", "50", 1, 0), 400},
      // Viscous damping far above the first natural frequency.
      {MakeProfile({{10.0f, 1.8f, 100.0f}, {20.0f, 1.9f, 150.0f}}, 2.0f, 500.0f),
       Settings(0, 1, "0.2", "0", "50", 1, 0), 400},
      // A thin stiff crust over soft clay, contrast about 10⁵, little damping.
      {crust, Settings(1, 0, "0.002", "0.05", "5", 1, 1), 400},
      {crust, Settings(0, 0, "0.002", "0.05", "5", 1, 1), 400},
      {crust, Settings(1, 1, "0.001", "0", "10", 0, 0), 400},
  };
  int i = 0;
  for (const Site& site : sites) {
    SCOPED_TRACE("site " + std::to_string(i++));
    CheckSite(site);
  }
}

TEST(Accuracy, OneDeepSoftLayerRunsToTheEndWithTinyValues) {
  AnalysisRig rig(MakeProfile({{60.0f, 1.6f, 60.0f}}, 2.0f, 500.0f), Settings(0, 0, "0.3", "0", "50", 1, 0), 400);
  rig.driver.BtnAmplitudeClick();
  ASSERT_TRUE(rig.result.complete);
  EXPECT_EQ(rig.result.amplification[0][0], 1.0f);
  // At 49.875 Hz the motion at the surface is e^-(about 50) of the base's.
  EXPECT_GT(rig.result.amplification[0][399], 0.0f);
  EXPECT_LT(rig.result.amplification[0][399], 1e-15f);
}

TEST(Accuracy, LumpedMassAtZeroHertzIsExactlyOne) {
  for (int form : {0, 1}) {
    AnalysisRig rig(SiteProfile(), Settings(1, form, "0.05", "0", "10", 1, 0), 100);
    rig.driver.BtnAmplitudeClick();
    for (int m = 0; m < 4; ++m) EXPECT_EQ(rig.result.amplification[m][0], 1.0f) << form << " " << m;
    // The row labelled 0 Hz still carries the period of the next sample.
    EXPECT_EQ(rig.result.period[0], rig.result.period[1]);
  }
}

}  // namespace
