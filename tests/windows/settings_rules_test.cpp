#include "windows/SettingsRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct RecordingMessages : MessagePort {
  std::vector<MessageBox> shown;
  MessageResult Show(const MessageBox& box) override {
    shown.push_back(box);
    return MessageResult::Ok;
  }
};

// The one box CheckScale showed, or an empty text when it passed silently.
std::string CheckScaleMessage(ScaleKind scale, float upper, float lower) {
  RecordingMessages messages;
  const bool ok = CheckScale(scale, upper, lower, messages);
  EXPECT_EQ(ok, messages.shown.empty());
  if (messages.shown.empty()) return "";
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, "軸目盛り設定エラー");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
  return messages.shown[0].text;
}

TEST(CheckScale, FirstFailingRuleWins) {
  const std::string negative = "縦横軸の目盛りに負の値は設定できません";
  const std::string order = "縦横軸の目盛りこの値を設定できません";
  const std::string zeroLog = "対数目盛りの原点に0を設定できません";

  EXPECT_EQ(CheckScaleMessage(ScaleKind::Linear, 5.0f, 0.0f), "");
  EXPECT_EQ(CheckScaleMessage(ScaleKind::Logarithmic, 10.0f, 0.1f), "");
  EXPECT_EQ(CheckScaleMessage(ScaleKind::Logarithmic, 5.0f, 0.0f), zeroLog);
  EXPECT_EQ(CheckScaleMessage(ScaleKind::Linear, 5.0f, 5.0f), order);
  EXPECT_EQ(CheckScaleMessage(ScaleKind::Linear, 1.0f, 5.0f), order);
  // Negative values are reported before the order and the zero origin.
  EXPECT_EQ(CheckScaleMessage(ScaleKind::Logarithmic, 5.0f, -1.0f), negative);
  EXPECT_EQ(CheckScaleMessage(ScaleKind::Linear, -1.0f, 2.0f), negative);
  EXPECT_EQ(CheckScaleMessage(ScaleKind::Logarithmic, 0.0f, 0.0f), order);
  // Without a chosen item (a hand-edited settings file) the charts draw the
  // axis logarithmically, so a zero origin is refused as well.
  EXPECT_EQ(CheckScaleMessage(ScaleKind::None, 5.0f, 0.0f), zeroLog);
}

TEST(LayerBoxes, EnabledFollowTheLayerCount) {
  const auto none = std::array<bool, kMaxLayers>{};
  EXPECT_EQ(EnableLayerBoxes(0), none);
  EXPECT_EQ(EnableLayerBoxes(21), none);
  EXPECT_EQ(EnableLayerBoxes(-3), none);
  std::array<bool, kMaxLayers> all;
  all.fill(true);
  EXPECT_EQ(EnableLayerBoxes(20), all);
  const auto three = EnableLayerBoxes(3);
  EXPECT_TRUE(three[0] && three[1] && three[2]);
  EXPECT_FALSE(three[3]);
}

}  // namespace
