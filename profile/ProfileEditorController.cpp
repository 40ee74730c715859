#include "profile/ProfileEditorController.h"

#include "app/MainWindowController.h"
#include "windows/SettingsController.h"

ProfileEditorController::ProfileEditorController(ProfileEditorView& view, Workspace& workspace,
                                                 MessagePort& messages)
    : view_(view), workspace_(workspace), messages_(messages) {
  // The grid takes typing only in edit mode, also before the box first changes.
  view_.SetCBEditChecked(workspace_.grid.CBEdit);
  CBEditClick(workspace_.grid.CBEdit);
}

void ProfileEditorController::Connect(MainWindowController& main, SettingsController& settings) {
  main_ = &main;
  settings_ = &settings;
}

void ProfileEditorController::CBEditClick(bool checked) {
  workspace_.grid.CBEdit = checked;
  for (EditorControl control : {EditorControl::Grid, EditorControl::UpDown1, EditorControl::Button2,
                                EditorControl::Button4, EditorControl::BtnClear}) {
    view_.SetEnabled(control, checked);
  }
}

void ProfileEditorController::SetEditMode(bool on) {
  view_.SetCBEditChecked(on);
  CBEditClick(on);
}

void ProfileEditorController::UpDown1Click(ProfileGrid::UpDownButton button) {
  if (workspace_.grid.UpDown1Click(button)) settings_->EnableLayerBoxes(workspace_.grid.UpDown1Position());
  view_.Refresh();
}

void ProfileEditorController::BtnClearClick() {
  workspace_.grid.BtnClearClick(messages_);
  view_.Refresh();
}

bool ProfileEditorController::StoreProfile() {
  const bool stored = workspace_.grid.StoreProfile(workspace_.profile, messages_);
  view_.Refresh();
  if (stored) main_->EnableAfterProfileAccepted();
  return stored;
}

void ProfileEditorController::Button2Click() {
  if (!StoreProfile()) return;
  main_->EnableAfterEditorApply();
  main_->DrawStratumDiagram();
  main_->BtnAmplitudeClick();
  view_.SetEnabled(EditorControl::Button4, true);
}

void ProfileEditorController::Button4Click() {
  if (!StoreProfile()) return;
  main_->SaveProfileFile();
}

void ProfileEditorController::Button1Click() { main_->view().HideWindow(SecondaryWindow::Profile); }
