#pragma once
// The rules of the profile editor TProfile: edit mode, the layer-count
// spinner, Clear, and its buttons "地層図" and "ﾌｧｲﾙ保存". The grid itself is
// the profile document's ProfileGrid; the rest of the program is its host.
#include "platform/MessageBox.h"
#include "profile/ProfileDocument.h"
#include "profile/ProfileEditorHost.h"
#include "profile/ProfileEditorView.h"

class ProfileEditorController : public ProfileEditorPort {
 public:
  ProfileEditorController(ProfileEditorView& view, ProfileDocument& document, MessagePort& messages,
                          ProfileEditorHost& host);

  ProfileGrid& grid() { return document_.grid; }

  // Edit mode: the check box marked or unmarked (by the user or the main
  // window); the grid, the spinner, "地層図", "ﾌｧｲﾙ保存" and "クリア" follow it.
  void CBEditClick(bool checked);
  void SetEditMode(bool on) override;  // check the box, then as CBEditClick

  // An arrow of the spinner: a count typed into Edit1 is applied first (a
  // refused one ends the click), then the arrow steps from the count.
  void UpDown1Click(ProfileGrid::UpDownButton button);
  // The user is done with Edit1 (Enter or leaving it): the typed count is
  // applied or refused. False when refused.
  bool Edit1Exit();
  // Delete or BackSpace on the grid's selected cell.
  void StringGrid1ClearCell(ProfileGrid::CellPosition cell);
  void BtnClearClick() override;
  void Button2Click() override;  // "地層図": take over, draw, analyse
  void Button4Click();           // "ﾌｧｲﾙ保存"
  void Button1Click();           // "閉じる"

  // Takes the grid over, the count being typed included; on success the
  // host is told.
  bool StoreProfile();

  void SetButtonEnabled(EditorControl control, bool enabled) override { view_.SetEnabled(control, enabled); }
  void Refresh() override { view_.Refresh(); }

 private:
  ProfileEditorView& view_;
  ProfileDocument& document_;
  MessagePort& messages_;
  ProfileEditorHost& host_;
};
