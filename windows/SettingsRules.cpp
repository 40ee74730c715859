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

std::optional<MessageBox> AppliedSettingsProblem(const AnalysisSettings& s) {
  if (auto problem = ScaleProblem(s.xScale, StrToSingle(s.xUpper), StrToSingle(s.xLower))) return problem;
  if (auto problem = ScaleProblem(s.yScale, StrToSingle(s.yUpper), StrToSingle(s.yLower))) return problem;
  if (NegativeDampingRatio(s.dampingText)) return ErrorBox(kNegativeDampingRatio, kDampingErrorCaption);
  return std::nullopt;
}

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
