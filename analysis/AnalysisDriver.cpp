#include "analysis/AnalysisDriver.h"

#include "platform/CheckedFloat.h"
#include "platform/Errors.h"

AnalysisDriver::AnalysisDriver(SoilProfile& profile, AmplificationResult& result,
                               const AnalysisSettings& settings, AnalysisWindows& windows,
                               MessagePort& messages)
    : profile_(profile), result_(result), settings_(settings), windows_(windows), messages_(messages) {}

void AnalysisDriver::RefuseOversizedProfile() const {
  if (profile_.layerCount > kMaxLayers) {
    throw ReportedFailure(ErrorBox(kTooManyLayers, kUnsupportedCaption));
  }
}

int AnalysisDriver::AnalysedLayerCount() const {
  RefuseOversizedProfile();
  // Without a profile the model's first record is 0/0. Raise that fault
  // whatever the unused records hold, so no garbage is ever computed.
  if (profile_.layerCount < 1) checked::Raise(FloatingPointFault::Kind::InvalidOperation);
  return profile_.layerCount;
}

std::string AnalysisDriver::DampingDescription() const {
  // Only 1 is viscous; a group with no item chosen computes as hysteretic.
  return std::string(settings_.dampingForm != 0 ? "粘性型減衰/減衰比　" : "履歴型減衰/減衰比　") +
         settings_.dampingText;
}

void AnalysisDriver::ReplaceAmplificationSlots() {
  const int points = SampleCount();
  result_.complete = false;
  for (auto& slot : result_.amplification) std::vector<float>().swap(slot);
  for (int m = 0; m < profile_.layerCount; ++m) result_.amplification[m].assign(points, 0.0f);
}

void AnalysisDriver::EnsureSlots(int layers, int points) {
  for (int m = 0; m < layers; ++m) {
    if (static_cast<int>(result_.amplification[m].size()) != points) {
      result_.amplification[m].assign(points, 0.0f);
    }
  }
}

void AnalysisDriver::BtnAmplitudeClick() {
  RefuseOversizedProfile();
  windows_.CollectDisplayLayers();  // the chart reports an empty choice itself
  ReplaceAmplificationSlots();

  switch (settings_.method) {
    case 0:
      // The lumped-mass run fills the natural-period tables and the
      // eigenvalues that viscous damping needs.
      AnalyseLumpedMass();
      AnalyseTransferMatrix();
      break;
    case 1:
      AnalyseLumpedMass();
      windows_.EnableNaturalModes(true);
      break;
    case 2:
      messages_.Show(ErrorBox(kReflectionNotice, kUnsupportedCaption));
      windows_.EnableNaturalModes(false);
      return;
    default:
      break;
  }

  windows_.ClearChart();
  windows_.DrawAmplificationChart();
  windows_.EnableAmplificationList();
  windows_.RefreshAmplificationList();
  windows_.ShowSettingsWindow();
}
