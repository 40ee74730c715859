#pragma once
// The windows an analysis reaches when there are none (the batch program,
// benchmarks): nothing is shown; only the display flags are asked for.
#include <functional>
#include <string>
#include <utility>

#include "analysis/AnalysisDriver.h"

class HeadlessWindows : public AnalysisWindows {
 public:
  // `collect` answers CollectDisplayLayers; by default every layer counts.
  explicit HeadlessWindows(std::function<bool()> collect = [] { return true; }) : collect_(std::move(collect)) {}

  bool CollectDisplayLayers() override { return collect_(); }
  void SetMethodLabel(const std::string&) override {}
  void SetDampingLabel(const std::string&) override {}
  void EnableNaturalModes(bool) override {}
  void ShowNaturalModes(const NaturalModes&) override {}
  void ClearChart() override {}
  void DrawAmplificationChart() override {}
  void EnableAmplificationList() override {}
  void RefreshAmplificationList() override {}
  void ShowSettingsWindow() override {}

 private:
  std::function<bool()> collect_;
};
