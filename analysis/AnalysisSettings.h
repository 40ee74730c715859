#pragma once
// Every choice that governs an analysis and the look of the amplification
// chart: the state of the settings window's controls. Texts stay as typed and
// are converted by each consumer when it runs.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "analysis/AmplificationResult.h"
#include "profile/SoilProfile.h"

// The choices of the settings window's radio groups. Each value is the
// item's index as the settings file stores it; None (-1) is a group with no
// item chosen, which the file and the window can both leave. The int
// underneath keeps any other index representable; the rule at each type says
// what such an index means.

// Any other index computes nothing.
enum class AnalysisMethod : int { None = -1, TransferMatrix = 0, LumpedMass = 1, Reflection = 2 };
// Any form but Hysteretic is viscous.
enum class DampingForm : int { None = -1, Hysteretic = 0, Viscous = 1 };
// Any quantity but Period is frequency.
enum class XQuantity : int { None = -1, Period = 0, Frequency = 1 };
// Any scale but Linear is logarithmic.
enum class ScaleKind : int { None = -1, Linear = 0, Logarithmic = 1 };
// The index into kPointCounts; any other index keeps the count.
enum class PointChoice : int { None = -1, Points100 = 0, Points200 = 1, Points400 = 2 };

// The stored index of a choice, and the choice of a stored index, at the
// settings file and at the window's radio groups.
template <typename Choice>
constexpr int ChoiceIndex(Choice choice) {
  return static_cast<int>(choice);
}
template <typename Choice>
constexpr Choice ChoiceOf(int index) {
  return static_cast<Choice>(index);
}

struct AnalysisSettings {
  AnalysisMethod method = AnalysisMethod::TransferMatrix;
  DampingForm dampingForm = DampingForm::Hysteretic;
  std::string dampingText = "0.05";

  std::string xLower = "0";
  std::string xUpper = "5";
  int xDivisions = 5;     // 1..10
  int xSubDivisions = 5;  // 0..5
  XQuantity xQuantity = XQuantity::Period;
  ScaleKind xScale = ScaleKind::Linear;

  std::string yLower = "0";
  std::string yUpper = "20";
  int yDivisions = 4;
  int ySubDivisions = 5;
  ScaleKind yScale = ScaleKind::Linear;

  PointChoice pointChoice = PointChoice::Points200;

  std::array<bool, kMaxLayers> displayLayers{true};  // layer 1 only
  bool showProfile = true;
  bool profileLeft = false;
  bool showLayerLegend = true;
  bool legendLeft = false;
  bool boldCurves = true;
  bool showMethod = true;

  bool operator==(const AnalysisSettings&) const = default;
};

// The sample count a point choice selects; nothing for no item chosen (or an
// index beyond the items), which keeps the count as it is.
inline std::optional<int32_t> ChosenPointCount(PointChoice choice) {
  const int index = ChoiceIndex(choice);
  if (index < 0 || index >= static_cast<int>(kPointCounts.size())) return std::nullopt;
  return kPointCounts[static_cast<size_t>(index)];
}

// True when the damping text is a number below 0, which no analysis takes. A
// text that is not a number is false here: the consumer that converts it
// reports it in its own way.
bool NegativeDampingRatio(const std::string& dampingText);
