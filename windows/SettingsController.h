#pragma once
// The rules of the settings window TDisplay: loading and saving tovalk.ini,
// the layer boxes, Apply ("設定") with its range checks, and the bold-line box
// kept in agreement with the main window's menu.
#include <array>
#include <optional>
#include <string>

#include "analysis/AnalysisSettings.h"
#include "platform/Canvas.h"
#include "graphics/ChartSettings.h"
#include "graphics/Mygraph.h"
#include "platform/MessageBox.h"
#include "windows/SettingsHost.h"
#include "windows/SettingsView.h"

inline constexpr const char* kSettingsCaption = "地盤増幅特性解析法・書式";

class SettingsController : public SettingsPort {
 public:
  // previewPicture is the preview chart's picture (217 × 209); tovalk.ini is
  // read from and written to startDir, the main window's start-up folder,
  // which outlives this controller.
  SettingsController(SettingsView& view, AnalysisSettings& settings, const std::string& startDir, MessagePort& messages,
                     Canvas& previewPicture, SettingsHost& host);

  // Reads tovalk.ini from the start-up folder, then draws the preview's frame
  // with its design values.
  void FormCreate();

  AnalysisSettings& settings() { return settings_; }
  TMyGraph& preview() { return preview_; }
  const std::array<bool, kMaxLayers>& layerBoxesEnabled() const { return layerBoxesEnabled_; }

  void EnableLayerBoxes(int n) override;

  std::optional<AppliedSettings> Button2Click() override;  // "設定": Apply

  // The controls' changes, each written into the settings at once: a radio
  // item by its index, a typed text, a check box, a layer box (index 0 =
  // layer 1), and a main division spinner stepped from the count within
  // low..high.
  template <typename Choice>
  void ChoiceClicked(Choice AnalysisSettings::*field, int index) {
    settings_.*field = ChoiceOf<Choice>(index);
  }
  void TextEdited(std::string AnalysisSettings::*field, const std::string& text) { settings_.*field = text; }
  void CheckClicked(bool AnalysisSettings::*flag, bool checked) { settings_.*flag = checked; }
  void LayerBoxClicked(int index, bool checked) { settings_.displayLayers.at(static_cast<size_t>(index)) = checked; }
  void DivisionsStepped(int AnalysisSettings::*count, bool up, int low, int high);
  void Button1Click();  // "閉じる"
  void CBBoldClick();   // "太線" changed: the menu marks follow
  // The menu's "細い" / "太い": set the box, then as its click.
  void SetBoldCurves(bool bold) override;

  // Sub-division counts typed into Edit8 (horizontal) and Edit7 (vertical).
  // The text stands in its field and changes nothing until the user is done
  // with the field: Enter or leaving it (Edit8Exit, Edit7Exit), its spinner
  // (UpDown4Click, UpDown3Click), or "設定". Then a whole number from 0 to 5
  // (blanks around it allowed) becomes the count; any other text is refused
  // under "軸目盛り設定エラー" and a blank field without a word, and the field
  // shows the count in effect again. A refusal ends the spinner's or
  // "設定"'s action.
  void SetXSubDivisionsText(const std::string& text);
  void SetYSubDivisionsText(const std::string& text);
  bool Edit8Exit();
  bool Edit7Exit();
  void UpDown4Click(bool up);
  void UpDown3Click(bool up);
  // What Edit8 / Edit7 show: the text being typed, else the count.
  std::string XSubDivisionsText() const;
  std::string YSubDivisionsText() const;

  // Writes tovalk.ini into the start-up folder; false (and the reason) when
  // it could not be written.
  bool SaveSettings(std::string* error = nullptr) override;

 private:
  // A sub-division count and the text being typed over it.
  struct TypedSubDivisions {
    int AnalysisSettings::*count;
    std::optional<std::string> text;
  };
  bool ApplyTyped(TypedSubDivisions& typed);
  // Draws the preview's frame and shows what kept it from being drawn.
  void ShowPreviewFrame();
  void Step(TypedSubDivisions& typed, bool up);
  std::string Shown(const TypedSubDivisions& typed) const;

  SettingsView& view_;
  AnalysisSettings& settings_;
  const std::string& startDir_;
  MessagePort& messages_;
  SettingsHost& host_;
  TMyGraph preview_;
  std::array<bool, kMaxLayers> layerBoxesEnabled_{};
  TypedSubDivisions xSubTyped_{&AnalysisSettings::xSubDivisions, std::nullopt};
  TypedSubDivisions ySubTyped_{&AnalysisSettings::ySubDivisions, std::nullopt};
};
