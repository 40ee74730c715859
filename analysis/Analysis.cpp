#include "analysis/Analysis.h"

#include <stdexcept>

#include "analysis/LumpedMassModel.h"
#include "platform/Conversion.h"

float BuildSamplesAndRatio(const AnalysisSettings& settings, AmplificationResult& result, std::optional<float>& ratio);

AnalysisFailure FailureOf(const UserActionError& error) {
  AnalysisFailure failure;
  failure.box = error.Box();
  if (const auto* fault = dynamic_cast<const FloatingPointFault*>(&error)) {
    failure.kind = AnalysisFailure::Kind::Fault;
    failure.fault = fault->kind();
  } else if (dynamic_cast<const ConversionError*>(&error)) {
    failure.kind = AnalysisFailure::Kind::Conversion;
  }
  return failure;
}

void Raise(const AnalysisFailure& failure) {
  switch (failure.kind) {
    case AnalysisFailure::Kind::Conversion: throw ConversionError(failure.box.text);
    case AnalysisFailure::Kind::Fault: throw FloatingPointFault(failure.fault);
    case AnalysisFailure::Kind::Reported: break;
  }
  throw ReportedFailure(failure.box);
}

void CheckSampleCount(const AmplificationResult& result) {
  // The settings only ever give 100, 200 or 400; anything else is a caller's
  // mistake, and sample 1 must exist for a frequency axis that starts at 0.
  if (result.pointCount < 2 || result.pointCount > kMaxPoints) throw std::logic_error("pointCount out of range");
}

bool NegativeDampingRatio(const std::string& dampingText) {
  try {
    return StrToSingle(dampingText) < 0.0f;
  } catch (const UserActionError&) {
    return false;
  }
}

SoilProfile WithDampingRatio(SoilProfile profile, float h) {
  for (int r = 0; r <= profile.layerCount; ++r) profile.layers[r].dampingRatio = h;
  return profile;
}

std::string DampingDescription(const AnalysisSettings& settings) {
  // Any form but hysteretic is viscous, a group with no item chosen included,
  // as the calculators compute it.
  return std::string(settings.dampingForm != DampingForm::Hysteretic ? "粘性型減衰/減衰比　" : "履歴型減衰/減衰比　") +
         settings.dampingText;
}

namespace {

// Refuses a profile with more layers than the working arrays hold, an S-wave
// velocity of 0 or below and a negative damping ratio, which the methods
// cannot compute or would compute without meaning.
std::optional<MessageBox> Refusal(const SoilProfile& profile, const AnalysisSettings& settings, bool computes) {
  if (profile.layerCount > kMaxLayers) return ErrorBox(kTooManyLayers, kUnsupportedCaption);
  if (!computes) return std::nullopt;
  if (const std::optional<std::string> velocity = NonPositiveVelocity(profile)) {
    return ErrorBox(*velocity, kDataErrorCaption);
  }
  if (NegativeDampingRatio(settings.dampingText)) return ErrorBox(kNegativeDampingRatio, kDampingErrorCaption);
  return std::nullopt;
}

bool Computes(AnalysisMethod method) {
  return method == AnalysisMethod::TransferMatrix || method == AnalysisMethod::LumpedMass;
}

// Both methods solve the natural modes first, as the lumped-mass model is the
// first step of either; only the lumped-mass method computes its response.
// That response raises no fault of its own (see LumpedMassAmplification: a
// value it cannot store is a gap, ω is the transfer matrix method's own, the
// viscous constant is checked by both), so leaving it out of the transfer
// matrix method hides nothing from the user.
void RunMethod(AnalysisMethod method, const SoilProfile& profile, const AnalysisSettings& settings,
               AnalysisOutcome& o) {
  AmplificationResult& result = o.result;
  result.complete = false;
  const float h = BuildSamplesAndRatio(settings, result, o.dampingRatio);
  o.reach = AnalysisReach::Samples;
  // The calculators read the ratio from the layers; the caller's profile stays as it is.
  const SoilProfile damped = WithDampingRatio(profile, h);
  const NaturalModes& modes = o.modes.emplace(SolveNaturalModes(damped));
  result.eigenValues = modes.eigenValues;
  o.reach = AnalysisReach::Modes;
  const bool transfer = method == AnalysisMethod::TransferMatrix;
  o.methodCaption = transfer ? kTransferMatrixTitle : kLumpedMassTitle;
  o.dampingCaption = DampingDescription(settings);
  o.reach = AnalysisReach::Captions;
  if (transfer) {
    TransferMatrixAmplification(damped, settings, result, modes, result.amplification);
  } else {
    LumpedMassAmplification(damped, settings, result, modes, result.amplification);
  }
  result.complete = true;
  o.reach = AnalysisReach::Complete;
}

void ReplaceSlots(int layerCount, AmplificationResult& result) {
  CheckSampleCount(result);
  result.complete = false;
  for (auto& slot : result.amplification) std::vector<float>().swap(slot);
  for (int m = 0; m < layerCount; ++m) result.amplification[m].assign(result.pointCount, 0.0f);
}

}  // namespace

AnalysisOutcome AnalyseWith(AnalysisMethod method, const SoilProfile& profile, const AnalysisSettings& settings,
                            const AmplificationResult& previous) {
  AnalysisOutcome o;
  o.result = previous;
  if (const std::optional<MessageBox> refused = Refusal(profile, settings, true)) {
    o.failure = AnalysisFailure{AnalysisFailure::Kind::Reported, {}, *refused};
    return o;
  }
  o.reach = AnalysisReach::Slots;
  try {
    RunMethod(method == AnalysisMethod::TransferMatrix ? method : AnalysisMethod::LumpedMass, profile, settings, o);
  } catch (const UserActionError& e) {
    o.failure = FailureOf(e);
  }
  return o;
}

AnalysisOutcome Analyse(const SoilProfile& profile, const AnalysisSettings& settings,
                        const AmplificationResult& previous) {
  AnalysisOutcome o;
  o.result = previous;
  const bool computes = Computes(settings.method);
  if (const std::optional<MessageBox> refused = Refusal(profile, settings, computes)) {
    o.failure = AnalysisFailure{AnalysisFailure::Kind::Reported, {}, *refused};
    return o;
  }
  ReplaceSlots(profile.layerCount, o.result);
  o.reach = AnalysisReach::Slots;
  if (settings.method == AnalysisMethod::Reflection) {
    o.notice = ErrorBox(kReflectionNotice, kUnsupportedCaption);
    return o;
  }
  if (!computes) return o;  // no method chosen: nothing computed
  try {
    RunMethod(settings.method, profile, settings, o);
  } catch (const UserActionError& e) {
    o.failure = FailureOf(e);
  }
  return o;
}
