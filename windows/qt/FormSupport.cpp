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

// Puts an active window at the top of the stay-on-top layer. The state is
// sent again even where the native window believes it has it: a window
// manager forgets the state of a window that was unmapped and mapped again
// quickly. A change of layer does not restack, so the raise follows it.
void RaiseAboveStayOnTop(QWidget* window) {
  QWindow* native = window->windowHandle();
  if (native && (native->flags() & Qt::WindowStaysOnTopHint))
    native->setFlags(native->flags() & ~Qt::WindowStaysOnTopHint);
  SetStaysOnTop(window, true);
  window->raise();
}

// Keeps a window the user asked for above the stay-on-top windows while it
// is the active window, and takes it out of that layer when another window
// becomes active or it is hidden. It follows the activation state rather
// than reacting to single events: after a hide and a quick new request, the
// old request's activation and deactivation still arrive, late; only the
// last event tells where the window manager has left the focus.
class InFrontWhileActive : public QObject {
 public:
  explicit InFrontWhileActive(QWidget* window) : QObject(window) {
    setObjectName(QStringLiteral("InFrontWhileActive"));
    window->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = static_cast<QWidget*>(watched);
    switch (event->type()) {
      case QEvent::WindowActivate:
        if (window->isVisible()) RaiseAboveStayOnTop(window);
        break;
      case QEvent::WindowDeactivate:
      case QEvent::Hide:
        if (window->windowFlags() & Qt::WindowStaysOnTopHint) SetStaysOnTop(window, false);
        break;
      default: break;
    }
    return false;
  }
};

}  // namespace

void ShowInFront(QWidget* window) {
  const bool activates = !window->testAttribute(Qt::WA_ShowWithoutActivating);
  const bool guarded = window->findChild<InFrontWhileActive*>(QStringLiteral("InFrontWhileActive"),
                                                              Qt::FindDirectChildrenOnly) != nullptr;
  if (activates && (guarded || !(window->windowFlags() & Qt::WindowStaysOnTopHint))) {
    if (!guarded) new InFrontWhileActive(window);
    if (!(window->windowFlags() & Qt::WindowStaysOnTopHint)) SetStaysOnTop(window, true);
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

QMargins FrameExtents(const QWidget* window, const QWidget* framed) {
  const QWidget* measured = window->frameGeometry() != window->geometry() ? window : framed;
  const QRect frame = measured->frameGeometry();
  const QRect client = measured->geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

bool PlaceBesideIfRoom(QWidget* window, const QWidget* owner) {
  if (!owner->isVisible() || !owner->screen()) return false;
  const QRect ownerFrame = owner->frameGeometry();
  const QRect place =
      BesideRect(ownerFrame, window->size().grownBy(FrameExtents(window, owner)), owner->screen()->availableGeometry());
  if (place.intersects(ownerFrame)) return false;
  window->move(place.topLeft());
  return true;
}

void MakeRoomBeside(QWidget* window, const QSize& companion) {
  const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect room = screen->availableGeometry();
  // The frames are not known before the window manager has drawn them: an
  // allowance for the borders of both.
  constexpr int kFrames = 2 * 16;
  const int pair = window->width() + companion.width() + kFrames;
  if (pair > room.width()) return;
  const int left = room.left() + (room.width() - pair) / 2;
  if (left < window->x()) window->move(left, window->y());
}

void TieToOwner(QWidget* window, QWidget* owner) {
  // Only a dialog's native window names its owner to the window manager.
  window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
  // The native windows are made now, so that the tie is there before either
  // is first mapped.
  owner->winId();
  window->winId();
  if (window->windowHandle() && owner->windowHandle())
    window->windowHandle()->setTransientParent(owner->windowHandle());
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
