#include "windows/qt/PictureLabel.h"

#include <QMouseEvent>

void PictureLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
    emit Clicked();
    return;
  }
  QLabel::mousePressEvent(event);
}

// Labels on the panel pass their clicks on to it, so a click anywhere on the
// panel arrives here.
void ClickPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    event->accept();
    emit Clicked();
    return;
  }
  QFrame::mousePressEvent(event);
}
