#include "windows/SettingsRules.h"

#include "analysis/AnalysisTexts.h"
#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"

std::optional<MessageBox> ScaleProblem(ScaleKind scale, float upper, float lower) {
  const char* text = nullptr;
  if (lower < 0.0f || upper < 0.0f) {
    text = "縦横軸の目盛りに負の値は設定できません";
  } else if (lower >= upper) {
    text = "縦横軸の目盛りこの値を設定できません";
  } else if (scale != ScaleKind::Linear && lower == 0.0f) {
    // Only 0 is linear: the charts draw any other index (none chosen, from a
    // hand-edited settings file) logarithmically, so it must pass this rule.
    text = "対数目盛りの原点に0を設定できません";
  }
  if (text == nullptr) return std::nullopt;
  return ErrorBox(text, kScaleErrorCaption);
}

bool CheckScale(ScaleKind scale, float upper, float lower, MessagePort& messages) {
  const std::optional<MessageBox> problem = ScaleProblem(scale, upper, lower);
  if (problem) messages.Show(*problem);
  return !problem;
}

bool CheckDampingRatio(const std::string& dampingText, MessagePort& messages) {
  if (!NegativeDampingRatio(dampingText)) return true;
  messages.Show(ErrorBox(kNegativeDampingRatio, kDampingErrorCaption));
  return false;
}

SettledSettings SettleAppliedSettings(const AnalysisSettings& s) {
  SettledSettings settled;
  AxisLimits& l = settled.limits;
  l.xLower = StrToSingle(s.xLower);
  l.xUpper = StrToSingle(s.xUpper);
  settled.problem = ScaleProblem(s.xScale, l.xUpper, l.xLower);
  if (settled.problem) return settled;
  l.yLower = StrToSingle(s.yLower);
  l.yUpper = StrToSingle(s.yUpper);
  settled.problem = ScaleProblem(s.yScale, l.yUpper, l.yLower);
  if (!settled.problem && NegativeDampingRatio(s.dampingText)) {
    settled.problem = ErrorBox(kNegativeDampingRatio, kDampingErrorCaption);
  }
  return settled;
}

std::optional<MessageBox> AppliedSettingsProblem(const AnalysisSettings& s) { return SettleAppliedSettings(s).problem; }

bool CheckAppliedSettings(const AnalysisSettings& s, MessagePort& messages) {
  const std::optional<MessageBox> problem = AppliedSettingsProblem(s);
  if (problem) messages.Show(*problem);
  return !problem;
}

std::array<bool, kLayerBoxCount> EnableLayerBoxes(int n) {
  std::array<bool, kLayerBoxCount> enabled{};
  if (n >= 1 && n <= kLayerBoxCount) {
    for (int i = 0; i < n; ++i) enabled[i] = true;
  }
  return enabled;
}
