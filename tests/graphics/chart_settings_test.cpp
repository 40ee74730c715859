#include "graphics/ChartSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "RecordingCanvas.h"
#include "platform/Errors.h"

namespace {

TEST(ScaleStep, LinearAndLogarithmicSteps) {
  EXPECT_EQ(ScaleStep(0.0f, 20.0f, 4, ScaleKind::Linear), 5.0f);
  EXPECT_EQ(ScaleStep(0.0f, 5.0f, 5, ScaleKind::Linear), 1.0f);
  EXPECT_EQ(ScaleStep(0.1f, 10.0f, 2, ScaleKind::Logarithmic), 10.0f);
  // Evaluated in double and rounded once: 1/3 is the float32 nearest to 1/3,
  // and the fifth root of 100 over 0.01..1 is 2.5118864f.
  EXPECT_EQ(ScaleStep(0.0f, 1.0f, 3, ScaleKind::Linear), 1.0f / 3.0f);
  EXPECT_EQ(ScaleStep(0.01f, 1.0f, 5, ScaleKind::Logarithmic), 2.5118864f);
  EXPECT_EQ(ScaleStep(0.1f, 0.7f, 3, ScaleKind::Linear), static_cast<float>((static_cast<double>(0.7f) - 0.1f) / 3));
  EXPECT_THROW(ScaleStep(0.0f, 5.0f, 0, ScaleKind::Linear), FloatingPointFault);
  EXPECT_THROW(ScaleStep(0.0f, 5.0f, 2, ScaleKind::Logarithmic), FloatingPointFault);
}

TEST(LayerBoxes, CollectCopiesAllMarksButCountsOnlyTheLayers) {
  std::array<bool, kMaxLayers> marks{};
  marks[4] = true;
  std::array<bool, kMaxLayers> show{};
  show[0] = true;
  EXPECT_FALSE(CollectDisplayLayers(marks, 3, show));
  EXPECT_EQ(show, marks);  // box 5 is copied though it does not count
  EXPECT_TRUE(CollectDisplayLayers(marks, 5, show));
  marks = {};
  marks[19] = true;
  EXPECT_TRUE(CollectDisplayLayers(marks, 29, show));  // never beyond the 20 flags
  EXPECT_FALSE(CollectDisplayLayers(marks, 0, show));
}

struct ChartUnderTest {
  RecordingCanvas canvas{441, 441};
  TMyGraph chart{canvas};
};

TEST(ApplySettings, SetsTheAxesFromTheSettings) {
  AnalysisSettings s;
  s.xDivisions = 4;
  s.yDivisions = 3;
  s.xLower = "0.1";
  s.xUpper = "10";
  s.xScale = ScaleKind::Logarithmic;
  s.yUpper = "30";
  s.xQuantity = XQuantity::Frequency;
  s.xSubDivisions = 2;
  s.ySubDivisions = 0;
  ChartUnderTest t;
  t.chart.SubX = 5;
  t.chart.SubY = 5;
  ApplySettings(s, &t.chart, SubDivisions::Keep, nullptr);
  EXPECT_EQ(t.chart.NGridX, 4);
  EXPECT_EQ(t.chart.NGridY, 3);
  EXPECT_EQ(t.chart.SValueX, 0.1f);
  EXPECT_EQ(t.chart.VValueX, static_cast<float>(std::exp(std::log(10.0 / static_cast<double>(0.1f)) / 4)));
  EXPECT_EQ(t.chart.SValueY, 0.0f);
  EXPECT_EQ(t.chart.VValueY, 10.0f);
  EXPECT_FALSE(t.chart.LinearX);
  EXPECT_TRUE(t.chart.LinearY);
  EXPECT_EQ(t.chart.TitleX, "振動数 (Hz)");
  // The redraw keeps the counts the last apply gave; the apply copies them.
  EXPECT_EQ(t.chart.SubX, 5);
  EXPECT_EQ(t.chart.SubY, 5);
  ApplySettings(s, &t.chart, SubDivisions::FromSettings, nullptr);
  EXPECT_EQ(t.chart.SubX, 2);
  EXPECT_EQ(t.chart.SubY, 0);
  s.xQuantity = XQuantity::Period;
  ApplySettings(s, &t.chart, SubDivisions::Keep, nullptr);
  EXPECT_EQ(t.chart.TitleX, "周期 (s)");
}

TEST(ApplySettings, PointChoiceSetsTheCountAndNoChoiceKeepsIt) {
  AnalysisSettings s;
  int count = 7;
  for (const auto& [choice, expected] : {std::pair{0, 100}, {2, 400}, {1, 200}, {-1, 200}, {3, 200}}) {
    s.pointChoice = ChoiceOf<PointChoice>(choice);
    ApplySettings(s, nullptr, SubDivisions::FromSettings, &count);
    EXPECT_EQ(count, expected) << choice;
  }
}

TEST(ApplySettings, AFaultLeavesChartAndCountAsTheyWere) {
  AnalysisSettings s;
  s.yDivisions = 0;  // a zero division count divides by zero
  s.pointChoice = PointChoice::Points400;
  ChartUnderTest t;
  t.chart.NGridX = 9;
  t.chart.TitleX = "before";
  int count = 100;
  EXPECT_THROW(ApplySettings(s, &t.chart, SubDivisions::FromSettings, &count), FloatingPointFault);
  EXPECT_EQ(t.chart.NGridX, 9);
  EXPECT_EQ(t.chart.TitleX, "before");
  EXPECT_EQ(count, 100);
  s.yDivisions = 4;
  s.xLower = "abc";
  EXPECT_THROW(ApplySettings(s, &t.chart, SubDivisions::FromSettings, &count), ConversionError);
  EXPECT_EQ(t.chart.NGridX, 9);
  EXPECT_EQ(count, 100);
}

}  // namespace
