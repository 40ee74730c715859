#pragma once
// The amplification action: builds the samples, applies the damping, replaces
// the result slots, runs the chosen method and has the chart drawn and the list
// refreshed. What it does to the windows goes through AnalysisWindows.
#include <array>
#include <string>

#include "analysis/AmplificationResult.h"
#include "platform/MessageBox.h"
#include "profile/SoilProfile.h"
#include "windows/AnalysisSettings.h"

// Natural periods and mode shapes of the lumped-mass model, as the two tables
// of the main window show them.
struct NaturalModes {
  int n = 0;                                     // modes (= layers)
  std::array<std::array<float, 20>, 20> shape{};  // shape[p][s]: mass p in mode s, unit length per mode
  std::array<float, 20> period{};                // T_s, s
  std::array<float, 20> frequency{};             // f_s = 1 / T_s, Hz
};

// The main window and the other windows, as the analysis reaches them.
class AnalysisWindows {
 public:
  virtual ~AnalysisWindows() = default;
  // The settings window copies its layer check marks into the display flags.
  virtual bool CollectDisplayLayers() = 0;
  virtual void SetMethodLabel(const std::string& text) = 0;   // Label4
  virtual void SetDampingLabel(const std::string& text) = 0;  // Label5
  virtual void EnableNaturalModes(bool enabled) = 0;          // CBTest "固有周期/モード"
  virtual void ShowNaturalModes(const NaturalModes& modes) = 0;  // MatGrid1 and MatGrid2
  virtual void ClearChart() = 0;                              // MyGraph1, white
  virtual void DrawAmplificationChart() = 0;
  virtual void EnableAmplificationList() = 0;                 // CheckBox1 "増幅率リスト"
  virtual void RefreshAmplificationList() = 0;
  virtual void ShowSettingsWindow() = 0;                      // TDisplay, brought to the front
};

class AnalysisDriver {
 public:
  AnalysisDriver(SoilProfile& profile, AmplificationResult& result, const AnalysisSettings& settings,
                 AnalysisWindows& windows, MessagePort& messages);

  // The whole action. Conversion errors, floating-point faults and solver
  // failures propagate as UserActionError after the step where they occur;
  // the later steps do not run.
  void BtnAmplitudeClick();

  // The method operations and their shared first step.
  void BuildFrequencySamples();
  void AnalyseTransferMatrix();
  void AnalyseLumpedMass();

 private:
  SoilProfile& profile_;
  AmplificationResult& result_;
  const AnalysisSettings& settings_;
  AnalysisWindows& windows_;
  MessagePort& messages_;
};
