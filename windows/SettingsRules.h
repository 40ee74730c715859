#pragma once
// The checks and derived values of the settings window that need no window.
#include <array>

#include "platform/MessageBox.h"

inline constexpr int kLayerBoxCount = 20;

// Checks one axis range; the first failing rule wins and is reported in a box
// with the caption "軸目盛り設定エラー" and the exclamation icon:
//   a negative limit, then lower >= upper, then a zero origin on a
//   logarithmic scale. Returns true when the range is good. Scale 0 is
//   linear; 1, and any other index (no item chosen), is logarithmic, as the
//   charts draw it.
bool CheckScale(int scale, float upper, float lower, MessagePort& messages);

// The enabled state of the 20 layer boxes for a profile of n layers: boxes 1
// to n when 1 <= n <= 20, none otherwise. Check marks are a separate matter.
std::array<bool, kLayerBoxCount> EnableLayerBoxes(int n);
