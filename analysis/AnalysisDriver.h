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
  int n = 0;                                      // modes (= layers)
  std::array<std::array<float, 20>, 20> shape{};  // shape[p][s]: mass p in mode s, unit length per mode
  std::array<float, 20> period{};                 // T_s, s
  std::array<float, 20> frequency{};              // f_s = 1 / T_s, Hz
};

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

// Texts the analysis shows.
inline constexpr const char* kTransferMatrixTitle = "伝達ﾏﾄﾘｯｸｽ解析";
inline constexpr const char* kLumpedMassTitle = "等価質点系解析";
inline constexpr const char* kReflectionNotice = "重複反射による増幅特性の計算は用意されていません　　　";
inline constexpr const char* kUnsupportedCaption = "解析処理未対応";
// A profile file may declare more layers than the analysis has room for.
inline constexpr const char* kTooManyLayers = "解析できる層数は20層までです";

class AnalysisDriver {
 public:
  AnalysisDriver(SoilProfile& profile, AmplificationResult& result, const AnalysisSettings& settings,
                 AnalysisWindows& windows, MessagePort& messages);

  // The whole action. Conversion errors, floating-point faults and solver
  // failures propagate as UserActionError from the step where they occur;
  // the later steps do not run and the result stays marked incomplete.
  void BtnAmplitudeClick();

  // The method operations and their shared first step.
  void BuildFrequencySamples();
  void AnalyseTransferMatrix();
  void AnalyseLumpedMass();

  // "履歴型減衰/減衰比　0.05" or "粘性型減衰/減衰比　…", with the ratio as typed.
  std::string DampingDescription() const;

 private:
  // Refuses (before anything changes) a profile with more layers than the
  // working arrays hold.
  void RefuseOversizedProfile() const;
  // The sample count N; only 2..400 can be sampled.
  int SampleCount() const;
  // The layer count of a method run; below 1 there is nothing to model and
  // the run stops with the invalid-operation fault the empty model meets.
  int AnalysedLayerCount() const;
  void ReplaceAmplificationSlots();
  // A method called on its own still stores into slots of N entries.
  void EnsureSlots(int layers, int points);

  SoilProfile& profile_;
  AmplificationResult& result_;
  const AnalysisSettings& settings_;
  AnalysisWindows& windows_;
  MessagePort& messages_;
};
