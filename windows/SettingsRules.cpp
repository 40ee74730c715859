#include "windows/SettingsRules.h"

#include "platform/CheckedFloat.h"

namespace {
constexpr const char* kScaleErrorCaption = "軸目盛り設定エラー";
}

bool CheckScale(int scale, float upper, float lower, MessagePort& messages) {
  const char* text = nullptr;
  if (lower < 0.0f || upper < 0.0f) {
    text = "縦横軸の目盛りに負の値は設定できません";
  } else if (lower >= upper) {
    text = "縦横軸の目盛りこの値を設定できません";
  } else if (scale != 0 && lower == 0.0f) {
    // Only 0 is linear: the charts draw any other index (none chosen, from a
    // hand-edited settings file) logarithmically, so it must pass this rule.
    text = "対数目盛りの原点に0を設定できません";
  }
  if (text == nullptr) return true;
  messages.Show(ErrorBox(text, kScaleErrorCaption));
  return false;
}

std::array<bool, kLayerBoxCount> EnableLayerBoxes(int n) {
  std::array<bool, kLayerBoxCount> enabled{};
  if (n >= 1 && n <= kLayerBoxCount) {
    for (int i = 0; i < n; ++i) enabled[i] = true;
  }
  return enabled;
}
