#include "graphics/qt/GraphWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/QtCanvas.h"

GraphWidget::GraphWidget(QWidget* parent) : QWidget(parent) {
  // The chart's cursor read-out follows the mouse without a button held.
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

GraphWidget::GraphWidget(QtCanvas& canvas, QWidget* parent) : GraphWidget(parent) { SetCanvas(&canvas); }

void GraphWidget::SetCanvas(QtCanvas* canvas) {
  canvas_ = canvas;
  if (canvas_) setFixedSize(canvas_->Width(), canvas_->Height());
  update();
}

QSize GraphWidget::sizeHint() const {
  return canvas_ ? QSize(canvas_->Width(), canvas_->Height()) : QWidget::sizeHint();
}

void GraphWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (canvas_) {
    painter.drawImage(event->rect(), canvas_->image(), event->rect());
  } else {
    painter.fillRect(event->rect(), Qt::white);
  }
}

void GraphWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  emit MouseMoved(at.x(), at.y());
}

void GraphWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) leftPressed_ = true;
  emit MousePressed(event->button() == Qt::RightButton);
}

void GraphWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = leftPressed_ && rect().contains(event->position().toPoint());
  leftPressed_ = false;
  if (click) emit Clicked();
}
