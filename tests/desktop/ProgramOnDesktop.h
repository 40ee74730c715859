#pragma once
// The program's windows on the test run's X display, shown as at start-up,
// and a hook on the boxes and file dialogs they open.
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../TempFolder.h"
#include "DesktopSession.h"
#include "Settle.h"
#include "app/qt/TovalkWindows.h"
#include "platform/qt/QtPorts.h"

inline const std::string kExamples = std::string(TOVALK_SOURCE_DIR) + "/examples/";

// Calls Opened for every message box and file dialog, once it has been
// shown and the event that showed it is over.
class ModalHook : public QObject {
 public:
  ModalHook() { qApp->installEventFilter(this); }
  ~ModalHook() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && widget && widget->isWindow() &&
        (qobject_cast<QMessageBox*>(widget) || qobject_cast<QFileDialog*>(widget))) {
      QPointer<QWidget> modal(widget);
      QTimer::singleShot(0, this, [this, modal] { Opened(modal); });
    }
    return false;
  }

 protected:
  virtual void Opened(QPointer<QWidget> modal) = 0;
};

// The seven windows with a start-up folder of their own; the main window
// shown and mapped.
class ProgramOnDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_X_SERVER();
    const std::string start = folder.path().string();
    windows = std::make_unique<TovalkWindows>(messages, dialogs, clipboard, &start);
    messages.SetParent(&windows->Open);
    dialogs.SetParent(&windows->Open);
    windows->Open.show();
    ASSERT_TRUE(SettleUntil([&] { return IsViewable(Id(&windows->Open)); }));
  }

  void TearDown() override {
    hook.reset();
    windows.reset();
    QCoreApplication::processEvents();
  }

  template <typename T>
  T* Find(QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(QString::fromUtf8(name));
    if (!widget) ADD_FAILURE() << "no control " << name;
    return widget;
  }

  TempFolder folder;
  QtMessagePort messages;
  QtFileDialogPort dialogs;
  QtClipboardPort clipboard;
  std::unique_ptr<TovalkWindows> windows;
  std::unique_ptr<ModalHook> hook;  // removed before the windows go
};
