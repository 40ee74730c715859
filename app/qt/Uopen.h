#pragma once
// TOpen, the main window "地盤増幅特性解析システム　TOVALK Ver1.0": shows what
// MainWindowController decides and forwards every event to it through the
// event boundary. It owns the controller and the two pictures it draws on.
#include <QMainWindow>

#include <array>
#include <memory>
#include <string>

#include "app/MainWindowController.h"
#include "app/MainWindowView.h"
#include "platform/qt/QtCanvas.h"
#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtPorts.h"
#include "windows/AmplificationList.h"

class QAction;
class QButtonGroup;
class QCloseEvent;

namespace Ui {
class TOpen;
}

class TOpen : public QMainWindow, public MainWindowView {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 849;
  static constexpr int kClientHeight = 524;

  explicit TOpen(MessagePort& messages, QWidget* parent = nullptr);
  ~TOpen() override;

  // The window and its two pictures as the controller's ports.
  MainWindowPorts Ports(FileDialogPort& dialogs, ClipboardPort& clipboard);
  // The controller the window's events go to, from now on.
  void Attach(MainWindowController& controller) { controller_ = &controller; }
  MainWindowController& controller() { return *controller_; }
  MessagePort& messages() { return messages_; }
  QtCanvas& stratumPicture() { return stratumPicture_; }  // Image2
  QtCanvas& chartPicture() { return chartPicture_; }      // MyGraph1

  // The secondary windows, once created; until then showing one does nothing.
  void SetSecondaryWindow(SecondaryWindow window, QWidget* widget);
  // The amplification list window, which receives the refreshed table.
  void SetAmplificationList(AmplificationListView* list) { listForwarder_.target = list; }

  // Runs a controller handler at the event boundary.
  template <typename Action>
  bool Run(Action&& action);

  // MainWindowView
  void SetEnabled(MainControl control, bool enabled) override;
  void SetLabel(MainLabel label, const std::string& text) override;
  int RadioGroup1Index() const override;
  void SetRadioGroup1Index(int index) override;
  bool MenuChecked(MainMenuMark mark) const override;
  void SetMenuChecked(MainMenuMark mark, bool checked) override;
  bool CBTestChecked() const override;
  bool CheckBox1Checked() const override;
  void ShowMatGrids(bool visible) override;
  void SetMatGrids(const TMatGrid& modes, const TMatGrid& periods) override;
  void PicturesChanged() override;
  void ShowWindow(SecondaryWindow window) override;
  void HideWindow(SecondaryWindow window) override;
  void CloseMainWindow() override;

 signals:
  // The main window was closed: the program ends.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Passes the table on to the list window once it exists.
  struct ListForwarder : AmplificationListView {
    AmplificationListView* target = nullptr;
    void ShowTable(const AmplificationTable& table) override {
      if (target) target->ShowTable(table);
    }
  };

  void ConnectControls();
  template <typename Sender, typename Signal>
  void Forward(Sender* sender, Signal signal, void (MainWindowController::*handler)());
  // Runs a controller handler at the event boundary.
  void Handle(void (MainWindowController::*handler)());
  void ConnectMenu(QAction* action, MainMenuMark mark, void (MainWindowController::*handler)());
  QWidget* Secondary(SecondaryWindow window) const;
  void DrawTitlePicture();

  std::unique_ptr<Ui::TOpen> ui_;
  MessagePort& messages_;
  QtCanvas stratumPicture_;
  QtCanvas chartPicture_;
  QtCanvas titlePicture_;
  ListForwarder listForwarder_;
  QButtonGroup* radioGroup1_ = nullptr;
  // The menu marks as the program set them; a click on a checkable item must
  // not toggle one behind the controller's back.
  std::array<bool, 4> marks_{};
  std::array<QWidget*, 6> secondary_{};
  MainWindowController* controller_ = nullptr;
};

template <typename Action>
bool TOpen::Run(Action&& action) {
  return Guard(messages_, std::forward<Action>(action));
}
