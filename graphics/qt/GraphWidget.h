#pragma once
// A picture control: shows the image behind a QtCanvas at the canvas's size
// and reports the mouse over it in picture pixels. Used for the main window's
// chart and stratum picture, the title picture and the settings preview.
#include <QWidget>

class QtCanvas;

class GraphWidget : public QWidget {
  Q_OBJECT

 public:
  explicit GraphWidget(QWidget* parent = nullptr);
  explicit GraphWidget(QtCanvas& canvas, QWidget* parent = nullptr);

  // The picture to show; the widget takes its fixed size from it. The canvas
  // must outlive the widget (or be replaced first).
  void SetCanvas(QtCanvas* canvas);
  QtCanvas* canvas() const { return canvas_; }

  QSize sizeHint() const override;

 signals:
  void MouseMoved(int x, int y);
  void MousePressed(bool rightButton);
  // Left button pressed and released over the picture.
  void Clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QtCanvas* canvas_ = nullptr;
  bool leftPressed_ = false;
};
