#include "windows/qt/Uinput.h"

#include <QScreen>
#include <QStringList>
#include <QVBoxLayout>

#include "ui_Uinput.h"
#include "windows/qt/FormSupport.h"

TDataInput::TDataInput(QWidget* parent) : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::TDataInput>()) {
  ui_->setupUi(this);
  setWindowTitle(QString::fromUtf8(kDataInputCaption));
  setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  // The note's text fills the window at any size.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ui_->Memo1);
  QStringList lines;
  for (const char* line : kDataInputLines) lines << QString::fromUtf8(line);
  ui_->Memo1->setPlainText(lines.join('\n'));
  // The user types into the editor, not into the note.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  ui_->Memo1->setFocusPolicy(Qt::NoFocus);
}

TDataInput::~TDataInput() = default;

void TDataInput::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (editor_ && editor_->isVisible()) {
    const QRect screen = editor_->screen()->availableGeometry();
    const QRect place = BesideRect(editor_->frameGeometry(), size().grownBy(FrameExtents(this, editor_)), screen);
    move(place.topLeft());
  } else {
    CentreOnScreen(this);
  }
}
