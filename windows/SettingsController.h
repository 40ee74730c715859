#pragma once
// The rules of the settings window TDisplay: loading and saving tovalk.ini,
// the layer boxes, Apply ("設定") with its range checks, and the bold-line box
// kept in agreement with the main window's menu.
#include <array>
#include <string>

#include "app/Workspace.h"
#include "platform/Canvas.h"
#include "graphics/Mygraph.h"
#include "platform/MessageBox.h"
#include "windows/SettingsView.h"

class MainWindowController;

inline constexpr const char* kSettingsCaption = "地盤増幅特性解析法・書式";

class SettingsController {
 public:
  // previewPicture is the preview chart's picture (217 × 209).
  SettingsController(SettingsView& view, Workspace& workspace, MessagePort& messages, Canvas& previewPicture);
  void Connect(MainWindowController& main);

  // Reads tovalk.ini from the start-up folder, then draws the preview's frame
  // with its design values.
  void FormCreate();

  AnalysisSettings& settings() { return workspace_.settings; }
  TMyGraph& preview() { return preview_; }
  const std::array<bool, kMaxLayers>& layerBoxesEnabled() const { return layerBoxesEnabled_; }

  void EnableLayerBoxes(int n);
  bool CollectDisplayLayers();

  void Button2Click();  // "設定": Apply
  void Button1Click();  // "閉じる"
  void CBBoldClick();   // "太線" changed: the menu marks follow
  // The menu's "細い" / "太い": set the box, then as its click.
  void SetBoldCurves(bool bold);

  // Sub-division counts typed into Edit8 / Edit7: a whole number in 0..5 is
  // taken, anything else ignored (the count keeps its last valid value).
  void SetXSubDivisionsText(const std::string& text);
  void SetYSubDivisionsText(const std::string& text);

  // Writes tovalk.ini into the start-up folder; false (and the reason) when
  // it could not be written.
  bool SaveSettings(std::string* error = nullptr);

 private:
  SettingsView& view_;
  Workspace& workspace_;
  MessagePort& messages_;
  TMyGraph preview_;
  std::array<bool, kMaxLayers> layerBoxesEnabled_{};
  MainWindowController* main_ = nullptr;
};
