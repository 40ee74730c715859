#include "platform/qt/QtPorts.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>

#include "graphics/qt/QtCanvas.h"

namespace {

// A dialog belongs to the window the user is working in, else to the main
// window.
QWidget* DialogParent(const QPointer<QWidget>& fallback) {
  if (QWidget* active = QApplication::activeWindow()) return active;
  return fallback.data();
}

}  // namespace

QString ToQString(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::string FromQString(const QString& text) { return text.toUtf8().toStdString(); }

MessageResult QtMessagePort::Show(const MessageBox& box) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (box.icon) {
    case MessageIcon::None: icon = QMessageBox::NoIcon; break;
    case MessageIcon::Exclamation: icon = QMessageBox::Warning; break;
    case MessageIcon::Question: icon = QMessageBox::Question; break;
    case MessageIcon::Stop: icon = QMessageBox::Critical; break;
  }
  QMessageBox dialog(icon, ToQString(box.caption), ToQString(box.text), QMessageBox::Ok, DialogParent(parent_));
  // The editor and the settings window stay on top; a box must not hide
  // behind them.
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  if (box.buttons == MessageButtons::OkCancel) {
    dialog.addButton(QMessageBox::Cancel);
    dialog.setEscapeButton(QMessageBox::Cancel);
  }
  dialog.setDefaultButton(QMessageBox::Ok);
  return dialog.exec() == QMessageBox::Ok ? MessageResult::Ok : MessageResult::Cancel;
}

QStringList ToQtNameFilters(const std::string& filterList) {
  const QStringList parts = ToQString(filterList).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& title = parts[i];
    const QString& pattern = parts[i + 1];
    if (title.endsWith(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
      filters << title;
    } else {
      filters << title + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
  }
  return filters;
}

std::optional<FileDialogAnswer> QtFileDialogPort::RunOpenDialog(const FileDialogRequest& request) {
  return Run(request, false);
}

std::optional<FileDialogAnswer> QtFileDialogPort::RunSaveDialog(const FileDialogRequest& request) {
  return Run(request, true);
}

std::optional<FileDialogAnswer> QtFileDialogPort::Run(const FileDialogRequest& request, bool save) {
  // Qt's own dialog: a platform dialog may add a suffix or ask about
  // replacing a file by itself, which the program's rules do.
  QFileDialog dialog(DialogParent(parent_), save ? QStringLiteral("名前を付けて保存") : QStringLiteral("開く"));
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString());
  const QStringList filters = ToQtNameFilters(request.filter);
  dialog.setNameFilters(filters);
  if (!request.initialFolder.empty()) dialog.setDirectory(ToQString(request.initialFolder));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  FileDialogAnswer answer;
  answer.path = FromQString(chosen.first());
  const qsizetype index = filters.indexOf(dialog.selectedNameFilter());
  answer.filterIndex = index >= 0 ? int(index) + 1 : kCsvFilter;
  return answer;
}

void QtClipboardPort::SetPicture(const Canvas& picture) {
  const auto* canvas = dynamic_cast<const QtCanvas*>(&picture);
  if (!canvas) return;
  QGuiApplication::clipboard()->setImage(canvas->image());
}
