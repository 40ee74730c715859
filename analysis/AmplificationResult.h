#pragma once
// The samples and amplification ratios of the last analysis.
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "profile/SoilProfile.h"

inline constexpr int kMaxPoints = 400;
// The sample counts the settings offer, by choice index 0, 1, 2.
inline constexpr std::array<int32_t, 3> kPointCounts{100, 200, kMaxPoints};

// A sample whose value could not be computed (a singular frequency-response
// system). Every reader shows it as a gap, never as a number.
inline constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();
inline bool IsNoValue(float value) { return std::isnan(value); }

struct AmplificationResult {
  int32_t pointCount = kMaxPoints;  // N: one of kPointCounts
  // Allocated once with room for kMaxPoints; only the first N entries are meaningful.
  std::array<float, kMaxPoints> frequency{};  // Hz
  std::array<float, kMaxPoints> period{};     // s
  std::array<float, kMaxPoints> xValue{};     // period or frequency, as charted
  // Slot m = layer index m; an empty vector is an empty slot.
  std::array<std::vector<float>, kMaxLayers> amplification;
  std::array<float, kMaxLayers> eigenValues{};  // lumped-mass λ = ω², ascending
  // True once a method has run to its end for the profile it was given; an
  // interrupted or refused analysis leaves it false, so nothing half-computed
  // is listed or saved as a result.
  bool complete = false;

  bool HasSlot(int layerIndex) const { return !amplification[layerIndex].empty(); }
};
