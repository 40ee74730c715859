#pragma once
// The checks and derived values of the settings window that need no window.
#include <array>
#include <optional>
#include <string>

#include "analysis/AnalysisSettings.h"
#include "graphics/ChartSettings.h"
#include "platform/MessageBox.h"
#include "profile/SoilProfile.h"

inline constexpr int kLayerBoxCount = kMaxLayers;

// Checks one axis range; the first failing rule wins and is reported in a box
// with the caption "軸目盛り設定エラー" and the exclamation icon:
//   a negative limit, then lower >= upper, then a zero origin on a
//   logarithmic scale. Returns true when the range is good. Any scale but
//   Linear (None, from a hand-edited file, included) is logarithmic, as the
//   charts draw it.
bool CheckScale(ScaleKind scale, float upper, float lower, MessagePort& messages);
// The same rules, the box as a value; nothing when the range is good.
std::optional<MessageBox> ScaleProblem(ScaleKind scale, float upper, float lower);

// Refuses a damping ratio below 0 in a box with the caption "減衰比設定エラー"
// and the exclamation icon; true when the ratio may be analysed. A text that
// is not a number passes here and fails where the analysis converts it.
bool CheckDampingRatio(const std::string& dampingText, MessagePort& messages);

// The checks of the settings window's apply, in its order: the horizontal
// range, the vertical range, the damping ratio. The first failing check is
// reported and the result is false. A limit that is not a number throws
// ConversionError.
bool CheckAppliedSettings(const AnalysisSettings& settings, MessagePort& messages);
// The same checks, the first failing one's box as a value.
std::optional<MessageBox> AppliedSettingsProblem(const AnalysisSettings& settings);

// The checks with the limits they read: each limit text is converted once,
// the lower before the upper, the horizontal pair before the vertical one and
// only once the horizontal range passed. The limits are meaningful when there
// is no problem.
struct SettledSettings {
  std::optional<MessageBox> problem;
  AxisLimits limits;
};
SettledSettings SettleAppliedSettings(const AnalysisSettings& settings);

// The enabled state of the 20 layer boxes for a profile of n layers: boxes 1
// to n when 1 <= n <= 20, none otherwise. Check marks are a separate matter.
std::array<bool, kLayerBoxCount> EnableLayerBoxes(int n);
