#include "windows/SettingsController.h"

#include <charconv>
#include <filesystem>
#include <optional>

#include "app/MainWindowController.h"
#include "platform/Conversion.h"
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

// Axis values shared by the preview and the main chart.
struct AxisScale {
  int nx, ny, subX, subY;
  float xLower, xStep, yLower, yStep;
  bool linearX, linearY;
  std::string titleX;
};

void ApplyScale(TMyGraph& graph, const AxisScale& scale) {
  graph.NGridX = scale.nx;
  graph.SValueX = scale.xLower;
  graph.VValueX = scale.xStep;
  graph.NGridY = scale.ny;
  graph.SValueY = scale.yLower;
  graph.VValueY = scale.yStep;
  graph.SubX = scale.subX;
  graph.SubY = scale.subY;
  graph.LinearX = scale.linearX;
  graph.LinearY = scale.linearY;
  graph.TitleX = scale.titleX;
}

}  // namespace

SettingsController::SettingsController(SettingsView& view, Workspace& workspace, MessagePort& messages,
                                       Canvas& previewPicture)
    : view_(view),
      workspace_(workspace),
      messages_(messages),
      preview_(previewPicture, messages) {
  LayOutPreview(preview_);
}

void SettingsController::Connect(MainWindowController& main) { main_ = &main; }

void SettingsController::FormCreate() {
  const std::filesystem::path path = std::filesystem::path(workspace_.startDir) / kSettingsFileName;
  if (LoadSettings(path, workspace_.settings) == SettingsLoad::Unreadable) {
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
  return ::CollectDisplayLayers(workspace_.settings.displayLayers, workspace_.profile.layerCount,
                                workspace_.showLayer);
}

void SettingsController::Button2Click() {
  const AnalysisSettings& s = workspace_.settings;
  const float xLower = StrToSingle(s.xLower);
  const float xUpper = StrToSingle(s.xUpper);
  if (!CheckScale(s.xScale, xUpper, xLower, messages_)) return;
  const float yLower = StrToSingle(s.yLower);
  const float yUpper = StrToSingle(s.yUpper);
  if (!CheckScale(s.yScale, yUpper, yLower, messages_)) return;

  const float yStep = ScaleStep(yLower, yUpper, s.yDivisions, s.yScale);
  const float xStep = ScaleStep(xLower, xUpper, s.xDivisions, s.xScale);
  const AxisScale scale{s.xDivisions, s.yDivisions, s.xSubDivisions, s.ySubDivisions,
                        xLower,       xStep,        yLower,          yStep,
                        s.xScale == 0, s.yScale == 0, s.xQuantity != 0 ? kFrequencyAxisTitle : kPeriodAxisTitle};
  ApplyScale(preview_, scale);
  preview_.DrawWaku();
  view_.PreviewChanged();

  TMyGraph& chart = main_->chart();
  ApplyScale(chart, scale);
  chart.TitleY = preview_.TitleY;

  if (const std::optional<int32_t> count = ChosenPointCount(s.pointChoice)) workspace_.result.pointCount = *count;
  main_->BtnAmplitudeClick();
}

void SettingsController::Button1Click() { main_->view().HideWindow(SecondaryWindow::Display); }

void SettingsController::CBBoldClick() {
  const bool bold = workspace_.settings.boldCurves;
  main_->view().SetMenuChecked(MainMenuMark::Thin, !bold);
  main_->view().SetMenuChecked(MainMenuMark::Bold, bold);
}

void SettingsController::SetBoldCurves(bool bold) {
  workspace_.settings.boldCurves = bold;
  view_.Refresh();
  CBBoldClick();
}

void SettingsController::SetXSubDivisionsText(const std::string& text) {
  if (const std::optional<int> count = SubDivisionCount(text)) workspace_.settings.xSubDivisions = *count;
  view_.Refresh();
}

void SettingsController::SetYSubDivisionsText(const std::string& text) {
  if (const std::optional<int> count = SubDivisionCount(text)) workspace_.settings.ySubDivisions = *count;
  view_.Refresh();
}

bool SettingsController::SaveSettings(std::string* error) {
  const std::filesystem::path path = std::filesystem::path(workspace_.startDir) / kSettingsFileName;
  return ::SaveSettings(path, workspace_.settings, error);
}
