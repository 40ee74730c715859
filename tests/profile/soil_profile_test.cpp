#include "profile/SoilProfile.h"

#include <gtest/gtest.h>

namespace {

SoilProfile Layers(std::initializer_list<std::pair<float, float>> thicknessAndVs) {
  SoilProfile p;
  for (auto [h, vs] : thicknessAndVs) {
    p.layers[p.layerCount].thickness = h;
    p.layers[p.layerCount].vs = vs;
    ++p.layerCount;
  }
  return p;
}

TEST(ComputeDerivedValues, RunningDepthsTotalAndLargestVelocity) {
  SoilProfile p = Layers({{2, 150}, {3, 90}, {5, 300}});
  p.layers[3].vs = 800;  // base: never counts for maxVs
  ComputeDerivedValues(p);
  EXPECT_EQ(p.layers[0].bottomDepth, 2.0f);
  EXPECT_EQ(p.layers[1].bottomDepth, 5.0f);
  EXPECT_EQ(p.layers[2].bottomDepth, 10.0f);
  EXPECT_EQ(p.totalDepth, 10.0f);
  EXPECT_EQ(p.maxVs, 300.0f);
}

TEST(ComputeDerivedValues, AccumulatesInFloat32) {
  SoilProfile p = Layers({{0.1f, 1}, {0.2f, 1}, {0.3f, 1}});
  ComputeDerivedValues(p);
  const float expected = (0.1f + 0.2f) + 0.3f;
  EXPECT_EQ(p.totalDepth, expected);
  EXPECT_EQ(p.layers[1].bottomDepth, 0.1f + 0.2f);
}

TEST(ComputeDerivedValues, NonPositiveVelocitiesLeaveMaxVsZero) {
  SoilProfile p = Layers({{1, 0}, {1, -50}});
  ComputeDerivedValues(p);
  EXPECT_EQ(p.maxVs, 0.0f);
}

TEST(ComputeDerivedValues, LeavesRecordsBeyondTheBaseAlone) {
  SoilProfile p = Layers({{1, 100}, {1, 100}, {1, 100}, {1, 100}, {1, 100}});
  ComputeDerivedValues(p);
  p.layerCount = 2;
  p.layers[0].thickness = 4;
  ComputeDerivedValues(p);
  EXPECT_EQ(p.totalDepth, 5.0f);
  EXPECT_EQ(p.layers[4].bottomDepth, 5.0f);  // from the longer profile, untouched
}

}  // namespace
