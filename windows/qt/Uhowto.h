#pragma once
// THowTo, the usage window: the title picture, the emblem that closes the
// window, and the usage text in a scrollable area. What is typed into the
// text is never saved.
#include <QWidget>

#include <memory>

#include "windows/HelpTexts.h"

namespace Ui {
class THowTo;
}

class THowTo : public QWidget {
  Q_OBJECT

 public:
  explicit THowTo(QWidget* parent = nullptr);
  ~THowTo() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Image2Click();

  std::unique_ptr<Ui::THowTo> ui_;
  bool placed_ = false;
};
