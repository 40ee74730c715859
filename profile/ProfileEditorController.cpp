#include "profile/ProfileEditorController.h"

ProfileEditorController::ProfileEditorController(ProfileEditorView& view, ProfileDocument& document,
                                                 MessagePort& messages, ProfileEditorHost& host)
    : view_(view), document_(document), messages_(messages), host_(host) {
  // The grid takes typing only in edit mode, also before the box first changes.
  view_.SetCBEditChecked(document_.grid.CBEdit);
  CBEditClick(document_.grid.CBEdit);
}

void ProfileEditorController::CBEditClick(bool checked) {
  document_.grid.CBEdit = checked;
  for (EditorControl control : {EditorControl::Grid, EditorControl::UpDown1, EditorControl::Button2,
                                EditorControl::Button4, EditorControl::BtnClear}) {
    view_.SetEnabled(control, checked);
  }
}

void ProfileEditorController::SetEditMode(bool on) {
  view_.SetCBEditChecked(on);
  CBEditClick(on);
  // A new profile or an edit starts where the first value goes, so that the
  // first keys are not lost on the label cells.
  if (on) view_.StartTypingAt(ProfileGrid::kFirstTypedCell);
}

bool ProfileEditorController::Edit1Exit() {
  const ProfileGrid::Edit1Outcome outcome = document_.grid.ApplyEdit1Text();
  // The field shows the count in effect before any box opens.
  view_.Refresh();
  if (outcome.changed) host_.EditorLayerCountChanged(document_.grid.UpDown1Position());
  if (outcome.refusal) messages_.Show(*outcome.refusal);
  return !outcome.refusal;
}

void ProfileEditorController::UpDown1Click(ProfileGrid::UpDownButton button) {
  if (!Edit1Exit()) return;
  if (document_.grid.UpDown1Click(button)) host_.EditorLayerCountChanged(document_.grid.UpDown1Position());
  view_.Refresh();
}

void ProfileEditorController::StringGrid1ClearCell(ProfileGrid::CellPosition cell) {
  if (document_.grid.ClearTypedCell(cell)) view_.Refresh();
}

void ProfileEditorController::BtnClearClick() {
  document_.grid.BtnClearClick(messages_);
  view_.Refresh();
}

bool ProfileEditorController::StoreProfile() {
  if (!Edit1Exit()) return false;
  const bool stored = document_.grid.StoreProfile(document_.profile, messages_);
  view_.Refresh();
  if (stored) host_.ProfileAccepted();
  return stored;
}

void ProfileEditorController::Button2Click() {
  if (!StoreProfile()) return;
  host_.EditedProfileApplied();
  view_.SetEnabled(EditorControl::Button4, true);
}

void ProfileEditorController::Button4Click() {
  if (!StoreProfile()) return;
  host_.SaveProfileFile();
}

void ProfileEditorController::Button1Click() { host_.HideEditor(); }
