#pragma once
// An up-down spinner as a pair of arrow buttons beside an edit field, so that
// an arrow press and typing into the field reach the program as two different
// events. The spinner keeps no position of its own: the owner decides what an
// arrow press does and what a count typed into the field does once the user
// is done with it, and shows the result in the field.
#include <QWidget>

class QLineEdit;
class QToolButton;

class UpDownButtons : public QWidget {
  Q_OBJECT

 public:
  explicit UpDownButtons(QWidget* parent = nullptr);

  // The field beside the spinner: its Up and Down keys press the arrows, as
  // the spinner's arrow keys do, and BuddyDone tells when the user is done
  // typing into it.
  void SetBuddy(QLineEdit* buddy);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 signals:
  void Clicked(bool up);
  // The user is done with the field: Enter in it, or the focus left it. When
  // a mouse press took the focus away, the signal waits until that click is
  // over, so that a box it leads to does not cut the click in two, and a
  // button clicked has read the field first.
  void BuddyDone();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
  void BuddyFinished();

  QLineEdit* buddy_ = nullptr;
  bool waitingForRelease_ = false;
};
