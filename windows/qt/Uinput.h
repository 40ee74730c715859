#pragma once
// TDataInput, the instruction note shown beside the editor for a new profile.
// It stays on top and is closed only by its own close box.
#include <QWidget>

#include <memory>

#include "windows/HelpTexts.h"

namespace Ui {
class TDataInput;
}

class TDataInput : public QWidget {
  Q_OBJECT

 public:
  explicit TDataInput(QWidget* parent = nullptr);
  ~TDataInput() override;

  // The editor the note is shown with: it opens beside it, covering none of
  // it, and leaves the editor the focus.
  void ShowBeside(QWidget* editor) { editor_ = editor; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TDataInput> ui_;
  QWidget* editor_ = nullptr;
};
