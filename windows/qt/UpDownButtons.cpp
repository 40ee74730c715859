#include "windows/qt/UpDownButtons.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

UpDownButtons::UpDownButtons(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  up_->setObjectName("up");
  down_->setObjectName("down");
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up_, down_}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
  }
  connect(up_, &QToolButton::clicked, this, [this] { emit Clicked(true); });
  connect(down_, &QToolButton::clicked, this, [this] { emit Clicked(false); });
  resize(16, 21);
}

void UpDownButtons::SetBuddy(QLineEdit* buddy) {
  if (buddy_) {
    buddy_->removeEventFilter(this);
    disconnect(buddy_, nullptr, this, nullptr);
  }
  buddy_ = buddy;
  if (buddy_) {
    buddy_->installEventFilter(this);
    connect(buddy_, &QLineEdit::editingFinished, this, &UpDownButtons::BuddyFinished);
  }
}

void UpDownButtons::BuddyFinished() {
  if (QGuiApplication::mouseButtons() == Qt::NoButton) {
    emit BuddyDone();
    return;
  }
  if (waitingForRelease_) return;
  waitingForRelease_ = true;
  qApp->installEventFilter(this);
}

bool UpDownButtons::eventFilter(QObject* watched, QEvent* event) {
  if (waitingForRelease_ && event->type() == QEvent::MouseButtonRelease) {
    waitingForRelease_ = false;
    qApp->removeEventFilter(this);
    // After the release has done its work (a button's click above all).
    QTimer::singleShot(0, this, &UpDownButtons::BuddyDone);
  }
  if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      emit Clicked(key == Qt::Key_Up);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void UpDownButtons::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}
