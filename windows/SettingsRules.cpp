#include "windows/SettingsRules.h"

#include "analysis/AnalysisTexts.h"
#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"

bool CheckScale(ScaleKind scale, float upper, float lower, MessagePort& messages) {
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
  if (text == nullptr) return true;
  messages.Show(ErrorBox(text, kScaleErrorCaption));
  return false;
}

bool CheckDampingRatio(const std::string& dampingText, MessagePort& messages) {
  if (!NegativeDampingRatio(dampingText)) return true;
  messages.Show(ErrorBox(kNegativeDampingRatio, kDampingErrorCaption));
  return false;
}

bool CheckAppliedSettings(const AnalysisSettings& s, MessagePort& messages) {
  return CheckScale(s.xScale, StrToSingle(s.xUpper), StrToSingle(s.xLower), messages) &&
         CheckScale(s.yScale, StrToSingle(s.yUpper), StrToSingle(s.yLower), messages) &&
         CheckDampingRatio(s.dampingText, messages);
}

std::array<bool, kLayerBoxCount> EnableLayerBoxes(int n) {
  std::array<bool, kLayerBoxCount> enabled{};
  if (n >= 1 && n <= kLayerBoxCount) {
    for (int i = 0; i < n; ++i) enabled[i] = true;
  }
  return enabled;
}
