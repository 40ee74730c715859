#include "windows/qt/Uinput.h"

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
}

TDataInput::~TDataInput() = default;

void TDataInput::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_) {
    placed_ = true;
    CentreOnScreen(this);
  }
}
