#pragma once
// The checks and derived values of the settings window that need no window.
#include <array>

#include "platform/MessageBox.h"
#include "profile/SoilProfile.h"

inline constexpr int kLayerBoxCount = kMaxLayers;

// Checks one axis range; the first failing rule wins and is reported in a box
// with the caption "軸目盛り設定エラー" and the exclamation icon:
//   a negative limit, then lower >= upper, then a zero origin on a
//   logarithmic scale. Returns true when the range is good. Scale 0 is
//   linear; 1, and any other index (no item chosen), is logarithmic, as the
//   charts draw it.
bool CheckScale(int scale, float upper, float lower, MessagePort& messages);

// The step between adjacent main grid lines: (upper - lower) / divisions for
// a linear scale (0), exp(ln(upper / lower) / divisions) - the ratio between
// adjacent lines - for a logarithmic one (any other index). Evaluated in double, rounded
// once to float32. Raises FloatingPointFault for a zero division count or a
// non-positive logarithm argument, as the arithmetic would.
float ScaleStep(float lower, float upper, int divisions, int scale);

// The enabled state of the 20 layer boxes for a profile of n layers: boxes 1
// to n when 1 <= n <= 20, none otherwise. Check marks are a separate matter.
std::array<bool, kLayerBoxCount> EnableLayerBoxes(int n);

// Copies the 20 check marks into showLayer (index 0 = layer 1) and tells
// whether one of the first layerCount marks is set (never more than 20 looked
// at; none for a count of 0 or less).
bool CollectDisplayLayers(const std::array<bool, kLayerBoxCount>& marks, int layerCount,
                          std::array<bool, kLayerBoxCount>& showLayer);
