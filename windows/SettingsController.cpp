#include "windows/SettingsController.h"

#include <charconv>
#include <filesystem>
#include <optional>

#include "graphics/ChartSettings.h"
#include "platform/FixedTexts.h"
#include "windows/SettingsFile.h"
#include "windows/SettingsRules.h"

namespace {

void LayOutPreview(TMyGraph& preview) {
  preview.NGridX = 5;
  preview.WidthX = 160;
  preview.HeightY = 160;
  preview.OriginX = 35;
  preview.OriginY = 180;
  preview.VValueX = 0.2f;
  preview.VValueY = 5.0f;
  preview.TitleX = "周期 [s]";
  preview.TitleY = kAmplificationAxisTitle;
}

// A whole number from 0 to 5 with blanks around it, or nothing.
std::optional<int> SubDivisionCount(const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  size_t end = text.find_last_not_of(' ');
  if (begin == std::string::npos) return std::nullopt;
  int value = -1;
  const char* first = text.data() + begin;
  const char* last = text.data() + end + 1;
  const auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last || value < 0 || value > 5) return std::nullopt;
  return value;
}

}  // namespace

SettingsController::SettingsController(SettingsView& view, AnalysisSettings& settings, const std::string& startDir,
                                       MessagePort& messages, Canvas& previewPicture, SettingsHost& host)
    : view_(view),
      settings_(settings),
      startDir_(startDir),
      messages_(messages),
      host_(host),
      preview_(previewPicture, messages) {
  LayOutPreview(preview_);
}

void SettingsController::FormCreate() {
  const std::filesystem::path path = std::filesystem::path(startDir_) / kSettingsFileName;
  if (LoadSettings(path, settings_) == SettingsLoad::Unreadable) {
    messages_.Show(ErrorBox("設定ﾌｧｲﾙ " + path.string() + " を読み出すことができませんでした", kFileErrorCaption));
  }
  view_.Refresh();
  view_.SetLayerBoxesEnabled(layerBoxesEnabled_);
  preview_.DrawWaku();
  view_.PreviewChanged();
}

void SettingsController::EnableLayerBoxes(int n) {
  layerBoxesEnabled_ = ::EnableLayerBoxes(n);
  view_.SetLayerBoxesEnabled(layerBoxesEnabled_);
}

bool SettingsController::CollectDisplayLayers() {
  return ::CollectDisplayLayers(settings_.displayLayers, host_.ProfileLayerCount(), host_.DisplayFlags());
}

void SettingsController::Button2Click() {
  const AnalysisSettings& s = settings_;
  if (!CheckAppliedSettings(s, messages_)) return;

  ApplySettings(s, &preview_, SubDivisions::FromSettings, nullptr);
  preview_.DrawWaku();
  view_.PreviewChanged();

  TMyGraph& chart = host_.AmplificationChart();
  ApplySettings(s, &chart, SubDivisions::FromSettings, &host_.PointCount());
  chart.TitleY = preview_.TitleY;
  host_.SettingsApplied();
}

void SettingsController::Button1Click() { host_.HideSettings(); }

void SettingsController::CBBoldClick() {
  host_.BoldCurvesChanged(settings_.boldCurves);
}

void SettingsController::SetBoldCurves(bool bold) {
  settings_.boldCurves = bold;
  view_.Refresh();
  CBBoldClick();
}

void SettingsController::SetXSubDivisionsText(const std::string& text) {
  if (const std::optional<int> count = SubDivisionCount(text)) settings_.xSubDivisions = *count;
  view_.Refresh();
}

void SettingsController::SetYSubDivisionsText(const std::string& text) {
  if (const std::optional<int> count = SubDivisionCount(text)) settings_.ySubDivisions = *count;
  view_.Refresh();
}

bool SettingsController::SaveSettings(std::string* error) {
  const std::filesystem::path path = std::filesystem::path(startDir_) / kSettingsFileName;
  return ::SaveSettings(path, settings_, error);
}
