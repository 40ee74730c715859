#pragma once
// TProfile, the profile editor window "地層構成表示/編集": shows the editor's
// grid model and forwards every event to ProfileEditorController. Closing the
// window only hides it.
#include <QWidget>

#include <memory>

#include "platform/MessageBox.h"
#include "profile/ProfileEditorView.h"

class ProfileEditorController;
class QTableWidgetItem;

namespace Ui {
class TProfile;
}

class TProfile : public QWidget, public ProfileEditorView {
  Q_OBJECT

 public:
  explicit TProfile(QWidget* parent = nullptr);
  ~TProfile() override;

  // The controller the events go to, and the port that shows the errors that
  // end an action. Until then the window shows the initial grid and ignores
  // its events.
  void Attach(ProfileEditorController& controller, MessagePort& messages);

  void SetEnabled(EditorControl control, bool enabled) override;
  void SetCBEditChecked(bool checked) override;
  void Refresh() override;
  void StartTypingAt(ProfileGrid::CellPosition cell) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SetUpGrid();
  // Runs a handler at the event boundary and shows the model afterwards.
  template <typename Action>
  void Run(Action&& action);

  void StringGrid1Edited(QTableWidgetItem* item);
  void EdSiteChange(const QString& text);
  void Edit1Change(const QString& text);
  void Edit1Exit();
  void UpDown1Click(bool up);
  void CBEditClick(bool checked);

  std::unique_ptr<Ui::TProfile> ui_;
  ProfileEditorController* controller_ = nullptr;
  MessagePort* messages_ = nullptr;
  bool placed_ = false;
};
