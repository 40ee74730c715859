#pragma once
// The platform ports on Qt: modal message boxes, the open and save dialogs,
// the clipboard, and the guard every slot runs through so that an error that
// ends a user action is shown in its box and the program goes on.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <string>
#include <utility>

#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"

QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

// QMessageBox with the box's text, caption, icon and buttons, modal, over the
// active window (or the parent given when no window is active).
class QtMessagePort : public MessagePort {
 public:
  explicit QtMessagePort(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  MessageResult Show(const MessageBox& box) override;

 private:
  QPointer<QWidget> parent_;
};

// "title|pattern|title|pattern" as Qt's "title (pattern);;title (pattern)".
// A title that already ends with its pattern in parentheses is kept as it is.
QStringList ToQtNameFilters(const std::string& filterList);

// QFileDialog, over the active window like the message boxes. The save dialog neither asks about replacing a file nor
// adds a suffix: the program does both by its own rules.
class QtFileDialogPort : public FileDialogPort {
 public:
  explicit QtFileDialogPort(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  std::optional<FileDialogAnswer> RunOpenDialog(const FileDialogRequest& request) override;
  std::optional<FileDialogAnswer> RunSaveDialog(const FileDialogRequest& request) override;

 private:
  std::optional<FileDialogAnswer> Run(const FileDialogRequest& request, bool save);
  QPointer<QWidget> parent_;
};

// Puts the image behind a QtCanvas on the system clipboard. Any other canvas
// has no image to give and leaves the clipboard alone.
class QtClipboardPort : public ClipboardPort {
 public:
  void SetPicture(const Canvas& picture) override;
};

// Runs a slot's action inside the event boundary. Returns true when it ended
// normally.
template <typename Action>
bool Guard(MessagePort& messages, Action&& action) {
  return RunUserAction(messages, std::forward<Action>(action));
}
