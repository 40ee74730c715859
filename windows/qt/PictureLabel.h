#pragma once
// A picture or panel that reports a click of the left button, as the toolkit's
// picture and panel controls do.
#include <QFrame>
#include <QLabel>

class PictureLabel : public QLabel {
  Q_OBJECT

 public:
  explicit PictureLabel(QWidget* parent = nullptr) : QLabel(parent) {}

 signals:
  void Clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

class ClickPanel : public QFrame {
  Q_OBJECT

 public:
  explicit ClickPanel(QWidget* parent = nullptr) : QFrame(parent) {}

 signals:
  void Clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};
