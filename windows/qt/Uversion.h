#pragma once
// TVersion, the version window: the title picture and, on a sunken panel, the
// emblem, "TOVALK Ver1.0" and the date. A click anywhere on the panel closes
// the window.
#include <QWidget>

#include <memory>

#include "windows/HelpTexts.h"

namespace Ui {
class TVersion;
}

class TVersion : public QWidget {
  Q_OBJECT

 public:
  explicit TVersion(QWidget* parent = nullptr);
  ~TVersion() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Panel1Click();
  void Image2Click();

  std::unique_ptr<Ui::TVersion> ui_;
  bool placed_ = false;
};
