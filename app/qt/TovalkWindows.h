#pragma once
// The seven windows of the desktop program and their controllers, created in
// the program's order (TOpen, TProfile, THowTo, TVersion, TDisplay,
// TDataInput, TAmpList) and wired to each other. The entry point and the
// window tests build the program through this one class.
#include <QApplication>

#include <string>

#include "app/qt/Uopen.h"
#include "app/TovalkControllers.h"
#include "profile/qt/Uprofile.h"
#include "windows/qt/Uamplist.h"
#include "windows/qt/Udisplay.h"
#include "windows/qt/Uhowto.h"
#include "windows/qt/Uinput.h"
#include "windows/qt/Uversion.h"

class TovalkWindows {
 public:
  // The main window's start-up folder is the working directory now, unless
  // one is given. The settings window reads tovalk.ini from it.
  TovalkWindows(MessagePort& messages, FileDialogPort& dialogs, ClipboardPort& clipboard,
                const std::string* startDir = nullptr);

  TOpen Open;
  TProfile Profile;
  THowTo HowTo;
  TVersion Version;
  TDisplay Display;
  TDataInput DataInput;
  TAmpList AmpList;

  MainWindowController& main() { return controllers_.main(); }
  ProfileEditorController& editor() { return controllers_.editor(); }
  SettingsController& settings() { return controllers_.settings(); }

 private:
  TovalkControllers controllers_;
};

// The application object of the desktop program: an exception that escapes
// an event handler is shown in the standard error box (caption "地盤増幅特性",
// stop icon, OK) and the message loop goes on.
class TovalkApplication : public QApplication {
 public:
  TovalkApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;

  // The standard error box for a failure that escaped an action.
  static void ShowStandardError(const std::string& text);
};
