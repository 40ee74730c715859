#include "app/qt/TovalkWindows.h"

#include <clocale>
#include <exception>

#include "app/MainWindowController.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtPorts.h"
#include "windows/qt/FormSupport.h"

TovalkWindows::TovalkWindows(MessagePort& messages, FileDialogPort& dialogs, ClipboardPort& clipboard,
                             const std::string* startDir)
    : Open(messages),
      controllers_(Open.Ports(dialogs, clipboard), Profile, Display, Display.PreviewCanvas(),
                   startDir ? *startDir : CurrentDirectory()) {
  Open.Attach(controllers_.main());
  Profile.Attach(controllers_.editor(), messages);
  Display.Attach(controllers_.settings(), messages);
  // The settings window's "設定" is the main window's action.
  QObject::connect(&Display, &TDisplay::ApplyClicked, &Open,
                   [this] { Open.Run([this] { controllers_.main().SettingsButton2Click(); }); });

  Open.SetSecondaryWindow(SecondaryWindow::Profile, &Profile);
  Open.SetSecondaryWindow(SecondaryWindow::HowTo, &HowTo);
  Open.SetSecondaryWindow(SecondaryWindow::Version, &Version);
  Open.SetSecondaryWindow(SecondaryWindow::Display, &Display);
  Open.SetSecondaryWindow(SecondaryWindow::DataInput, &DataInput);
  Open.SetSecondaryWindow(SecondaryWindow::AmpList, &AmpList);
  Open.SetAmplificationList(&AmpList);
  DataInput.ShowBeside(&Profile);
  Display.ShowBeside(&Open);
  // Minimised and restored with the main window, and never under it; the
  // note is kept above the editor it explains.
  for (QWidget* window :
       {(QWidget*)&Profile, (QWidget*)&HowTo, (QWidget*)&Version, (QWidget*)&Display, (QWidget*)&AmpList})
    TieToOwner(window, &Open);
  TieToOwner(&DataInput, &Profile);
  MakeRoomBeside(&Open, Display.size());

  // The settings window's creation step: tovalk.ini from the start-up folder.
  Open.Run([this] { controllers_.settings().FormCreate(); });
  Display.Refresh();
}

TovalkApplication::TovalkApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // Qt takes the locale from the environment; numbers are written and read
  // with a period in every locale, so printf and the conversions must not
  // follow it.
  std::setlocale(LC_NUMERIC, "C");
}

bool TovalkApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const UserActionError& error) {
    QtMessagePort().Show(error.Box());
  } catch (const std::exception& error) {
    ShowStandardError(error.what());
  } catch (...) {
    ShowStandardError("予期しないエラーが発生しました");
  }
  return false;
}

void TovalkApplication::ShowStandardError(const std::string& text) {
  QtMessagePort().Show({text, kApplicationTitle, MessageIcon::Stop, MessageButtons::Ok});
}
