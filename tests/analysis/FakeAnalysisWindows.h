#pragma once
// Records what the analysis does to the windows, in order, and the message
// boxes it shows; plus the profiles and settings the analysis tests share.
#include <optional>
#include <string>
#include <vector>

#include "FilePortsFake.h"
#include "TestProfiles.h"
#include "analysis/Analysis.h"
#include "platform/MessageBox.h"

// Records, in order, what an analysis shows: the steps its outcome reached,
// replayed as the main window shows them.
class FakeAnalysisWindows {
 public:
  std::vector<std::string> calls;
  std::string methodLabel = "(unset)";
  std::string dampingLabel = "(unset)";
  std::optional<bool> naturalModesEnabled;
  std::optional<NaturalModes> modes;
  bool anyLayerChosen = true;  // whether a layer is chosen for the chart

  void Log(std::string call) { calls.push_back(std::move(call)); }
  void EnableNaturalModes(bool enabled) {
    Log(enabled ? "CBTest on" : "CBTest off");
    naturalModesEnabled = enabled;
  }
  void Steps(AnalysisMethod method, const AnalysisOutcome& o) {
    if (o.reach < AnalysisReach::Samples) return;
    const bool transfer = method == AnalysisMethod::TransferMatrix;
    EnableNaturalModes(true);
    if (o.modes) Log("modes"), modes = o.modes;
    if (o.reach < AnalysisReach::Modes) return;
    if (transfer) EnableNaturalModes(false);
    if (o.reach < AnalysisReach::Captions) return;
    if (transfer) Log("Label4 " + o.methodCaption), methodLabel = o.methodCaption;
    Log("Label5 " + o.dampingCaption), dampingLabel = o.dampingCaption;
    if (!transfer) Log("Label4 " + o.methodCaption), methodLabel = o.methodCaption;
  }

  bool Called(const std::string& call) const {
    for (const auto& c : calls) {
      if (c == call) return true;
    }
    return false;
  }
};

// A soft alluvial site over engineering bedrock.
inline SoilProfile SiteProfile() {
  return MakeProfile({{2.0f, 1.6f, 120.0f}, {3.5f, 1.7f, 150.0f}, {4.0f, 1.8f, 180.0f}, {6.0f, 1.9f, 250.0f}}, 2.0f,
                     500.0f);
}

struct AnalysisRig;

// The analysis as the main window runs it, over the pure functions, with
// what it shows recorded in the rig's windows.
struct RigDriver {
  AnalysisRig& rig;
  void BtnAmplitudeClick();
  void AnalyseTransferMatrix() { Method(AnalysisMethod::TransferMatrix); }
  void AnalyseLumpedMass() { Method(AnalysisMethod::LumpedMass); }
  void BuildFrequencySamples();

 private:
  void Take(AnalysisMethod method, AnalysisOutcome& o);
  void Method(AnalysisMethod method);
};

// Everything an analysis needs, wired together. The driver holds a reference
// to the rig, so a rig never moves.
struct AnalysisRig {
  SoilProfile profile;
  AmplificationResult result;
  AnalysisSettings settings;
  FakeAnalysisWindows windows;
  RecordingMessages messages;
  RigDriver driver{*this};

  explicit AnalysisRig(SoilProfile p = SiteProfile(), AnalysisSettings s = {}, int points = 200)
      : profile(std::move(p)), settings(std::move(s)) {
    result.pointCount = points;
  }
  AnalysisRig(const AnalysisRig&) = delete;
  AnalysisRig& operator=(const AnalysisRig&) = delete;
};

inline void RigDriver::Take(AnalysisMethod method, AnalysisOutcome& o) {
  rig.result = std::move(o.result);
  if (o.dampingRatio) rig.profile = WithDampingRatio(rig.profile, *o.dampingRatio);
  rig.windows.Steps(method, o);
  if (o.failure) Raise(*o.failure);
}

inline void RigDriver::BtnAmplitudeClick() {
  AnalysisOutcome o = Analyse(rig.profile, rig.settings, rig.result);
  if (o.reach == AnalysisReach::Refused) Raise(*o.failure);
  rig.windows.Log("collect");
  Take(rig.settings.method, o);
  if (o.notice) {
    rig.messages.Show(*o.notice);
    rig.windows.EnableNaturalModes(false);
    return;
  }
  if (rig.settings.method == AnalysisMethod::LumpedMass) rig.windows.EnableNaturalModes(true);
  if (rig.windows.anyLayerChosen) rig.windows.Log("clear");
  for (const char* call : {"draw", "CheckBox1 on", "list", "settings"}) rig.windows.Log(call);
}

inline void RigDriver::Method(AnalysisMethod method) {
  AnalysisOutcome o = AnalyseWith(method, rig.profile, rig.settings, rig.result);
  Take(method, o);
  rig.windows.Log("draw");
}

inline void RigDriver::BuildFrequencySamples() {
  if (rig.profile.layerCount > kMaxLayers) throw ReportedFailure(ErrorBox(kTooManyLayers, kUnsupportedCaption));
  const float h = ::BuildFrequencySamples(rig.settings, rig.result);
  rig.profile = WithDampingRatio(rig.profile, h);
}

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
