// The sample grid: each value follows the sampling rule bit for bit. The
// expected values are worked out here in plain double arithmetic, rounded to
// float32 where the rule stores a value.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "tests/analysis/FakeAnalysisWindows.h"

namespace {

void FillSamples(AmplificationResult& result, float value) {
  result.frequency.fill(value);
  result.period.fill(value);
  result.xValue.fill(value);
}

TEST(FrequencySamples, LinearPeriodAxisFromZero) {
  AnalysisRig rig(SiteProfile(), Axis("0", "5", XQuantity::Period, ScaleKind::Linear), 200);
  rig.driver.BuildFrequencySamples();
  const auto& r = rig.result;

  const float step = static_cast<float>(5.0 / 200);
  EXPECT_EQ(step, 0.025f);
  for (int j = 0; j < 200; ++j) {
    // Period 0 has no frequency: sample 0 takes the first step instead.
    const float f = static_cast<float>(1.0 / (j == 0 ? step : j * static_cast<double>(step)));
    const float period = static_cast<float>(1.0 / f);
    ASSERT_EQ(r.frequency[j], f) << j;
    ASSERT_EQ(r.period[j], period) << j;
    ASSERT_EQ(r.xValue[j], period) << j;
  }
  EXPECT_FLOAT_EQ(r.frequency[0], 40.0f);
  EXPECT_FLOAT_EQ(r.period[0], 0.025f);
  EXPECT_EQ(r.period[1], r.period[0]);
  EXPECT_FLOAT_EQ(r.period[199], 4.975f);  // the upper limit itself is not sampled
}

TEST(FrequencySamples, LinearFrequencyAxisFromZeroBorrowsTheSecondPeriod) {
  AnalysisRig rig(SiteProfile(), Axis("0", "10", XQuantity::Frequency, ScaleKind::Linear), 100);
  rig.driver.BuildFrequencySamples();
  const auto& r = rig.result;

  const double step = static_cast<float>(10.0 / 100);
  for (int j = 0; j < 100; ++j) {
    const float f = static_cast<float>(j * step);
    ASSERT_EQ(r.frequency[j], f) << j;
    ASSERT_EQ(r.xValue[j], f) << j;
    if (j > 0) {
      ASSERT_EQ(r.period[j], static_cast<float>(1.0 / f)) << j;
    }
  }
  EXPECT_EQ(r.frequency[0], 0.0f);
  EXPECT_EQ(r.xValue[0], 0.0f);
  EXPECT_EQ(r.period[0], r.period[1]);
  EXPECT_FLOAT_EQ(r.period[0], 10.0f);
}

TEST(FrequencySamples, LogarithmicAxesOfPeriodAndFrequency) {
  {
    AnalysisRig rig(SiteProfile(), Axis("0.1", "10", XQuantity::Period, ScaleKind::Logarithmic), 100);
    rig.driver.BuildFrequencySamples();
    const auto& r = rig.result;
    const double lower = 0.1f;
    const float step = static_cast<float>(std::log(10.0f / lower) / 100);
    for (int j = 0; j < 100; ++j) {
      // The exponent is rounded to float32 before exp for a period axis.
      const float x = static_cast<float>(std::log(lower) + j * static_cast<double>(step));
      const float f = static_cast<float>(1.0 / std::exp(static_cast<double>(x)));
      ASSERT_EQ(r.frequency[j], f) << j;
      ASSERT_EQ(r.period[j], static_cast<float>(1.0 / f)) << j;
      ASSERT_EQ(r.xValue[j], r.period[j]) << j;
    }
    EXPECT_FLOAT_EQ(r.frequency[0], 10.0f);
    EXPECT_NEAR(r.period[1] / r.period[0], std::pow(100.0, 0.01), 1e-6);
    EXPECT_NEAR(r.period[99], 9.55, 0.005);
  }
  {
    AnalysisRig rig(SiteProfile(), Axis("0.5", "20", XQuantity::Frequency, ScaleKind::Logarithmic), 400);
    rig.driver.BuildFrequencySamples();
    const auto& r = rig.result;
    const double lower = 0.5f;
    const float step = static_cast<float>(std::log(20.0 / lower) / 400);
    for (int j = 0; j < 400; ++j) {
      const float f = static_cast<float>(std::exp(std::log(lower) + j * static_cast<double>(step)));
      ASSERT_EQ(r.frequency[j], f) << j;
      ASSERT_EQ(r.period[j], static_cast<float>(1.0 / f)) << j;
      ASSERT_EQ(r.xValue[j], f) << j;
    }
  }
}

TEST(FrequencySamples, DampingRatioReachesEveryLayerAndTheBaseOnly) {
  AnalysisRig rig;
  rig.settings.dampingText = std::string(" 0.07");
  rig.profile.layers[5].dampingRatio = 9.0f;  // beyond the base of 4 layers
  rig.driver.BuildFrequencySamples();
  for (int r = 0; r <= 4; ++r) EXPECT_EQ(rig.profile.layers[r].dampingRatio, 0.07f) << r;
  EXPECT_EQ(rig.profile.layers[5].dampingRatio, 9.0f);
}

TEST(FrequencySamples, FaultsStopBeforeTheFirstValueTheyWouldSpoil) {
  // A logarithmic axis from 0: upper / lower.
  {
    AnalysisRig rig(SiteProfile(), Axis("0", "5", XQuantity::Period, ScaleKind::Logarithmic), 200);
    FillSamples(rig.result, 7.0f);
    EXPECT_EQ(ErrorText([&] { rig.driver.BuildFrequencySamples(); }), "0 による浮動小数点数除算");
    EXPECT_EQ(rig.result.frequency[0], 7.0f);
    EXPECT_EQ(rig.result.period[0], 7.0f);
    EXPECT_EQ(rig.profile.layers[0].dampingRatio, 0.0f);
  }
  // A linear period axis from 0 to 0: 1 / step.
  {
    AnalysisRig rig(SiteProfile(), Axis("0", "0", XQuantity::Period, ScaleKind::Linear), 100);
    FillSamples(rig.result, 7.0f);
    EXPECT_EQ(ErrorText([&] { rig.driver.BuildFrequencySamples(); }), "0 による浮動小数点数除算");
    EXPECT_EQ(rig.result.frequency[0], 7.0f);
  }
  // A linear frequency axis from 0 to 0: sample 0 has no period to borrow.
  {
    AnalysisRig rig(SiteProfile(), Axis("0", "0", XQuantity::Frequency, ScaleKind::Linear), 100);
    FillSamples(rig.result, 7.0f);
    EXPECT_EQ(ErrorText([&] { rig.driver.BuildFrequencySamples(); }), "0 による浮動小数点数除算");
    EXPECT_EQ(rig.result.period[0], 7.0f);
  }
  // An unconverted limit: nothing is written.
  {
    AnalysisRig rig(SiteProfile(), Axis("0", "5s", XQuantity::Period, ScaleKind::Linear), 100);
    FillSamples(rig.result, 7.0f);
    EXPECT_EQ(ErrorText([&] { rig.driver.BuildFrequencySamples(); }), "'5s' は浮動小数点数ではありません");
    EXPECT_EQ(rig.result.frequency[0], 7.0f);
  }
  // An unconverted damping ratio: the frequencies are already rewritten, the
  // periods and the layers' ratios are not.
  {
    AnalysisRig rig(SiteProfile(), Axis("0", "10", XQuantity::Frequency, ScaleKind::Linear), 100);
    rig.settings.dampingText = std::string("0.05%");
    FillSamples(rig.result, 7.0f);
    EXPECT_EQ(ErrorText([&] { rig.driver.BuildFrequencySamples(); }), "'0.05%' は浮動小数点数ではありません");
    EXPECT_EQ(rig.result.frequency[99], static_cast<float>(99 * static_cast<double>(0.1f)));
    EXPECT_EQ(rig.result.period[1], 7.0f);
    EXPECT_EQ(rig.result.xValue[1], 7.0f);
    EXPECT_EQ(rig.profile.layers[0].dampingRatio, 0.0f);
  }
  // A sample count the settings never give is refused before anything moves.
  {
    AnalysisRig rig(SiteProfile(), Axis("0", "5", XQuantity::Period, ScaleKind::Linear), 401);
    FillSamples(rig.result, 7.0f);
    EXPECT_THROW(rig.driver.BuildFrequencySamples(), std::logic_error);
    EXPECT_EQ(rig.result.frequency[0], 7.0f);
  }
}

}  // namespace

namespace {

// A settings file can leave a radio group with no item chosen; such a group
// means its second item, as the chart and the result file read it too.
TEST(FrequencySamples, GroupsWithNoItemChosenMeanTheirSecondItem) {
  AnalysisRig none(SiteProfile(), Axis("0.1", "10", XQuantity::None, ScaleKind::None), 100);
  AnalysisRig second(SiteProfile(), Axis("0.1", "10", XQuantity::Frequency, ScaleKind::Logarithmic), 100);
  none.driver.BuildFrequencySamples();
  second.driver.BuildFrequencySamples();
  EXPECT_EQ(none.result.frequency, second.result.frequency);
  EXPECT_EQ(none.result.xValue, second.result.xValue);
}

}  // namespace
