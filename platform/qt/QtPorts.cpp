#include "platform/qt/QtPorts.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QMessageBox>
#include <QTimer>

#include "platform/qt/QtCanvas.h"

#include <algorithm>

namespace {

// A box or dialog stands in front of all of the program's windows, the
// stay-on-top editor and settings window included, and takes the focus.
// Without an owner window it is a transient of the whole program, which the
// window manager stacks above every one of its windows; made a transient of
// one window it would share that window's layer and could open below a
// stay-on-top one. It still opens over the window the user works in.
void PlaceInFront(QWidget& dialog, const QPointer<QWidget>& fallback) {
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  dialog.setWindowModality(Qt::ApplicationModal);
  QWidget* over = QApplication::activeWindow();
  if (!over || !over->isVisible()) over = fallback.data();
  if (over && over->isVisible()) {
    dialog.adjustSize();
    QRect frame(QPoint(0, 0), dialog.size());
    frame.moveCenter(over->frameGeometry().center());
    dialog.move(frame.topLeft());
  }
}

// Qt wraps a box's text at half the screen's width, and Japanese may break
// between any two characters, so a line a little too long was cut inside a
// word. The box takes the width of its longest line instead, as far as the
// screen allows.
void FitTextToItsLines(QMessageBox& box) {
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (!label) return;
  int widest = 0;
  for (const QString& line : label->text().split(QLatin1Char('\n')))
    widest = std::max(widest, label->fontMetrics().horizontalAdvance(line) + 2);
  const QScreen* screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
  const int room = screen ? screen->availableGeometry().width() * 3 / 4 : widest;
  label->setMinimumWidth(std::min(widest, room));
}

// Once shown, the dialog asks for the front and the focus itself.
void TakeFront(QWidget& dialog) {
  QTimer::singleShot(0, &dialog, [&dialog] {
    dialog.raise();
    dialog.activateWindow();
  });
}

// The dialog's list in Japanese whatever the system's locale: Qt's file
// model takes sizes and dates from the system locale and names folders by a
// text its Japanese translation lacks.
class JapaneseFileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || index.column() == 0) return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const QFileInfo info = files->fileInfo(source);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    switch (index.column()) {
      case 1:
        return info.isDir() ? QString()
                            : japanese.formattedDataSize(info.size(), 1, QLocale::DataSizeTraditionalFormat);
      case 2: return info.isDir() ? QStringLiteral("フォルダー") : QIdentityProxyModel::data(index, role);
      case 3: return japanese.toString(info.lastModified(), QStringLiteral("yyyy/MM/dd HH:mm"));
      default: return QIdentityProxyModel::data(index, role);
    }
  }
};

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
  QMessageBox dialog(icon, ToQString(box.caption), ToQString(box.text), QMessageBox::Ok);
  if (box.buttons == MessageButtons::OkCancel) {
    dialog.addButton(QMessageBox::Cancel);
    dialog.setEscapeButton(QMessageBox::Cancel);
  }
  dialog.setDefaultButton(QMessageBox::Ok);
  FitTextToItsLines(dialog);
  PlaceInFront(dialog, parent_);
  TakeFront(dialog);
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
  QFileDialog dialog(nullptr, save ? QStringLiteral("名前を付けて保存") : QStringLiteral("開く"));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // The open dialog too takes any name: the program adds ".csv" by its rule
  // and reports a missing file in its own words.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString());
  const QStringList filters = ToQtNameFilters(request.filter);
  dialog.setNameFilters(filters);
  dialog.setProxyModel(new JapaneseFileColumns(&dialog));
  // Type and date whole; the name takes the room that is left.
  if (auto* details = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    details->header()->setStretchLastSection(false);
    details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  }
  if (!request.initialFolder.empty()) dialog.setDirectory(ToQString(request.initialFolder));
  PlaceInFront(dialog, parent_);
  TakeFront(dialog);
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
