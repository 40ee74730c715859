#pragma once
// The amplification action: builds the samples, applies the damping, replaces
// the result slots, runs the chosen method's calculators and has the chart
// drawn and the list refreshed once. What it does to the windows goes through
// AnalysisWindows.
#include <array>
#include <string>

#include "analysis/AmplificationResult.h"
#include "analysis/AnalysisTexts.h"
#include "analysis/Calculators.h"
#include "analysis/NaturalModes.h"
#include "platform/MessageBox.h"
#include "profile/SoilProfile.h"
#include "analysis/AnalysisSettings.h"

// The main window and the other windows, as the analysis reaches them.
class AnalysisWindows {
 public:
  virtual ~AnalysisWindows() = default;
  // The settings window copies its layer check marks into the display flags.
  virtual bool CollectDisplayLayers() = 0;
  virtual void SetMethodLabel(const std::string& text) = 0;      // Label4
  virtual void SetDampingLabel(const std::string& text) = 0;     // Label5
  virtual void EnableNaturalModes(bool enabled) = 0;             // CBTest "固有周期/モード"
  virtual void ShowNaturalModes(const NaturalModes& modes) = 0;  // MatGrid1 and MatGrid2
  virtual void ClearChart() = 0;                                 // MyGraph1, white
  virtual void DrawAmplificationChart() = 0;
  virtual void EnableAmplificationList() = 0;  // CheckBox1 "増幅率リスト"
  virtual void RefreshAmplificationList() = 0;
  virtual void ShowSettingsWindow() = 0;  // TDisplay, brought to the front
};

class AnalysisDriver {
 public:
  AnalysisDriver(SoilProfile& profile, AmplificationResult& result, const AnalysisSettings& settings,
                 AnalysisWindows& windows, MessagePort& messages);

  // The whole action. Conversion errors, floating-point faults and solver
  // failures propagate as UserActionError from the step where they occur;
  // the later steps do not run and the result stays marked incomplete.
  void BtnAmplitudeClick();

  // The method operations and their shared first step. Called on their own,
  // a method draws the chart at its end; within the action the chart is
  // drawn once, after the method.
  void BuildFrequencySamples();
  void AnalyseTransferMatrix();
  void AnalyseLumpedMass();

  // "履歴型減衰/減衰比　0.05" or "粘性型減衰/減衰比　…", with the ratio as typed.
  std::string DampingDescription() const;

 private:
  // Refuses (before anything changes) a profile with more layers than the
  // working arrays hold.
  void RefuseOversizedProfile() const;
  // Refuses (before anything changes) an S-wave velocity of 0 or below and
  // a negative damping ratio, which the methods cannot compute or would
  // compute without meaning.
  void RefuseUnanalysableInput() const;
  // The sample count N; only 2..400 can be sampled.
  int SampleCount() const;
  void ReplaceAmplificationSlots();
  // The driver steps around the calculators, without the chart.
  void RunTransferMatrix();
  void RunLumpedMass();
  // The natural modes into the result and the two tables.
  NaturalModes ShowNaturalModes();

  SoilProfile& profile_;
  AmplificationResult& result_;
  const AnalysisSettings& settings_;
  AnalysisWindows& windows_;
  MessagePort& messages_;
};
