#pragma once
// Records what the analysis does to the windows, in order, and the message
// boxes it shows; plus the profiles and settings the analysis tests share.
#include <optional>
#include <string>
#include <vector>

#include "FilePortsFake.h"
#include "TestProfiles.h"
#include "analysis/AnalysisDriver.h"
#include "platform/MessageBox.h"

class FakeAnalysisWindows : public AnalysisWindows {
 public:
  std::vector<std::string> calls;
  std::string methodLabel = "(unset)";
  std::string dampingLabel = "(unset)";
  std::optional<bool> naturalModesEnabled;
  std::optional<NaturalModes> modes;
  bool anyLayerChosen = true;  // what CollectDisplayLayers answers

  bool CollectDisplayLayers() override { return Log("collect"), anyLayerChosen; }
  void SetMethodLabel(const std::string& text) override { Log("Label4 " + text), methodLabel = text; }
  void SetDampingLabel(const std::string& text) override { Log("Label5 " + text), dampingLabel = text; }
  void EnableNaturalModes(bool enabled) override {
    Log(enabled ? "CBTest on" : "CBTest off");
    naturalModesEnabled = enabled;
  }
  void ShowNaturalModes(const NaturalModes& m) override { Log("modes"), modes = m; }
  void ClearChart() override { Log("clear"); }
  void DrawAmplificationChart() override { Log("draw"); }
  void EnableAmplificationList() override { Log("CheckBox1 on"); }
  void RefreshAmplificationList() override { Log("list"); }
  void ShowSettingsWindow() override { Log("settings"); }

  bool Called(const std::string& call) const {
    for (const auto& c : calls) {
      if (c == call) return true;
    }
    return false;
  }

 private:
  void Log(std::string call) { calls.push_back(std::move(call)); }
};

// A soft alluvial site over engineering bedrock.
inline SoilProfile SiteProfile() {
  return MakeProfile({{2.0f, 1.6f, 120.0f}, {3.5f, 1.7f, 150.0f}, {4.0f, 1.8f, 180.0f}, {6.0f, 1.9f, 250.0f}},
                     2.0f, 500.0f);
}

// Everything an analysis needs, wired together. The driver holds references
// to the other members, so a rig never moves.
struct AnalysisRig {
  SoilProfile profile;
  AmplificationResult result;
  AnalysisSettings settings;
  FakeAnalysisWindows windows;
  RecordingMessages messages;
  AnalysisDriver driver{profile, result, settings, windows, messages};

  explicit AnalysisRig(SoilProfile p = SiteProfile(), AnalysisSettings s = {}, int points = 200)
      : profile(std::move(p)), settings(std::move(s)) {
    result.pointCount = points;
  }
  AnalysisRig(const AnalysisRig&) = delete;
  AnalysisRig& operator=(const AnalysisRig&) = delete;
};

// Settings with the horizontal axis given; the rest are the defaults.
inline AnalysisSettings Axis(std::string lower, std::string upper, XQuantity quantity, ScaleKind scale) {
  AnalysisSettings s;
  s.xLower = std::move(lower);
  s.xUpper = std::move(upper);
  s.xQuantity = quantity;
  s.xScale = scale;
  return s;
}

// Runs an action and returns the text of the error that ended it.
template <typename Action>
std::string ErrorText(Action action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no error)";
}
