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
    // The frame's extents: known once the window manager has framed the
    // note; until then the editor's own stand in for them.
    const QRect ownFrame = frameGeometry().isValid() && frameGeometry() != geometry() ? frameGeometry() : QRect();
    const QRect editorFrame = editor_->frameGeometry();
    const QMargins extents = ownFrame.isValid() ? QMargins(geometry().left() - ownFrame.left(),
                                                           geometry().top() - ownFrame.top(),
                                                           ownFrame.right() - geometry().right(),
                                                           ownFrame.bottom() - geometry().bottom())
                                                : QMargins(editor_->geometry().left() - editorFrame.left(),
                                                           editor_->geometry().top() - editorFrame.top(),
                                                           editorFrame.right() - editor_->geometry().right(),
                                                           editorFrame.bottom() - editor_->geometry().bottom());
    const QRect screen = editor_->screen()->availableGeometry();
    const QRect place = BesideRect(editorFrame, size().grownBy(extents), screen);
    move(place.topLeft());
  } else {
    CentreOnScreen(this);
  }
}
