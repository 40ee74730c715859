#include "windows/AmplificationList.h"

#include <gtest/gtest.h>

namespace {

AmplificationResult Result(int layers, int points) {
  AmplificationResult r;
  r.pointCount = points;
  for (int m = 0; m < layers; ++m) r.amplification[m].assign(points, 1.0f);
  for (int j = 0; j < points; ++j) r.frequency[j] = 0.5f * static_cast<float>(j);
  return r;
}

TEST(AmplificationTable, ShapeFollowsLayersAndSamples) {
  const AmplificationTable t = BuildAmplificationTable(Result(5, 200), 5);
  EXPECT_EQ(t.columns, 7);
  EXPECT_EQ(t.rows, 201);
  ASSERT_EQ(t.cells.size(), 201u);
  for (const auto& row : t.cells) EXPECT_EQ(row.size(), 7u);
}

TEST(AmplificationTable, HeadersAndNumberForms) {
  AmplificationResult r = Result(20, 100);
  r.frequency[4] = 2.0f;
  r.amplification[19][4] = 12.3456f;
  const AmplificationTable t = BuildAmplificationTable(r, 20);
  EXPECT_EQ(t.Cell(0, 0), "振動数(Hz)");
  EXPECT_EQ(t.Cell(1, 0), " 周期 (s)");
  EXPECT_EQ(t.Cell(2, 0), " 第 1 層");
  EXPECT_EQ(t.Cell(21, 0), " 第20 層");
  EXPECT_EQ(t.Cell(0, 5), "    2.000");
  EXPECT_EQ(t.Cell(1, 5), "    0.500");
  EXPECT_EQ(t.Cell(21, 5), "   12.346");
  EXPECT_EQ(t.Cell(2, 5), "    1.000");
}

TEST(AmplificationTable, ZeroFrequencyHasAnEmptyPeriod) {
  const AmplificationTable t = BuildAmplificationTable(Result(1, 100), 1);
  EXPECT_EQ(t.Cell(0, 1), "    0.000");
  EXPECT_EQ(t.Cell(1, 1), "");
  EXPECT_EQ(t.Cell(1, 2), "    2.000");  // 1 / 0.5 Hz
}

TEST(AmplificationTable, SampleWithoutValueIsShownPlainly) {
  AmplificationResult r = Result(2, 100);
  r.amplification[1][3] = kNoValue;
  const AmplificationTable t = BuildAmplificationTable(r, 2);
  EXPECT_EQ(t.Cell(3, 4), "      ---");
  EXPECT_EQ(t.Cell(2, 4), "    1.000");
}

TEST(AmplificationTable, RebuildingSmallerLeavesNoStaleCells) {
  AmplificationTable t = BuildAmplificationTable(Result(10, 400), 10);
  t = BuildAmplificationTable(Result(3, 100), 3);
  EXPECT_EQ(t.columns, 5);
  EXPECT_EQ(t.rows, 101);
  EXPECT_EQ(t.cells.size(), 101u);
  EXPECT_EQ(t.cells.back().size(), 5u);
}

}  // namespace
