#include "analysis/AnalysisDriver.h"

#include "analysis/LumpedMassModel.h"
#include "platform/Conversion.h"
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

void AnalysisDriver::RefuseUnanalysableInput() const {
  if (const std::optional<std::string> velocity = NonPositiveVelocity(profile_)) {
    throw ReportedFailure(ErrorBox(*velocity, kDataErrorCaption));
  }
  if (NegativeDampingRatio(settings_.dampingText)) {
    throw ReportedFailure(ErrorBox(kNegativeDampingRatio, kDampingErrorCaption));
  }
}

bool NegativeDampingRatio(const std::string& dampingText) {
  try {
    return StrToSingle(dampingText) < 0.0f;
  } catch (const UserActionError&) {
    return false;
  }
}

std::string AnalysisDriver::DampingDescription() const {
  // Any form but hysteretic is viscous, a group with no item chosen included,
  // as the calculators compute it.
  return std::string(settings_.dampingForm != DampingForm::Hysteretic ? "粘性型減衰/減衰比　" : "履歴型減衰/減衰比　") +
         settings_.dampingText;
}

void AnalysisDriver::ReplaceAmplificationSlots() {
  const int points = SampleCount();
  result_.complete = false;
  for (auto& slot : result_.amplification) std::vector<float>().swap(slot);
  for (int m = 0; m < profile_.layerCount; ++m) result_.amplification[m].assign(points, 0.0f);
}

NaturalModes AnalysisDriver::ShowNaturalModes() {
  const NaturalModes modes = SolveNaturalModes(profile_);
  result_.eigenValues = modes.eigenValues;
  windows_.ShowNaturalModes(modes);
  return modes;
}

// Both methods show the natural modes first, as the lumped-mass model is the
// first step of either; only the lumped-mass method computes its response.
// That response raises no fault of its own (see LumpedMassAmplification: a
// value it cannot store is a gap, ω is the transfer matrix method's own, the
// viscous constant is checked by both), so leaving it out of the transfer
// matrix method hides nothing from the user.
void AnalysisDriver::RunTransferMatrix() {
  RefuseOversizedProfile();
  RefuseUnanalysableInput();
  result_.complete = false;
  BuildFrequencySamples();
  windows_.EnableNaturalModes(true);
  const NaturalModes modes = ShowNaturalModes();
  windows_.EnableNaturalModes(false);
  windows_.SetMethodLabel(kTransferMatrixTitle);
  windows_.SetDampingLabel(DampingDescription());
  TransferMatrixAmplification(profile_, settings_, result_, modes, result_.amplification);
  result_.complete = true;
}

void AnalysisDriver::RunLumpedMass() {
  RefuseOversizedProfile();
  RefuseUnanalysableInput();
  result_.complete = false;
  BuildFrequencySamples();
  windows_.EnableNaturalModes(true);
  const NaturalModes modes = ShowNaturalModes();
  windows_.SetDampingLabel(DampingDescription());
  windows_.SetMethodLabel(kLumpedMassTitle);
  LumpedMassAmplification(profile_, settings_, result_, modes, result_.amplification);
  result_.complete = true;
}

void AnalysisDriver::AnalyseTransferMatrix() {
  RunTransferMatrix();
  windows_.DrawAmplificationChart();
}

void AnalysisDriver::AnalyseLumpedMass() {
  RunLumpedMass();
  windows_.DrawAmplificationChart();
}

void AnalysisDriver::BtnAmplitudeClick() {
  RefuseOversizedProfile();
  // Refused before anything changes; the method that computes nothing has
  // nothing to refuse.
  if (settings_.method == AnalysisMethod::TransferMatrix || settings_.method == AnalysisMethod::LumpedMass) {
    RefuseUnanalysableInput();
  }
  // The chart reports an empty choice itself, once, when it is drawn below.
  const bool anyLayer = windows_.CollectDisplayLayers();
  ReplaceAmplificationSlots();

  switch (settings_.method) {
    case AnalysisMethod::TransferMatrix:
      RunTransferMatrix();
      break;
    case AnalysisMethod::LumpedMass:
      RunLumpedMass();
      windows_.EnableNaturalModes(true);
      break;
    case AnalysisMethod::Reflection:
      messages_.Show(ErrorBox(kReflectionNotice, kUnsupportedCaption));
      windows_.EnableNaturalModes(false);
      return;
    default:  // no method chosen: nothing computed
      break;
  }

  // Without a layer to show, the chart keeps what it showed.
  if (anyLayer) windows_.ClearChart();
  windows_.DrawAmplificationChart();
  windows_.EnableAmplificationList();
  windows_.RefreshAmplificationList();
  windows_.ShowSettingsWindow();
}
