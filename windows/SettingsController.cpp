#include "windows/SettingsController.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "graphics/ChartSettings.h"
#include "platform/Conversion.h"
#include "platform/Errors.h"
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

constexpr int kMinSubDivisions = 0;
constexpr int kMaxSubDivisions = 5;

}  // namespace

SettingsController::SettingsController(SettingsView& view, AnalysisSettings& settings, const std::string& startDir,
                                       MessagePort& messages, Canvas& previewPicture, SettingsHost& host)
    : view_(view),
      settings_(settings),
      startDir_(startDir),
      messages_(messages),
      host_(host),
      preview_(previewPicture) {
  LayOutPreview(preview_);
}

void SettingsController::FormCreate() {
  const std::filesystem::path path = std::filesystem::path(startDir_) / kSettingsFileName;
  if (LoadSettings(path, settings_) == SettingsLoad::Unreadable) {
    messages_.Show(ErrorBox("設定ﾌｧｲﾙ " + path.string() + " を読み出すことができませんでした", kFileErrorCaption));
  }
  view_.Refresh();
  view_.SetLayerBoxesEnabled(layerBoxesEnabled_);
  ShowPreviewFrame();
}

void SettingsController::ShowPreviewFrame() {
  for (const MessageBox& problem : preview_.DrawWaku().problems) messages_.Show(problem);
  view_.PreviewChanged();
}

void SettingsController::EnableLayerBoxes(int n) {
  layerBoxesEnabled_ = ::EnableLayerBoxes(n);
  view_.SetLayerBoxesEnabled(layerBoxesEnabled_);
}

std::optional<AppliedSettings> SettingsController::Button2Click() {
  if (!ApplyTyped(xSubTyped_) || !ApplyTyped(ySubTyped_)) return std::nullopt;
  const AnalysisSettings& s = settings_;
  const SettledSettings settled = SettleAppliedSettings(s);
  if (settled.problem) {
    messages_.Show(*settled.problem);
    return std::nullopt;
  }

  // Settled once: the preview and the main window's chart take the same axes.
  AppliedSettings applied{AxesOf(s, settled.limits), preview_.TitleY, ChosenPointCount(s.pointChoice)};
  SetAxes(preview_, applied.axes, SubDivisions::FromSettings);
  ShowPreviewFrame();
  return applied;
}

void SettingsController::Button1Click() { host_.HideSettings(); }

void SettingsController::DivisionsStepped(int AnalysisSettings::*count, bool up, int low, int high) {
  settings_.*count = std::clamp(settings_.*count + (up ? 1 : -1), low, high);
}

void SettingsController::CBBoldClick() { host_.BoldCurvesChanged(settings_.boldCurves); }

void SettingsController::SetBoldCurves(bool bold) {
  settings_.boldCurves = bold;
  view_.Refresh();
  CBBoldClick();
}

void SettingsController::SetXSubDivisionsText(const std::string& text) { xSubTyped_.text = text; }
void SettingsController::SetYSubDivisionsText(const std::string& text) { ySubTyped_.text = text; }
bool SettingsController::Edit8Exit() { return ApplyTyped(xSubTyped_); }
bool SettingsController::Edit7Exit() { return ApplyTyped(ySubTyped_); }
void SettingsController::UpDown4Click(bool up) { Step(xSubTyped_, up); }
void SettingsController::UpDown3Click(bool up) { Step(ySubTyped_, up); }
std::string SettingsController::XSubDivisionsText() const { return Shown(xSubTyped_); }
std::string SettingsController::YSubDivisionsText() const { return Shown(ySubTyped_); }

bool SettingsController::ApplyTyped(TypedSubDivisions& typed) {
  if (!typed.text) return true;
  const std::string text = std::move(*typed.text);
  typed.text.reset();
  int& count = settings_.*typed.count;
  std::string refusal;
  try {
    const std::optional<int32_t> value = TypedCount(text);
    if (value && (*value < kMinSubDivisions || *value > kMaxSubDivisions)) {
      refusal = "副分割数 " + std::to_string(*value) + " は 0～5 の範囲にありません";
    } else if (value) {
      count = *value;
    }
  } catch (const ConversionError& error) {
    refusal = error.what();
  }
  // The field shows the count in effect before any box opens.
  view_.Refresh();
  if (refusal.empty()) return true;
  messages_.Show(ErrorBox(refusal, kScaleErrorCaption));
  return false;
}

void SettingsController::Step(TypedSubDivisions& typed, bool up) {
  if (!ApplyTyped(typed)) return;
  int& count = settings_.*typed.count;
  count = std::clamp(count + (up ? 1 : -1), kMinSubDivisions, kMaxSubDivisions);
  view_.Refresh();
}

std::string SettingsController::Shown(const TypedSubDivisions& typed) const {
  return typed.text ? *typed.text : std::to_string(settings_.*typed.count);
}

bool SettingsController::SaveSettings(std::string* error) {
  const std::filesystem::path path = std::filesystem::path(startDir_) / kSettingsFileName;
  return ::SaveSettings(path, settings_, error);
}
