#include "windows/qt/FormSupport.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

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

namespace {

void SetStaysOnTop(QWidget* window, bool onTop) {
  Qt::WindowFlags flags = window->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
  // Not setWindowFlags: that hides a shown window. The window manager is
  // told through the native window alone.
  window->overrideWindowFlags(flags);
  if (QWindow* native = window->windowHandle()) native->setFlags(flags);
}

// Takes the window out of the stay-on-top layer again once the user has
// moved on to another window.
class InFrontUntilLeft : public QObject {
 public:
  explicit InFrontUntilLeft(QWidget* window) : QObject(window) { window->installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::Hide) {
      auto* window = static_cast<QWidget*>(watched);
      window->removeEventFilter(this);
      SetStaysOnTop(window, false);
      deleteLater();
    }
    return false;
  }
};

}  // namespace

void ShowInFront(QWidget* window) {
  const bool activates = !window->testAttribute(Qt::WA_ShowWithoutActivating);
  if (activates && !(window->windowFlags() & Qt::WindowStaysOnTopHint)) {
    SetStaysOnTop(window, true);
    new InFrontUntilLeft(window);
  }
  window->show();
  window->raise();
  if (activates) window->activateWindow();
}

QRect BesideRect(const QRect& owner, const QSize& note, const QRect& screen) {
  const int top = std::clamp(owner.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - note.height()));
  const int left = std::clamp(owner.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - note.width()));
  const QRect candidates[] = {
      {QPoint(owner.right() + 1, top), note},
      {QPoint(owner.left() - note.width(), top), note},
      {QPoint(left, owner.bottom() + 1), note},
      {QPoint(left, owner.top() - note.height()), note},
  };
  for (const QRect& place : candidates) {
    if (screen.contains(place)) return place;
  }
  // No room anywhere: the right side, pressed into the screen.
  QRect place = candidates[0];
  place.moveLeft(std::max(screen.left(), screen.right() + 1 - note.width()));
  return place;
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
