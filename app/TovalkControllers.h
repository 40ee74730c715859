#pragma once
// The three controllers of the program's windows with rules of their own
// (main window, profile editor, settings), created in the program's order and
// wired to each other through their host interfaces and ports. The desktop
// program and the tests' fake windows build them through this one class.
#include <string>

#include "app/MainWindowController.h"
#include "profile/ProfileEditorController.h"
#include "profile/ProfileEditorView.h"
#include "platform/Canvas.h"
#include "windows/SettingsController.h"
#include "windows/SettingsView.h"

class TovalkControllers {
 public:
  // previewPicture is the settings window's preview chart (217 × 209). The
  // settings file is not read here: the caller runs settings().FormCreate()
  // where its failure can be shown.
  TovalkControllers(const MainWindowPorts& mainPorts, ProfileEditorView& editorView, SettingsView& settingsView,
                    Canvas& previewPicture, std::string startDir);
  TovalkControllers(const TovalkControllers&) = delete;
  TovalkControllers& operator=(const TovalkControllers&) = delete;

  MainWindowController& main() { return main_; }
  ProfileEditorController& editor() { return editor_; }
  SettingsController& settings() { return settings_; }

 private:
  MainWindowController main_;
  ProfileEditorController editor_;
  SettingsController settings_;
};
