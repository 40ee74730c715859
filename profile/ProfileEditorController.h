#pragma once
// The rules of the profile editor TProfile: edit mode, the layer-count
// spinner, Clear, and its buttons "地層図" and "ﾌｧｲﾙ保存". The grid itself is
// the workspace's ProfileGrid.
#include "app/Workspace.h"
#include "platform/MessageBox.h"
#include "profile/ProfileEditorView.h"

class MainWindowController;
class SettingsController;

class ProfileEditorController {
 public:
  ProfileEditorController(ProfileEditorView& view, Workspace& workspace, MessagePort& messages);
  void Connect(MainWindowController& main, SettingsController& settings);

  ProfileGrid& grid() { return workspace_.grid; }

  // Edit mode: the check box marked or unmarked (by the user or the main
  // window); the grid, the spinner, "地層図", "ﾌｧｲﾙ保存" and "クリア" follow it.
  void CBEditClick(bool checked);
  void SetEditMode(bool on);  // check the box, then as CBEditClick

  void UpDown1Click(ProfileGrid::UpDownButton button);
  void BtnClearClick();
  void Button2Click();  // "地層図": take over, draw, analyse
  void Button4Click();  // "ﾌｧｲﾙ保存"
  void Button1Click();  // "閉じる"

  // Takes the grid over; on success the main window's "地層図" is enabled.
  bool StoreProfile();

  void SetButtonEnabled(EditorControl control, bool enabled) { view_.SetEnabled(control, enabled); }
  void Refresh() { view_.Refresh(); }

 private:
  ProfileEditorView& view_;
  Workspace& workspace_;
  MessagePort& messages_;
  MainWindowController* main_ = nullptr;
  SettingsController* settings_ = nullptr;
};
