#pragma once
// The two sides of the profile editor's seam. The editor asks its host (the
// main window) through ProfileEditorHost; the host reaches the editor through
// ProfileEditorPort. Neither side knows the other's class.
#include "profile/ProfileDocument.h"
#include "profile/ProfileEditorView.h"

class ProfileEditorHost : public ProfileAcceptedListener {
 public:
  // The spinner changed the layer count: the settings' layer boxes follow.
  virtual void EditorLayerCountChanged(int layerCount) = 0;
  // "地層図" took the grid over: enable, draw the stratum diagram, analyse.
  virtual void EditedProfileApplied() = 0;
  // "ﾌｧｲﾙ保存" took the grid over: write the profile file.
  virtual void SaveProfileFile() = 0;
  // "閉じる".
  virtual void HideEditor() = 0;

 protected:
  ~ProfileEditorHost() override = default;
};

class ProfileEditorPort {
 public:
  virtual void SetEditMode(bool on) = 0;  // check the box, then as its click
  virtual void BtnClearClick() = 0;
  virtual void Button2Click() = 0;  // "地層図"
  virtual void SetButtonEnabled(EditorControl control, bool enabled) = 0;
  virtual void Refresh() = 0;

 protected:
  ~ProfileEditorPort() = default;
};
