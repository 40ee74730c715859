#pragma once
// The rules of the settings window TDisplay: loading and saving tovalk.ini,
// the layer boxes, Apply ("設定") with its range checks, and the bold-line box
// kept in agreement with the main window's menu.
#include <array>
#include <string>

#include "analysis/AnalysisSettings.h"
#include "platform/Canvas.h"
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
  bool CollectDisplayLayers() override;

  void Button2Click() override;  // "設定": Apply
  void Button1Click();  // "閉じる"
  void CBBoldClick();   // "太線" changed: the menu marks follow
  // The menu's "細い" / "太い": set the box, then as its click.
  void SetBoldCurves(bool bold) override;

  // Sub-division counts typed into Edit8 / Edit7: a whole number in 0..5 is
  // taken, anything else ignored (the count keeps its last valid value).
  void SetXSubDivisionsText(const std::string& text);
  void SetYSubDivisionsText(const std::string& text);

  // Writes tovalk.ini into the start-up folder; false (and the reason) when
  // it could not be written.
  bool SaveSettings(std::string* error = nullptr) override;

 private:
  SettingsView& view_;
  AnalysisSettings& settings_;
  const std::string& startDir_;
  MessagePort& messages_;
  SettingsHost& host_;
  TMyGraph preview_;
  std::array<bool, kMaxLayers> layerBoxesEnabled_{};
};
