#include "profile/SoilProfile.h"

#include "platform/CheckedFloat.h"

void ComputeDerivedValues(SoilProfile& profile) {
  float depth = 0.0f;
  for (int i = 0; i < profile.layerCount; ++i) {
    depth = checked::StoreSingle(static_cast<double>(depth) + profile.layers[i].thickness);
    profile.layers[i].bottomDepth = depth;
  }
  profile.totalDepth = depth;
  profile.maxVs = 0.0f;
  for (int i = 0; i < profile.layerCount; ++i) {
    if (profile.layers[i].vs > profile.maxVs) profile.maxVs = profile.layers[i].vs;
  }
}

std::optional<std::string> NonPositiveVelocity(const SoilProfile& profile) {
  const int n = profile.layerCount;
  if (n < 1 || n >= kLayerRecords) return std::nullopt;
  for (int i = 0; i <= n; ++i) {
    // Negated so that a value that is not a number counts too.
    if (!(profile.layers[i].vs > 0.0f)) {
      const std::string number = std::to_string(i + 1);
      return (i == n ? "基盤層（第" + number + "層）" : "第" + number + "層") +
             "のＳ波速度に0以下の値は設定できません！";
    }
  }
  return std::nullopt;
}
