#pragma once
// The amplification analysis as a function: from the profile, the settings
// and the previous result to the samples, the amplification table, the
// natural modes and the two captions, with any failure as a value. It shows
// nothing; the main window's controller and the batch program show what it
// returns, each in its own way.
#include <optional>
#include <string>

#include "analysis/AmplificationResult.h"
#include "analysis/AnalysisSettings.h"
#include "analysis/AnalysisTexts.h"
#include "analysis/Calculators.h"
#include "analysis/NaturalModes.h"
#include "platform/Errors.h"
#include "platform/MessageBox.h"
#include "profile/SoilProfile.h"

// An error that ended the analysis, kept with its kind so that it can be
// raised again exactly as the step that met it raised it.
struct AnalysisFailure {
  enum class Kind { Reported, Conversion, Fault };
  Kind kind = Kind::Reported;
  FloatingPointFault::Kind fault = FloatingPointFault::Kind::InvalidOperation;
  MessageBox box;
  bool operator==(const AnalysisFailure&) const = default;
};

AnalysisFailure FailureOf(const UserActionError& error);
// Throws the failure as the ConversionError, FloatingPointFault or
// ReportedFailure it was.
[[noreturn]] void Raise(const AnalysisFailure& failure);

// How far the analysis came, for a caller that shows its steps.
enum class AnalysisReach {
  Refused,   // the profile or the ratio was refused; nothing changed
  Slots,     // the result's slots were replaced; no sample built
  Samples,   // the samples were built
  Modes,     // the natural modes were solved
  Captions,  // the method's captions were set; its amplification began
  Complete,  // the method ran to its end
};

struct AnalysisOutcome {
  AmplificationResult result;  // the previous result, replaced as far as the analysis came
  AnalysisReach reach = AnalysisReach::Refused;
  std::optional<NaturalModes> modes;  // from Modes on
  std::string methodCaption;          // Label4, from Captions on
  std::string dampingCaption;         // Label5, from Captions on
  std::optional<float> dampingRatio;  // the ratio the layers were analysed with, from Samples on
  std::optional<MessageBox> notice;   // the multiple-reflection notice
  std::optional<AnalysisFailure> failure;
};

// The whole analysis for settings.method. The profile is refused (before
// anything changes) with more layers than the arrays hold, an S-wave velocity
// of 0 or below or a negative ratio; a method that computes nothing refuses
// only the first. Then every slot is replaced by pointCount zeros per layer
// and the result marked incomplete; the chosen method builds the samples,
// solves the natural modes and computes its amplification, and only a method
// that ran to its end marks the result complete. The multiple-reflection
// method gives only its notice. A sample count outside 2..400 is a caller's
// mistake and throws std::logic_error.
AnalysisOutcome Analyse(const SoilProfile& profile, const AnalysisSettings& settings,
                        const AmplificationResult& previous);

// One method alone, the samples first, as Analyse runs it after the slots.
AnalysisOutcome AnalyseWith(AnalysisMethod method, const SoilProfile& profile, const AnalysisSettings& settings,
                            const AmplificationResult& previous);

// The sample grid of the settings' horizontal axis into result's first
// pointCount samples (frequency, period and the charted value); returns the
// damping ratio of the settings, converted between the frequencies and the
// periods. Conversion errors and floating-point faults are thrown, a sample
// count outside 2..400 is std::logic_error.
float BuildFrequencySamples(const AnalysisSettings& settings, AmplificationResult& result);

// The profile with every layer's and the base's damping ratio set to h.
SoilProfile WithDampingRatio(SoilProfile profile, float h);

// "履歴型減衰/減衰比　0.05" or "粘性型減衰/減衰比　…", with the ratio as typed.
std::string DampingDescription(const AnalysisSettings& settings);
