#include "windows/qt/FormSupport.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

void SetFixedFrame(QWidget* window, const char* caption, bool stayOnTop) {
  window->setWindowTitle(QString::fromUtf8(caption));
  Qt::WindowFlags flags = Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (stayOnTop) flags |= Qt::WindowStaysOnTopHint;
  window->setWindowFlags(flags);
}

void CentreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

void SetRadioIndex(QButtonGroup* group, int index) {
  QAbstractButton* chosen = group->button(index);
  if (chosen) {
    chosen->setChecked(true);
    return;
  }
  // An exclusive group cannot uncheck its last checked button.
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(false);
  group->setExclusive(true);
}

void SetTextIfChanged(QLineEdit* field, const QString& text) {
  if (field->text() != text) field->setText(text);
}
