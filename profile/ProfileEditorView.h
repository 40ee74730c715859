#pragma once
// The profile editor TProfile as its controller reaches it. The grid's text,
// the site field, the spinner and the file label live in ProfileGrid; the view
// shows them and reports typing back.
#include "profile/ProfileGrid.h"

enum class EditorControl {
  Grid,      // typing into StringGrid1
  UpDown1,   // the layer-count spinner and its field Edit1
  Button4,   // "ﾌｧｲﾙ保存"
  BtnClear,  // "クリア"
  Button2,   // "地層図"
};

class ProfileEditorView {
 public:
  virtual ~ProfileEditorView() = default;
  virtual void SetEnabled(EditorControl control, bool enabled) = 0;
  virtual void SetCBEditChecked(bool checked) = 0;
  // The grid model changed: show every cell, the site, the spinner, Label7.
  virtual void Refresh() = 0;
  // Makes the cell the grid's current one and gives the grid the keyboard,
  // so that the next keys are typed into that cell.
  virtual void StartTypingAt(ProfileGrid::CellPosition cell) = 0;
};
